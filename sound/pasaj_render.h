// The passage renderer of work plans: a stretch of circles of one library usul, played with
// a tempo that moves linearly from an intro to a final metronome value, repeated a number of
// times. Work-plan rendering appends each passage to "Eser.---".
#pragma once

#include "sound/usul_render.h"
#include "sound/wav.h"
#include "usul/record.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zerkavi {

// Scratch file of the repetitions: the passage written `repeat` times as raw 16-bit samples
// from the start of the file. The file is neither truncated nor deleted, so bytes of an
// earlier, longer passage may remain after the new ones.
inline constexpr const char* kPassageScratchFileName = "Pasaj.dat";

struct PassageRequest {
    int firstHalka = 1; // first circle of the stretch, 1..180
    int lastHalka = 1;  // last circle, included
    int repeat = 1;     // repetitions; 1 or less renders the stretch once
    int unitNote = 4;   // 2, 4, 8 or 16: the note value the metronome counts
    int introBpm = 60;  // metronome at the first 64th
    int finalBpm = 60;  // metronome at the last 64th
    std::string instrumentCode = "BENDR";
};

// Samples per 64th at both ends and the step between successive 64ths, all three in single
// precision as the positions are computed from them: the j-th 64th (1-based) lasts
// a + (j − 1) × δ samples.
struct PassageTempo {
    int length64ths = 0; // L: sum of the stroke lengths of the stretch
    float a = 0;         // 60 ÷ introBpm × unitNote ÷ 64 × 44100
    float b = 0;         // the same with finalBpm
    float delta = 0;     // (b − a) ÷ (L − 1); 0 when L ≤ 1, where there is no step
    std::int64_t bufferSamples = 0; // round((b + a) ÷ 2 × L)
};

PassageTempo passageTempo(int length64ths, int unitNote, int introBpm, int finalBpm);

// 1-based sample where the stroke after `elapsed64ths` 64ths starts:
// round(a × e) + round((e − 1) × e ÷ 2 × δ) + 1. Computed from the elapsed 64ths every time,
// so the positions do not drift.
std::int64_t passagePosition(const PassageTempo& t, std::int64_t elapsed64ths);

enum class PassageStatus {
    Ok,
    NoBeats,  // the usul's stored totalLength is 0: messageText(Message::noBeats), buffer unchanged
    BadTempo, // a metronome value that is not positive: nothing rendered, unchanged
    ScratchFileError, // "Pasaj.dat" could not be used: the repetitions were made in memory
};

struct PassageResult {
    PassageStatus status = PassageStatus::Ok;
    PassageTempo tempo;
    // Reader failures met while mixing, in order (see wavStatusMessage).
    std::vector<WavStatus> messages;
    // 0-based sample where each circle holding a stroke starts sounding, in circle order,
    // for one repetition.
    std::vector<std::int64_t> strokeStarts;
};

// Renders circles firstHalka..lastHalka of `usul` (the record just read from its library
// slot; the caller keeps it as the current usul) into `passageBuffer` (passageBuffer[0] is
// sample 1), `repeat` times one after the other; the repetitions go through "Pasaj.dat" in
// `soundFolder`. Sample files come from `soundFolder` through `reader`, as in renderUsul.
// Circle numbers outside 1..180 are brought inside.
PassageResult DataYapPasaj(const UsulRecord& usul, const PassageRequest& request,
                           const std::filesystem::path& soundFolder, SampleReader& reader,
                           std::vector<std::int16_t>& passageBuffer);

} // namespace zerkavi
