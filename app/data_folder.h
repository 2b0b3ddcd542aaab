// Where an installed program keeps its files. Installed means: the executable stands in a
// bin folder whose share/applications holds our menu entry, as `cmake --install` and the
// Debian package lay it out. Such a folder is not the user's to write into (nothing may be
// written under /usr, even when run as root), so the library, the sound folder and the guides
// go to the per-user data folder instead. A build tree or a copied folder stays portable.
#pragma once

#include <filesystem>
#include <optional>

namespace zerkavi {

inline constexpr const char* kDesktopEntryName = "org.zerkavi.Zerkavi.desktop";

// The folder of the running executable, empty when the system does not say.
std::filesystem::path runningExecutableFolder();

// For an installed program: $XDG_DATA_HOME/zerkavi, or ~/.local/share/zerkavi when that
// variable is unset or relative, created when missing. Nothing for a portable one.
std::optional<std::filesystem::path>
installedDataFolder(const std::filesystem::path& executableFolder);

} // namespace zerkavi
