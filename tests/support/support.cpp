#include "tests/support/support.h"

#include "plans/plan_format.h"
#include "usul/library_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>

namespace zerkavi::testing {

std::filesystem::path makeTemporaryFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zerkavi-test-XXXXXX").string();
    return ::mkdtemp(pattern.data());
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void writeFile(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    EXPECT_TRUE(out.good()) << file;
}

std::filesystem::path TemporaryFolder::write(const std::string& name, const Bytes& bytes) const {
    writeFile(path_ / name, bytes);
    return path_ / name;
}

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
    rlimit r{};
    ::getrlimit(RLIMIT_FSIZE, &r);
    saved_ = r.rlim_cur;
    handler_ = std::signal(SIGXFSZ, SIG_IGN);
    r.rlim_cur = bytes;
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &r), 0);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit r{};
    ::getrlimit(RLIMIT_FSIZE, &r);
    r.rlim_cur = saved_;
    ::setrlimit(RLIMIT_FSIZE, &r);
    std::signal(SIGXFSZ, handler_);
}

RecordBytes builtInBytes(int slot) {
    RecordBytes b{};
    std::copy_n(defaultLibraryImage().begin() + std::ptrdiff_t(slot - 1) * kRecordBytes,
                kRecordBytes, b.begin());
    return b;
}

UsulRecord builtIn(int slot) {
    return decodeRecord(builtInBytes(slot));
}

std::optional<UsulRecord> builtInOrNone(int slot) {
    if (slot < 1 || slot > kLastUsulSlot) return std::nullopt;
    return builtIn(slot);
}

Bytes libraryImage() {
    const auto image = defaultLibraryImage();
    return Bytes(image.begin(), image.end());
}

void put(Bytes& b, const char* fourLetters) {
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(fourLetters[i]));
}
void put16(Bytes& b, int v) {
    b.push_back(std::uint8_t(v));
    b.push_back(std::uint8_t(unsigned(v) >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.push_back(std::uint8_t(v >> (8 * i)));
}

Bytes chunk(const char* id, std::uint32_t size) {
    Bytes b;
    put(b, id);
    put32(b, size);
    b.resize(b.size() + size + size % 2, 0);
    return b;
}

Bytes riffAndFormat(int channels, std::uint32_t rate) {
    Bytes b;
    put(b, "RIFF");
    put32(b, 0);
    put(b, "WAVE");
    put(b, "fmt ");
    put32(b, 16);
    put16(b, 1);
    put16(b, channels);
    put32(b, rate);
    put32(b, rate * 2 * unsigned(channels));
    put16(b, 2 * channels);
    put16(b, 16);
    return b;
}

Bytes wavFile(const std::vector<int>& samples, const WavLayout& layout) {
    Bytes b = riffAndFormat(layout.channels, layout.rate);
    b.insert(b.end(), layout.between.begin(), layout.between.end());
    put(b, layout.dataId);
    put32(b, std::uint32_t(layout.dataBytes < 0 ? long(2 * samples.size()) : layout.dataBytes));
    for (int s : samples)
        put16(b, s);
    if (layout.riffSize) {
        const std::uint32_t size = std::uint32_t(b.size() - 8);
        for (int i = 0; i < 4; ++i)
            b[4 + std::size_t(i)] = std::uint8_t(size >> (8 * i));
    }
    return b;
}

std::u32string planOf(std::initializer_list<std::vector<std::u32string>> lines) {
    std::u32string text;
    for (const auto& l : lines)
        text += (text.empty() ? U"" : U"\r\n") + normalisedPlanLine(l);
    return text;
}

} // namespace zerkavi::testing
