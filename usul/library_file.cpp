#include "usul/library_file.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace zerkavi {

namespace {

bool writeAll(int fd, const std::uint8_t* data, std::size_t size, off_t offset) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= std::size_t(n);
        offset += n;
    }
    return true;
}

} // namespace

bool createLibraryIfMissing(const std::filesystem::path& path,
                            std::span<const std::uint8_t> image) {
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return false;
    const std::string tmp = path.string() + ".new-" + std::to_string(::getpid());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = writeAll(fd, image.data(), image.size(), 0) && ::fsync(fd) == 0;
    ::close(fd);
    // link() refuses to replace a file that appeared in the meantime.
    const bool linked = written && ::link(tmp.c_str(), path.c_str()) == 0;
    ::unlink(tmp.c_str());
    return linked;
}

LibraryFile::~LibraryFile() {
    close();
}

bool LibraryFile::open(const std::filesystem::path& path, bool readOnly) {
    close();
    if (!readOnly) fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    writable_ = fd_ >= 0;
    if (fd_ < 0) fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return fd_ >= 0;
}

void LibraryFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    writable_ = false;
}

std::optional<RecordBytes> LibraryFile::readBytes(int slot) const {
    if (fd_ < 0 || slot < 1 || slot > kSlots) return std::nullopt;
    RecordBytes b{};
    std::size_t got = 0;
    const off_t base = off_t(slot - 1) * kRecordBytes;
    while (got < b.size()) {
        const ssize_t n = ::pread(fd_, b.data() + got, b.size() - got, base + off_t(got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        got += std::size_t(n);
    }
    return b;
}

std::optional<UsulRecord> LibraryFile::readUsul(int slot) const {
    auto b = readBytes(slot);
    if (!b) return std::nullopt;
    return decodeRecord(*b);
}

std::optional<ColourRecord> LibraryFile::readColour() const {
    auto b = readBytes(kColourSlot);
    if (!b) return std::nullopt;
    return decodeColour(*b);
}

bool LibraryFile::writeBytes(int slot, const RecordBytes& bytes) {
    if (fd_ < 0 || slot < 1 || slot > kSlots) return false;
    if (!writeAll(fd_, bytes.data(), bytes.size(), off_t(slot - 1) * kRecordBytes)) return false;
    return ::fdatasync(fd_) == 0;
}

bool LibraryFile::writeUsul(int slot, const UsulRecord& r) {
    return writeBytes(slot, encodeRecord(r));
}

bool LibraryFile::writeColour(const ColourRecord& c) {
    return writeBytes(kColourSlot, encodeColour(c));
}

} // namespace zerkavi
