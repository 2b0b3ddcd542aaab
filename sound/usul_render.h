// Rendering an usul to sound: the strokes of one cycle mixed at a tempo into 16-bit mono
// samples at 44,100 per second, the file "Shablon.---" that playback plays, and the stroke
// schedule that moves the playback marker.
//
// Mixing (shared with the passage renderer): a stroke sample s laid onto the value m
// already in the buffer gives round(s ÷ 2 + m ÷ 2) for a Düm and round(s ÷ 4 + m ÷ 2) for a
// Tek, to nearest with ties to even. Every new stroke halves what sounds under it, so the
// result never leaves the 16-bit range.
#pragma once

#include "sound/sample_bank.h"
#include "sound/wav.h"
#include "usul/record.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace zerkavi {

inline constexpr const char* kUsulFileName = "Shablon.---";
inline constexpr std::int32_t kLoopTargetMs = 120000; // looped mode fills about two minutes

std::int16_t mixDum(std::int16_t stroke, std::int16_t under);
std::int16_t mixTek(std::int16_t stroke, std::int16_t under);

// Lays `stroke` onto `mix` from 0-based index `start` with the rule of `hand`. Samples that
// fall before the start or past the end of `mix` are cut; nothing wraps round.
void layStroke(std::span<std::int16_t> mix, std::int64_t start,
               std::span<const std::int16_t> stroke, Hand hand);

// Sample files of one rendering. Each stroke reads its file as if from disk, but a file
// is read once per rendering and kept: the bank does not change while a rendering runs, so
// the samples are the same. A failed or two-channel read keeps the samples that sounded
// before, starting from those the shared reader held. Holds every sample array it hands out
// for as long as it lives.
class StrokeReader {
  public:
    StrokeReader(std::filesystem::path soundFolder, std::string instrumentCode,
                 const SampleReader& reader);
    StrokeReader(const StrokeReader&) = delete;
    StrokeReader& operator=(const StrokeReader&) = delete;

    // The samples the stroke sounds. A failure is added to `messages`.
    std::span<const std::int16_t> read(Hand hand, int level, std::vector<WavStatus>& messages);
    // Leaves the shared reader as reading file after file would have: the last header read
    // and the last samples that sounded.
    void finish(SampleReader& reader) const;

  private:
    std::filesystem::path folder_;
    std::string code_;
    std::vector<std::int16_t> previous_; // the shared reader's samples at the start
    std::map<std::string, WavReadResult> files_;
    const std::vector<std::int16_t>* current_;
    const WavHeader* lastHeader_ = nullptr;
};

// One stroke's sound in the cycle, in mixing order.
struct PlacedStroke {
    std::int64_t start = 0; // 0-based sample of the cycle
    Hand hand = Hand::Dum;
    std::span<const std::int16_t> samples; // owned by the rendering's StrokeReader
};

struct UsulRenderSettings {
    int bpm = 150;    // beats per minute of the unit note, 20..250
    int unitNote = 8; // 4, 8 or 16: one beat lasts 64 ÷ unitNote 64ths
    std::string instrumentCode = "BENDR";
    bool looped = false; // repeat the cycle to fill about 120 s
};

// The tempo of one cycle.
struct UsulTiming {
    int totalLength64ths = 0;
    std::int32_t cycleMs = 0;        // round(60000 ÷ bpm × unitNote ÷ 64 × totalLength)
    std::int32_t cycleSamples = 0;   // N = round(cycleMs ÷ 1000 × 44100)
    std::int32_t samplesPer64th = 0; // round(N ÷ totalLength)
    float msPer64th = 0;             // cycleMs ÷ totalLength, kept in single precision
};

// totalLength64ths and bpm must be positive.
UsulTiming usulTiming(int totalLength64ths, int bpm, int unitNote);

// One stroke of the schedule. The list is 1-based on the notation; entry 1 is index 0.
struct ScheduledStroke {
    std::int16_t x = 0;           // centre x of its circle in the notation (notation/geometry.h)
    std::int16_t row = 0;         // notation row 1..4
    std::int16_t length64ths = 0; // rightDuration if set, else leftDuration
    std::int32_t endMs = 0;       // when the stroke ends, counted from the start of playback
};

// Step 1 of a render: one entry per circle holding a stroke, in circle order; endMs left 0.
std::vector<ScheduledStroke> strokeList(const UsulRecord& usul);
// End times: round(length × msPer64th + previous end), the previous end of stroke 1 being 0.
// Each is rounded on its own from the rounded one before, so small errors add up.
void setStrokeEnds(std::vector<ScheduledStroke>& strokes, float msPer64th);
// Looped mode: r = floor(120000 ÷ round(N ÷ 44.1)) whole cycles, but at least one.
int loopedCycles(std::int32_t cycleSamples);

enum class UsulRenderStatus {
    Ok,
    NoStrokes, // no circle holds a stroke: messageText(Message::noBeats), nothing rendered
    BadTempo,  // bpm or unit note not positive: nothing rendered
};

struct UsulRender {
    UsulRenderStatus status = UsulRenderStatus::NoStrokes;
    UsulTiming timing;
    std::vector<std::int32_t> startSamples; // 1-based first sample of each stroke of a cycle
    int cycles = 0;                         // r: cycles the file holds
    std::vector<ScheduledStroke> strokes;   // cycles × strokes of one cycle
    double playLengthMs = 0;                // (file bytes − 44) ÷ 88.2
    // Reader failures met while mixing, one per stroke whose sample file failed, in order;
    // show wavStatusMessage of each. Mixing went on with the reader's previous samples.
    std::vector<WavStatus> messages;
    // Where each sound of the cycle goes, and the samples they point into.
    std::vector<PlacedStroke> placed;
    std::shared_ptr<const StrokeReader> sounds;
    // One cycle, N samples (usulMix[0] is sample 1). Filled by renderUsul; renderUsulToFile
    // leaves it empty, the samples being in the file.
    std::vector<std::int16_t> usulMix;

    std::int32_t strokeCount() const { return std::int32_t(strokes.size()); }
    const ScheduledStroke& stroke(int k) const { return strokes[std::size_t(k - 1)]; } // 1-based
    std::uint64_t sampleCount() const {
        return std::uint64_t(timing.cycleSamples) * std::uint64_t(cycles);
    }
};

// Everything but the mix: the stroke schedule, the timing, the cycle count and where each
// sound goes. Sample files are read from `soundFolder`; `reader` is left as after reading
// them file by file, so a stroke whose file cannot be read sounds the samples read before
// it. Each stroke starts one sample later than the exact grid of samplesPer64th
// (p = p + samplesPer64th × duration + 1); the offset is kept so that a file rendered now
// is, sample for sample, the one rendered from the same usul before. With both hands on one circle
// the Tek sounds at the same place as the Düm and the next stroke follows the Tek's duration. The
// caller stores timing.totalLength64ths as the usul's totalLength.
UsulRender placeUsul(const UsulRecord& usul, const UsulRenderSettings& settings,
                     const std::filesystem::path& soundFolder, SampleReader& reader);

// Samples `first` .. `first` + out.size() − 1 (0-based) of one cycle, mixed into `out`,
// which must hold zeros. Any stretch gives the same samples as the whole cycle mixed at once.
void mixUsul(const UsulRender& r, std::int64_t first, std::span<std::int16_t> out);

// placeUsul, then the whole cycle mixed into usulMix: the rendering in memory.
UsulRender renderUsul(const UsulRecord& usul, const UsulRenderSettings& settings,
                      const std::filesystem::path& soundFolder, SampleReader& reader);

// The header of the file: N × r samples, mono, 44,100, 16 bits.
WavHeader usulFileHeader(const UsulRender& r);
// The whole file in memory: header, then the cycle r times.
std::vector<std::uint8_t> usulFileImage(const UsulRender& r);
// Deletes `file` (a failure to delete is ignored) and writes it: the header, then the cycle
// r times. A looped cycle is mixed once and copied; a file of one cycle is mixed and
// written a stretch at a time, so no buffer of the whole cycle is ever made. False on a
// write error.
bool writeUsulFile(const std::filesystem::path& file, const UsulRender& r);

// Start's rendering step: placeUsul, then soundFolder/"Shablon.---" written when that
// succeeded. `written` reports the write.
UsulRender renderUsulToFile(const UsulRecord& usul, const UsulRenderSettings& settings,
                            const std::filesystem::path& soundFolder, SampleReader& reader,
                            bool* written = nullptr);

} // namespace zerkavi
