// An usul read as a musician reads its notation: the strokes one after the other with
// their onsets in 64ths, the bar lines inside the cycle and the groups they make. The
// MIDI, MusicXML and LilyPond writers all start from it.
#pragma once

#include "usul/record.h"

#include <string>
#include <vector>

namespace zerkavi {

// One circle that holds a stroke. A circle with both hands strikes both at once.
struct ScoreStroke {
    int circle = 0;          // 1-based
    int onset64ths = 0;      // from the start of the cycle
    int length64ths = 0;     // until the next stroke: the Tek's length when both hands strike
    int dumLength = 0;       // rightDuration, 0 = no Düm
    int tekLength = 0;       // leftDuration, 0 = no Tek
    int level = 0;           // 3 strong, 2 medium, 1 weak, 0 unset (sounds strong)
    std::u32string syllable; // without the padding blanks; may be empty
};

struct UsulScore {
    std::u32string name; // without the padding
    // The usul's time signature; one that notation cannot write (a mertebe that is not a
    // power of two up to 64, a numerator of 0) is replaced by the cycle's own length.
    int numerator = 0;
    int mertebe = 0;
    int length64ths = 0; // the end of the last stroke
    std::vector<ScoreStroke> strokes;
    // Where the usul's bar lines fall, in 64ths from the start, strictly inside the cycle,
    // ascending and without repeats.
    std::vector<int> barsAt64ths;
    // The bar lines as groups of mertebe notes (Aksak 2, 2, 2, 3) when they cut the cycle
    // into whole notes of the mertebe that add up to the numerator; empty otherwise.
    std::vector<int> groups;
};

// True when the groups are worth printing in the time signature (2+2+2+3 over 8): they
// differ in size and are few enough to read at a glance. Equal groups (Muhammes, eight of
// 4) and long chains (Havî, sixteen) read better as the plain 32/4 and 64/4.
inline constexpr std::size_t kMaxPrintedGroups = 6;
bool printsGroups(const UsulScore& s);

// Strokes follow each other as the renderer places them: a Düm alone moves on by its
// length, a Tek (alone or with a Düm on the same circle) by the Tek's.
UsulScore usulScore(const UsulRecord& usul);

// A name or syllable field without its padding blanks and NULs at either end.
std::u32string trimmedField(std::u32string_view text);

// One written note of a stroke: its length, the undotted value it is drawn as and its dots.
struct NotePart {
    int length64ths = 0;
    int value64ths = 0; // 128 (breve), 64 (whole) … 1 (sixty-fourth)
    int dots = 0;
};
// A length as the notes it is written with, tied one to the next: the notation's own
// values (with their dots) where one fits, otherwise the longest that fits first and the
// rest after it (5 = 4 + 1, a sixteenth tied to a sixty-fourth).
std::vector<NotePart> noteParts(int length64ths);

// MIDI velocity of a loudness level: 112, 80, 56; an unset level sounds strong.
int velocityOfLevel(int level);

} // namespace zerkavi
