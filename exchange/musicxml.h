// MusicXML 3.1 (partwise) of an usul's notation: one percussion part on a two-line staff,
// Düm on the upper line with the stem up, Tek on the lower line with the stem down.
#pragma once

#include "exchange/midi.h"
#include "usul/record.h"

#include <string>

namespace zerkavi {

// The lines as notation programs place them on a two-line percussion staff: its two lines
// stand where the top two lines of a five-line staff would (F5 and D5).
inline constexpr const char* kMusicXmlDumStep = "F";
inline constexpr const char* kMusicXmlTekStep = "D";
inline constexpr int kMusicXmlOctave = 5;
inline constexpr int kMusicXmlDivisions = 16; // a 64th is one division

// One cycle: the usul's name as the title, the time signature (the groups of its bar lines
// as an additive signature where they give them), a measure for each stretch between the
// usul's bar lines (dashed) and the closing bar, the metronome `bpm` of `unitNote` notes,
// every stroke with its note value and dots, its syllable as the lyric and its loudness as
// a dynamic (f, mf, p; nothing for an unset level). A length the notation cannot draw is
// written as tied notes. The usul must hold strokes.
std::string usulMusicXml(const UsulRecord& usul, int bpm, int unitNote, const MidiKeys& keys = {});

} // namespace zerkavi
