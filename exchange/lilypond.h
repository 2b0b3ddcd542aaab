// LilyPond (2.24) source of an usul's notation, in drum mode: `dum` and `tek` notes on a
// two-line staff (Düm on the upper line, stem up; Tek on the lower, stem down), the
// syllables as lyrics under it and the loudness levels as dynamics over it.
#pragma once

#include "usul/record.h"

#include <string>

namespace zerkavi {

inline constexpr const char* kLilyPondVersion = "2.24.0";

// One cycle, titled with the usul's name, at the metronome `bpm` of `unitNote` notes. The
// usul's bar lines are dashed bar lines; where they cut the cycle into groups of mertebe
// notes the time signature carries them (Aksak: \time 2,2,2,3 9/8, printed 2+2+2+3 over
// 8). A length the notation cannot draw is written as tied notes. The usul must hold
// strokes.
std::string usulLilyPond(const UsulRecord& usul, int bpm, int unitNote);

} // namespace zerkavi
