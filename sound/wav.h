// WAV files as the program reads and writes them.
//
// Every sound of the program is PCM, mono, 16-bit signed little-endian, 44,100 samples per
// second. Files written by the program carry the canonical 44-byte header below and the
// samples directly after it. The reader also accepts files with extra chunks before the
// data chunk (the kudüm and def recordings carry a "smpl" chunk), which it finds by a
// byte-by-byte search of the first 1,000 byte positions.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace zerkavi {

inline constexpr int kSampleRate = 44100; // samples per second
inline constexpr int kBitsPerSample = 16;
inline constexpr int kWavHeaderBytes = 44;
inline constexpr int kDataSearchPositions = 1000; // 1-based byte positions searched

// The 44-byte header, field by field in file order; integers little-endian on disk.
struct WavHeader {
    std::array<char, 4> riffId{};
    std::uint32_t riffSize = 0; // dataSize + 36
    std::array<char, 4> formType{};
    std::array<char, 4> fmtId{};
    std::uint32_t fmtSize = 0;
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0; // bytes per sample frame
    std::uint16_t bitsPerSample = 0;
    std::array<char, 4> dataId{};
    std::uint32_t dataSize = 0; // bytes of sample data

    bool operator==(const WavHeader&) const = default;
};

using WavHeaderBytes = std::array<std::uint8_t, kWavHeaderBytes>;

WavHeaderBytes encodeWavHeader(const WavHeader& h);
WavHeader decodeWavHeader(std::span<const std::uint8_t, kWavHeaderBytes> bytes);

// The header for `sampleFrames` frames: data size = bits × frames × channels ÷ 8 and block
// align = bits × channels ÷ 8, both rounded to nearest, ties to even. The program always
// passes 1 channel, 44,100 and 16 bits.
WavHeader BuildWavHeader(std::uint32_t sampleFrames, int channels, std::uint32_t rate, int bits);

// True when the four characters spell "data" in any mix of upper and lower case.
bool isDataId(const std::array<char, 4>& id);

enum class WavStatus {
    Ok,                  // samples read
    Stereo,              // two channels: nothing read, and nothing shown either
    CannotOpen,          // the file is missing or cannot be read
    FormatNotRecognized, // no data chunk within the searched positions
    BadChannelCount,     // a channel count other than 1 or 2
};

// The text shown for a status, in these words whatever the window's language; nullptr when
// nothing is shown (Ok, Stereo). A file that cannot be opened reads as an empty file, which
// has no data chunk, so it gets "File format not recognized!".
const char* wavStatusMessage(WavStatus s);

// Where the data chunk was found and what the header says once the search is done.
struct DataChunk {
    bool found = false;
    WavHeader header;               // the first 44 bytes, data id and size set by the search
    std::uint64_t sampleOffset = 0; // 0-based byte offset of the first sample
    std::uint32_t sampleCount = 0;  // dataSize ÷ blockAlign, rounded to nearest, ties to even
};

// Looks at the first 44 bytes of `file` (bytes past its end read as 0) and, unless their data
// id is already "data", searches 1-based byte positions 1 .. min(1,000, length − 1) for an
// 8-byte chunk header whose id is "data" in any case. Every byte position is tried, not
// only chunk boundaries. A block align of 0 gives no sample count and counts as not found.
DataChunk findDataChunk(std::span<const std::uint8_t> file);

// What the reader makes of a file whose data chunk search gave `c`: Ok for a data chunk
// found in a one-channel file. The player opens the same files.
WavStatus wavStatus(const DataChunk& c);

// The reader's result: `header` is always the first 44 bytes of the file (with the data id
// and size of the chunk found); `samples` holds sampleCount samples only when status is Ok.
// Samples the data size claims beyond the end of the file read as 0.
struct WavReadResult {
    WavStatus status = WavStatus::CannotOpen;
    WavHeader header;
    std::vector<std::int16_t> samples; // samples[0] is sample 1
};

WavReadResult ReadWav(const std::filesystem::path& file);
WavReadResult ReadWavBytes(std::span<const std::uint8_t> file);

// The reader's shared state: one header and one sample array that every read replaces. A
// read that fails, or finds two channels, leaves the previous samples in place, and the
// renderers then go on with them; the header is replaced by every read.
struct SampleReader {
    WavHeader sampleHeader;
    std::vector<std::int16_t> sampleBuffer; // sampleBuffer[0] is sample 1

    WavStatus read(const std::filesystem::path& file);
    void apply(const WavReadResult& r);
};

// Samples as they lie on disk: 16-bit little-endian.
void appendSampleBytes(std::vector<std::uint8_t>& out, std::span<const std::int16_t> samples);

// Writes `header` and then the samples to `file`, replacing any file of that name.
bool writeWavFile(const std::filesystem::path& file, const WavHeader& header,
                  std::span<const std::int16_t> samples);

// Whole-file helpers; readFileBytes returns false when the file cannot be opened or read.
bool readFileBytes(const std::filesystem::path& file, std::vector<std::uint8_t>& out);
bool writeFileBytes(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

} // namespace zerkavi
