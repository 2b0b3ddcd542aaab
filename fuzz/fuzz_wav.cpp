// The WAV reader and the level-file maker on any bytes: the data-chunk search, the sample
// count, samples claimed past the end of the file, and a level file that reads back with the
// count its header gives.
#include "sound/sample_bank.h"
#include "sound/wav.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

using namespace zerkavi;

// The reader honours any data size a header claims and fills what the file lacks with
// silence: up to 4 GiB of samples for a 44-byte file. Inputs claiming more than this are
// searched but not read, so the fuzzer spends its time on the parsing.
constexpr std::uint32_t kMaxSamplesRead = 1u << 16;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const DataChunk chunk = findDataChunk(file);
    if (chunk.found && chunk.sampleOffset > size + kWavHeaderBytes) std::abort();
    if (chunk.found && chunk.sampleCount > kMaxSamplesRead) return 0;

    const WavReadResult r = ReadWavBytes(file);
    if (r.status == WavStatus::Ok && r.samples.size() != chunk.sampleCount) std::abort();
    if (r.status != WavStatus::Ok && !r.samples.empty()) std::abort();
    if (r.status != WavStatus::Ok && r.status != WavStatus::Stereo &&
        wavStatusMessage(r.status) == nullptr)
        std::abort();

    const auto level = levelFileBytes(file, 0.6f);
    if (chunk.found != !level.empty()) std::abort();
    if (!level.empty()) {
        if (level.size() != kWavHeaderBytes + 2 * std::size_t(chunk.sampleCount)) std::abort();
        const DataChunk again = findDataChunk(level);
        if (!again.found || again.sampleCount != chunk.sampleCount) std::abort();
    }
    return 0;
}
