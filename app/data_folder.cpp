#include "app/data_folder.h"

#include <cstdlib>

namespace zerkavi {

namespace fs = std::filesystem;

fs::path runningExecutableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

std::optional<fs::path> installedDataFolder(const fs::path& executableFolder) {
    std::error_code ec;
    if (executableFolder.empty() || executableFolder.filename() != "bin") return std::nullopt;
    const fs::path entry =
        executableFolder.parent_path() / "share" / "applications" / kDesktopEntryName;
    if (!fs::is_regular_file(entry, ec)) return std::nullopt;

    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && fs::path(xdg).is_absolute())
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".local" / "share";
    else
        return std::nullopt;
    const fs::path folder = base / "zerkavi";
    fs::create_directories(folder, ec);
    return folder;
}

} // namespace zerkavi
