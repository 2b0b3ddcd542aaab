#include "app/cli/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace zerkavi::cli {

namespace {

// A new empty file from `pattern` (XXXXXX before `suffix`); empty when none could be made.
fs::path makeUnique(const fs::path& folder, const std::string& stem, const std::string& suffix) {
    std::string name = (folder / (stem + "-XXXXXX" + suffix)).string();
    const int fd = ::mkstemps(name.data(), int(suffix.size()));
    if (fd < 0) return {};
    ::close(fd);
    return name;
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= std::size_t(n);
    }
    return true;
}

} // namespace

OutputFile::OutputFile(const fs::path& target) : target_(target) {
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec); // through a link to what it names
    const std::string suffix = target.extension().string();
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        if (fs::is_directory(status)) return;
        through_ = true;
        scratch_ = makeUnique(fs::temp_directory_path(ec), "zerkavi-cli-out", suffix);
        return;
    }
    // A link is followed, so that the file it names is the one replaced.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        target_ = fs::canonical(target, ec);
        if (ec) return;
    }
    fs::path folder = target_.parent_path();
    if (folder.empty()) folder = ".";
    scratch_ = makeUnique(folder, "." + target_.filename().string(), suffix);
}

OutputFile::~OutputFile() {
    if (!scratch_.empty()) ::unlink(scratch_.c_str());
}

bool OutputFile::writeThrough() const {
    const int in = ::open(scratch_.c_str(), O_RDONLY);
    if (in < 0) return false;
    const int out = ::open(target_.c_str(), O_WRONLY | O_TRUNC);
    bool ok = out >= 0;
    char buffer[65536];
    while (ok) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        ok = writeAll(out, buffer, std::size_t(n));
    }
    ::close(in);
    if (out >= 0 && ::close(out) != 0) ok = false;
    return ok;
}

bool OutputFile::commit() {
    if (scratch_.empty()) return false;
    if (through_) return writeThrough();
    // The bytes reach the disk before the name moves; the file gets the permissions of the
    // one it replaces, or those a new file gets.
    const int fd = ::open(scratch_.c_str(), O_WRONLY);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    struct stat old {};
    mode_t mode = 0;
    if (::stat(target_.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ok = ::fchmod(fd, mode) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(scratch_.c_str(), target_.c_str()) != 0) return false;
    scratch_.clear();
    return true;
}

} // namespace zerkavi::cli
