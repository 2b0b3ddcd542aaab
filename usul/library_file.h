// The library file "usuller.usl": 256 records of 1,684 bytes, no header, slot n at byte
// (n - 1) * 1,684. It is opened once and kept open for the whole run; every load and
// save touches exactly one slot at the moment the user asks.
#pragma once

#include "usul/record.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace zerkavi {

inline constexpr const char* kLibraryFileName = "usuller.usl";

// The built-in library image (431,104 bytes), compiled from assets/library at build time.
std::span<const std::uint8_t> defaultLibraryImage();

// Writes the image as `path` when no file of that name exists. An existing file, even a
// damaged one, is never touched. The image goes to a temporary file first and is linked
// into place, so a crash never leaves a half-written library behind. Returns true when
// the file was created.
bool createLibraryIfMissing(const std::filesystem::path& path, std::span<const std::uint8_t> image);

class LibraryFile {
  public:
    LibraryFile() = default;
    ~LibraryFile();
    LibraryFile(const LibraryFile&) = delete;
    LibraryFile& operator=(const LibraryFile&) = delete;

    // Opens for reading and writing, or for reading only when the file is read-only or
    // `readOnly` asks for it (a file the program must not change).
    bool open(const std::filesystem::path& path, bool readOnly = false);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    // False when the file could only be opened for reading.
    bool isWritable() const { return writable_; }

    // A slot beyond the end of a short file, or any read error, is a failed read.
    std::optional<UsulRecord> readUsul(int slot) const;
    std::optional<ColourRecord> readColour() const;
    std::optional<RecordBytes> readBytes(int slot) const;
    // One slot in one call, flushed to disk. Returns false on any write error.
    bool writeUsul(int slot, const UsulRecord& r);
    bool writeColour(const ColourRecord& c);
    bool writeBytes(int slot, const RecordBytes& bytes);

  private:
    int fd_ = -1;
    bool writable_ = false;
};

} // namespace zerkavi
