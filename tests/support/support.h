// Helpers shared by the test suites: temporary folders, files as bytes, the built-in slots
// and WAV files built byte by byte.
#pragma once

#include "usul/record.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace zerkavi::testing {

// A fresh folder below /tmp; the caller removes it.
std::filesystem::path makeTemporaryFolder();

using Bytes = std::vector<std::uint8_t>;

// Writes `bytes` as the whole of `file`; a failure fails the test.
void writeFile(const std::filesystem::path& file, const Bytes& bytes);

// A fresh folder below /tmp, removed with everything in it when the object goes.
class TemporaryFolder {
  public:
    TemporaryFolder() : path_(makeTemporaryFolder()) {}
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    // Writes the file `name` in the folder (a failure fails the test) and returns its path.
    std::filesystem::path write(const std::string& name, const Bytes& bytes) const;

  private:
    std::filesystem::path path_;
};

// While it lives, files may grow to `bytes` only, as on a full disk: writes past it fail
// (EFBIG) instead of raising SIGXFSZ.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    std::uint64_t saved_ = 0;
    void (*handler_)(int) = nullptr;
};

// The whole file; empty when it cannot be read.
template <class Byte = char> std::vector<Byte> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> b{std::istreambuf_iterator<char>(in), {}};
    return {b.begin(), b.end()};
}

// The whole file as text; empty when it cannot be read.
inline std::string readText(const std::filesystem::path& file) {
    const auto b = readBytes(file);
    return {b.begin(), b.end()};
}

// Slot 1..255 of the built-in library image; nothing outside the usul slots.
RecordBytes builtInBytes(int slot);
UsulRecord builtIn(int slot);
std::optional<UsulRecord> builtInOrNone(int slot);
// The whole built-in image.
Bytes libraryImage();
// A plan of the given lines (fields each), stored as Save stores it.
std::u32string planOf(std::initializer_list<std::vector<std::u32string>> lines);

void put(Bytes& b, const char* fourLetters);
void put16(Bytes& b, int v);
void put32(Bytes& b, std::uint32_t v);

// A 16-bit PCM WAV file: "RIFF", "WAVE", a 16-byte "fmt " chunk, `between` (other chunks,
// as they are), then a chunk `dataId` whose size field says `dataBytes` (< 0: the size of
// the samples given) and the samples. The RIFF size is left 0 unless `riffSize` is set.
struct WavLayout {
    int channels = 1;
    std::uint32_t rate = 44100;
    Bytes between{};
    const char* dataId = "data";
    long dataBytes = -1;
    bool riffSize = false;
};
Bytes wavFile(const std::vector<int>& samples, const WavLayout& layout = {});
// A chunk of `size` zero bytes (and the pad byte of an odd size), to sit before the data.
Bytes chunk(const char* id, std::uint32_t size);
// The 36 bytes before the first chunk after "fmt ".
Bytes riffAndFormat(int channels = 1, std::uint32_t rate = 44100);

} // namespace zerkavi::testing
