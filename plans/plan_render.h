// Rendering a stored work plan into one sound file, "Eser.---" in the sound folder: every
// section through the passage renderer, appended one after the other with no gap, under the
// 44-byte header of a mono 16-bit file at 44,100 samples per second.
//
// A section whose metronome changes over several repetitions is rendered repetition by
// repetition, so the tempo moves in equal whole-number steps from one repetition to the
// next; the passage renderer only ramps inside one passage.
#pragma once

#include "plans/plan_format.h"
#include "sound/wav.h"
#include "usul/record.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zerkavi {

inline constexpr const char* kPlanSoundFileName = "Eser.---";

// The start and end metronome of the repetitions of a ramped section are kept in tables of
// 99 entries, repetition 0 unused, so such a section plays at most 98 repetitions.
inline constexpr int kMaxRampRepetitions = 98;

// Reads a library slot; nullopt when the slot cannot be read. The renderer asks for a slot
// whenever it loads a section's usul, as a read into the usul on screen would.
using UsulOfSlot = std::function<std::optional<UsulRecord>(int slot)>;

// One passage as it was asked of the passage renderer.
struct PlanPassage {
    int section = 0; // 1-based
    int firstHalka = 0;
    int lastHalka = 0;
    int repeat = 0;
    int introBpm = 0;
    int finalBpm = 0;
    std::int64_t samples = 0; // samples it added to the file
};

// One stroke of the plan sound: where it starts and which circle of its usul it is.
struct PlanStroke {
    std::int64_t startSample = 0; // 0-based, counted from the first sample after the header
    int section = 0;              // 0-based, as the section list counts
    int ordinal = 0;              // 1-based among the circles of its usul that hold a stroke
};

// What a plan sound would take: its samples, and the message that refuses it (0 when it
// can be written). A WAV file counts its size in 32 bits, and the sound must fit the free
// space of the disk (`availableBytes`, plus the bytes of the earlier sound it replaces).
struct PlanSoundSize {
    std::int64_t samples = 0;
    Message refusal = Message::none; // or Message::planTooLong, Message::planNoDiskSpace
};
PlanSoundSize planSoundSize(std::int64_t samples, std::uintmax_t availableBytes);

// Told after every stretch written: samples written so far and samples in all.
using PlanProgress = std::function<void(std::int64_t written, std::int64_t total)>;

struct PlanRenderResult {
    // Message::planTooLong or Message::planNoDiskSpace when the sound was refused before
    // anything was written or deleted; everything below is then left empty.
    Message refusal = Message::none;
    // Per section, in plan order; element 0 is section 1.
    std::vector<PlanSection> sections;
    std::vector<std::u32string> sectionNames;
    std::vector<std::int16_t> sectionUsul;
    // Time from the start of the file to the end of each section, in ms:
    // round(samples written up to and including that section ÷ 44.1).
    std::vector<std::int32_t> sectionEndMs;
    std::vector<PlanPassage> passages;
    std::vector<PlanStroke> strokes; // in the order they sound
    std::int64_t renderedSamples = 0;
    // (file size − 44) ÷ 88.2, unrounded; 0 when the file could not be looked at.
    double playLengthMs = 0;
    // Message numbers to show, in order (Message::noBeats).
    std::vector<Message> messages;
    // Sample-file failures met while mixing, in order (see wavStatusMessage).
    std::vector<WavStatus> readerMessages;
    bool fileOk = true;         // false when the file could not be created or written
    bool headerWritten = false; // only for a mono sample bank

    // 1-based, as sections are numbered in the plan.
    std::int32_t endMsOfSection(int s) const { return sectionEndMs[std::size_t(s - 1)]; }
};

// One call of the passage renderer as the plan asks for it: `repeat` times from introBpm to
// finalBpm.
struct PassageCall {
    int section = 0; // 0-based
    int repeat = 1;
    int introBpm = 0, finalBpm = 0;
};
// The calls a section is rendered as, in order: one call for a constant metronome or at most
// one repetition; otherwise one call per repetition, in equal whole-number steps.
std::vector<PassageCall> sectionPassages(const PlanSection& s);

// Renders `planText` (the stored plan, lines joined by CR LF) into `outFile` (empty:
// soundFolder/"Eser.---"), deleting any earlier file first (a failure to delete is ignored).
// Before that the size of the sound is worked out from the tempo of every passage, and a
// sound that would not fit a WAV file or the disk is refused without touching any file.
// Only the current repetition of a passage is held as samples; repetitions are written
// one after the other. Each section's fields are
// read as parseStoredPlan reads them, the slot loaded into `currentUsul` for its last circle;
// every passage loads its slot again before it is rendered. A slot that cannot be read leaves
// `currentUsul` as it was, so the section renders the usul loaded before it. A section whose
// passage renders nothing (no beats, or a metronome that is not positive) adds no samples.
// Sample files are read from `soundFolder` through `reader`.
PlanRenderResult renderPlan(std::u32string_view planText, const UsulOfSlot& readSlot,
                            UsulRecord& currentUsul, const std::filesystem::path& soundFolder,
                            SampleReader& reader, const std::string& instrumentCode = "BENDR",
                            const std::filesystem::path& outFile = {},
                            const PlanProgress& progress = {});

// Where playing starts for the entry `selectedIndex` (0-based) of the section list: 0 for
// entry 0 (and for no entry, a negative index), otherwise the end of the section before it,
// sectionEndMs(selectedIndex) counted 1-based. An index past the last section plays from the
// end of the last one.
std::int32_t playFromMsFor(int selectedIndex, const std::vector<std::int32_t>& sectionEndMs);

} // namespace zerkavi
