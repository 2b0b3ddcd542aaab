#include "window/guides.h"

#include <cstdint>
#include <fstream>
#include <span>

namespace zerkavi {

namespace embedded {
std::span<const std::uint8_t> guideEnglish();
std::span<const std::uint8_t> guideTurkish();
} // namespace embedded

namespace fs = std::filesystem;

const char* guideFileName(Language language) {
    return language == Language::English ? kEnglishGuideName : kTurkishGuideName;
}

void placeGuidesIfMissing(const fs::path& programFolder) {
    const struct {
        const char* name;
        std::span<const std::uint8_t> text;
    } guides[] = {{kEnglishGuideName, embedded::guideEnglish()},
                  {kTurkishGuideName, embedded::guideTurkish()}};
    for (const auto& g : guides) {
        const fs::path target = programFolder / g.name;
        std::error_code ec;
        if (fs::exists(fs::symlink_status(target, ec))) continue;
        // Written beside the target and renamed, so a guide is either whole or absent.
        const fs::path part = programFolder / (std::string(g.name) + ".part");
        {
            std::ofstream out(part, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(g.text.data()), std::streamsize(g.text.size()));
            if (!out) {
                out.close();
                fs::remove(part, ec);
                continue;
            }
        }
        fs::rename(part, target, ec);
        if (ec) fs::remove(part, ec);
    }
}

} // namespace zerkavi
