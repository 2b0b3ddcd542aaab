#include "plans/plan_store.h"

#include "common/messages.h"
#include "common/text_codec.h"
#include "plans/plan_format.h"

#include <vector>

namespace zerkavi {

Message planNameRefusal(std::u32string_view planName) {
    const std::u32string folded = foldPlanName(planName);
    if (folded == U"." || folded == U"..") return Message::planFileName;
    for (char32_t c : folded)
        if (c == U'/' || c == U'\\' || c == U':' || c < 0x20 || c == 0x7f ||
            (c >= 0x80 && c < 0xa0))
            return Message::planFileName;
    if (toUtf8(planFileName(planName)).size() > kMaxFileNameBytes) return Message::planFileName;
    return Message::none;
}

std::string planFileBytes(std::u32string_view normalisedText) {
    std::string bytes;
    bytes.reserve(normalisedText.size() + 2);
    for (char32_t c : normalisedText)
        bytes += char(charToCp1254(c));
    bytes += "\r\n";
    return bytes;
}

std::u32string planTextFromBytes(std::string_view bytes) {
    std::vector<std::u32string> lines;
    std::u32string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char32_t c = cp1254ToChar(std::uint8_t(bytes[i]));
        if (c == U'\r' || c == U'\n') {
            lines.push_back(line);
            line.clear();
            if (c == U'\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    std::u32string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) joined += U"\r\n";
        joined += lines[i];
    }
    return joined;
}

} // namespace zerkavi
