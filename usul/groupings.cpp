#include "usul/groupings.h"

namespace zerkavi {

namespace {

std::u32string_view withoutPadding(std::u32string_view name) {
    while (!name.empty() && (name.back() == U'\0' || name.back() == U' '))
        name.remove_suffix(1);
    return name;
}

} // namespace

std::vector<int> knownGrouping(const UsulRecord& usul) {
    const std::u32string_view name = withoutPadding(usul.name);
    for (const KnownGrouping& g : builtInGroupings())
        if (g.zaman == usul.numerator && g.name == name) return {g.parts.begin(), g.parts.end()};
    return {};
}

} // namespace zerkavi
