// A folder of the command line's own below the system's temporary folder (TMPDIR), removed
// with everything in it when the object goes: the sample bank and scratch files live there,
// so that a run leaves nothing behind but what it was asked to write.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace zerkavi::cli {

class PrivateFolder {
  public:
    PrivateFolder() {
        std::error_code ec;
        std::string pattern =
            (std::filesystem::temp_directory_path(ec) / "zerkavi-cli-XXXXXX").string();
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~PrivateFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;
    // Empty when no folder could be made.
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

} // namespace zerkavi::cli
