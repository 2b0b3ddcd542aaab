#include "sound/wav.h"

#include "common/rounding.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>

namespace zerkavi {

namespace {

// A data size claiming more than this many samples is taken as a damaged file rather than
// an allocation of gigabytes (about 50 minutes of sound).
constexpr std::uint64_t kMaxSamples = std::uint64_t(1) << 27;

std::uint16_t get16(const std::uint8_t* p) {
    return std::uint16_t(p[0] | (p[1] << 8));
}
std::uint32_t get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = std::uint8_t(v >> (8 * i));
}
std::array<char, 4> id4(const char* s) {
    return {s[0], s[1], s[2], s[3]};
}
std::array<char, 4> get4(const std::uint8_t* p) {
    return {char(p[0]), char(p[1]), char(p[2]), char(p[3])};
}
void put4(std::uint8_t* p, const std::array<char, 4>& id) {
    std::memcpy(p, id.data(), 4);
}

// `n` bytes of `file` from `offset`; bytes past its end read as 0, as a binary read past
// the end of a file gives.
template <std::size_t n>
std::array<std::uint8_t, n> bytesAt(std::span<const std::uint8_t> file, std::uint64_t offset) {
    std::array<std::uint8_t, n> out{};
    if (offset < file.size()) {
        const std::size_t have = std::min<std::size_t>(n, file.size() - std::size_t(offset));
        std::copy_n(file.begin() + std::ptrdiff_t(offset), have, out.begin());
    }
    return out;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

WavHeaderBytes encodeWavHeader(const WavHeader& h) {
    WavHeaderBytes b{};
    put4(&b[0], h.riffId);
    put32(&b[4], h.riffSize);
    put4(&b[8], h.formType);
    put4(&b[12], h.fmtId);
    put32(&b[16], h.fmtSize);
    put16(&b[20], h.formatTag);
    put16(&b[22], h.channels);
    put32(&b[24], h.sampleRate);
    put32(&b[28], h.byteRate);
    put16(&b[32], h.blockAlign);
    put16(&b[34], h.bitsPerSample);
    put4(&b[36], h.dataId);
    put32(&b[40], h.dataSize);
    return b;
}

WavHeader decodeWavHeader(std::span<const std::uint8_t, kWavHeaderBytes> b) {
    WavHeader h;
    h.riffId = get4(&b[0]);
    h.riffSize = get32(&b[4]);
    h.formType = get4(&b[8]);
    h.fmtId = get4(&b[12]);
    h.fmtSize = get32(&b[16]);
    h.formatTag = get16(&b[20]);
    h.channels = get16(&b[22]);
    h.sampleRate = get32(&b[24]);
    h.byteRate = get32(&b[28]);
    h.blockAlign = get16(&b[32]);
    h.bitsPerSample = get16(&b[34]);
    h.dataId = get4(&b[36]);
    h.dataSize = get32(&b[40]);
    return h;
}

WavHeader BuildWavHeader(std::uint32_t sampleFrames, int channels, std::uint32_t rate, int bits) {
    WavHeader h;
    h.dataSize = std::uint32_t(roundHalfEven(double(bits) * (double(sampleFrames) * channels) / 8));
    h.riffId = id4("RIFF");
    h.riffSize = h.dataSize + 36;
    h.formType = id4("WAVE");
    h.fmtId = id4("fmt ");
    h.fmtSize = 16;
    h.formatTag = 1;
    h.channels = std::uint16_t(channels);
    h.sampleRate = rate;
    h.blockAlign = std::uint16_t(roundHalfEven(double(bits) * channels / 8));
    h.byteRate = h.blockAlign * rate;
    h.bitsPerSample = std::uint16_t(bits);
    h.dataId = id4("data");
    return h;
}

bool isDataId(const std::array<char, 4>& id) {
    static constexpr char kData[] = "data";
    for (int i = 0; i < 4; ++i) {
        char c = id[std::size_t(i)];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != kData[i]) return false;
    }
    return true;
}

const char* wavStatusMessage(WavStatus s) {
    switch (s) {
    case WavStatus::CannotOpen:
    case WavStatus::FormatNotRecognized:
        return "File format not recognized!";
    case WavStatus::BadChannelCount:
        return "kanal sayısı okunamadı";
    case WavStatus::Ok:
    case WavStatus::Stereo:
        break;
    }
    return nullptr;
}

DataChunk findDataChunk(std::span<const std::uint8_t> file) {
    DataChunk c;
    const auto first = bytesAt<kWavHeaderBytes>(file, 0);
    c.header = decodeWavHeader(first);
    if (isDataId(c.header.dataId)) {
        c.found = true;
        c.sampleOffset = kWavHeaderBytes;
    } else {
        // Positions are 1-based: position p is the chunk header starting at byte p − 1.
        const std::int64_t last = file.size() < std::size_t(kDataSearchPositions)
                                      ? std::int64_t(file.size()) - 1
                                      : kDataSearchPositions;
        for (std::int64_t p = 1; p <= last; ++p) {
            const auto chunk = bytesAt<8>(file, std::uint64_t(p - 1));
            if (!isDataId(get4(&chunk[0]))) continue;
            c.found = true;
            c.header.dataId = id4("data");
            c.header.dataSize = get32(&chunk[4]);
            c.sampleOffset = std::uint64_t(p - 1) + 8;
            break;
        }
    }
    if (c.found && c.header.blockAlign == 0) c.found = false;
    if (c.found) {
        const double n = roundHalfEven(double(c.header.dataSize) / c.header.blockAlign);
        if (n > double(kMaxSamples))
            c.found = false;
        else
            c.sampleCount = std::uint32_t(n);
    }
    return c;
}

WavReadResult ReadWavBytes(std::span<const std::uint8_t> file) {
    WavReadResult r;
    const DataChunk c = findDataChunk(file);
    r.header = c.header;
    if (!c.found) {
        r.status = WavStatus::FormatNotRecognized;
        return r;
    }
    if (c.header.channels == 2) {
        r.status = WavStatus::Stereo;
        return r;
    }
    if (c.header.channels != 1) {
        r.status = WavStatus::BadChannelCount;
        return r;
    }
    r.status = WavStatus::Ok;
    r.samples.assign(c.sampleCount, 0);
    const std::uint64_t end = c.sampleOffset + 2 * std::uint64_t(c.sampleCount);
    const std::uint64_t have = std::min<std::uint64_t>(end, file.size());
    for (std::uint64_t o = c.sampleOffset, i = 0; o + 1 < have; o += 2, ++i)
        r.samples[i] = std::int16_t(get16(&file[o]));
    // A last sample cut in half by the end of the file keeps its low byte.
    if (have > c.sampleOffset && (have - c.sampleOffset) % 2 == 1)
        r.samples[(have - c.sampleOffset) / 2] = std::int16_t(file[have - 1]);
    return r;
}

WavReadResult ReadWav(const std::filesystem::path& file) {
    std::vector<std::uint8_t> bytes;
    if (!readFileBytes(file, bytes)) {
        WavReadResult r;
        r.status = WavStatus::CannotOpen;
        return r;
    }
    return ReadWavBytes(bytes);
}

void SampleReader::apply(const WavReadResult& r) {
    sampleHeader = r.header;
    if (r.status == WavStatus::Ok) sampleBuffer = r.samples;
}

WavStatus SampleReader::read(const std::filesystem::path& file) {
    const WavReadResult r = ReadWav(file);
    apply(r);
    return r.status;
}

void appendSampleBytes(std::vector<std::uint8_t>& out, std::span<const std::int16_t> samples) {
    const std::size_t at = out.size();
    out.resize(at + 2 * samples.size());
    if constexpr (std::endian::native == std::endian::little) {
        if (!samples.empty()) std::memcpy(out.data() + at, samples.data(), 2 * samples.size());
    } else {
        for (std::size_t i = 0; i < samples.size(); ++i)
            put16(&out[at + 2 * i], std::uint16_t(samples[i]));
    }
}

bool writeWavFile(const std::filesystem::path& file, const WavHeader& header,
                  std::span<const std::int16_t> samples) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kWavHeaderBytes + 2 * samples.size());
    const auto h = encodeWavHeader(header);
    bytes.assign(h.begin(), h.end());
    appendSampleBytes(bytes, samples);
    return writeFileBytes(file, bytes);
}

bool readFileBytes(const std::filesystem::path& file, std::vector<std::uint8_t>& out) {
    File f(std::fopen(file.c_str(), "rb"));
    if (!f) return false;
    out.clear();
    std::uint8_t chunk[65536];
    for (;;) {
        const std::size_t got = std::fread(chunk, 1, sizeof chunk, f.get());
        out.insert(out.end(), chunk, chunk + got);
        if (got < sizeof chunk) break;
    }
    return std::ferror(f.get()) == 0;
}

bool writeFileBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    File f(std::fopen(file.c_str(), "wb"));
    if (!f) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
        return false;
    return std::fclose(f.release()) == 0;
}

} // namespace zerkavi
