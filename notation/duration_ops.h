// Changes to the usul in memory made by the notation's buttons, menus and mouse presses.
//
// Every operation works on the record only and says whether the window has to redraw;
// showing messages and opening popups is the window's part.
#pragma once

#include "notation/geometry.h"
#include "notation/layout.h"
#include "usul/record.h"

#include <array>
#include <string_view>

namespace zerkavi {

// ---- layout of the whole usul (the spacing buttons) ------------------------------------

// "<    >": lays the strokes out at the next wider spacing that makes the layout longer.
// Nothing changes when that layout would pass circle 180, or when no spacing lengthens it
// (an empty usul). True when the strokes were moved.
bool expandLayout(const HalvingTable& table, UsulRecord& r);

// ">   <": lays the strokes out at the widest spacing that makes the layout shorter.
// True when the strokes were moved.
bool compressLayout(const HalvingTable& table, UsulRecord& r);

// Auto-Layout. First each bar line that does not stand just before a stroke moves to just
// before the next stroke (and one after the last stroke goes away); then the strokes are
// laid out at the widest spacing that ends before circle 180. True when they were laid
// out again, which is when the window redraws; the bar-line moves stay in the record even
// when it returns false.
bool autoLayout(const HalvingTable& table, UsulRecord& r);

// Only the bar-line step of Auto-Layout, circles 1..n.
void normaliseBarLines(UsulRecord& r, int n);

// ---- doubling and halving every length -------------------------------------------------

enum class Scaling { Double = 0, Halve = 1 }; // the index of the two mertebe buttons
enum class ScalingResult {
    Scaled,  // every length of all 180 circles changed; redraw
    Refused, // nothing changed; the window shows Message::durationsAtLimit
};
// Doubling is refused when a length is a whole note (64, 96, 112), or would not fit in
// its byte; halving is refused when a length is 2, 3 or 7. Halving rounds ties to even, so
// 5 becomes 2 and 1 becomes 0, which removes that stroke.
ScalingResult scaleDurations(UsulRecord& r, Scaling how);

// ---- single-circle editing -------------------------------------------------------------

inline constexpr int kNoteChoices = 15;
inline constexpr int kSyllableChoices = 9;
// Captions of the syllable menu, the same in both languages.
inline constexpr std::array<std::u32string_view, kSyllableChoices> kSyllableCaptions = {
    U"Düm", U"Dü", U"Tek", U"Te", U"Ke", U"Kâ", U"Ta", U"Hek", U"Me"};

// What item `index` (0..14) of the note menu does: which hand and which length. Index 7 is
// the separator and does nothing.
struct NoteChoice {
    bool valid = false;
    bool dum = false; // right hand; otherwise left hand
    int length64ths = 0;
};
NoteChoice noteChoice(int index);

// Note menu choice on circle `current` (0 = none): sets that hand's length, clears the
// loudness and the syllable, leaves the other hand. True when the circle changed.
bool chooseNote(UsulRecord& r, int current, int index);
// Syllable menu choice (0..8) on circle `current`: its caption, blank-padded to 3.
bool chooseSyllable(UsulRecord& r, int current, int index);

// The bar line after circle k: 1 becomes 0, anything else 1.
void toggleBarLine(UsulRecord& r, int k);
// Loudness of circle k: 0 -> 1 -> 2 -> 3 -> 0.
void cycleLevel(UsulRecord& r, int k);
// Dots of one hand's length of circle k (see nextDotLength). True when it changed.
bool cycleDots(UsulRecord& r, int k, bool dum);
// Clear: every circle empty, loudness 2, blank syllable, no bar line. The name and the
// time signature stay.
void clearCircles(UsulRecord& r);

// What a press on the notation asks for. Popups are the window's to open; the rest is
// done by applyPress.
enum class PressAction {
    None,
    ToggleBarLine,
    CycleLevel,
    CycleDumDots,
    CycleTekDots,
    OpenNoteMenu,     // left button on the circle band
    OpenSyllableMenu, // right button on the circle band
};
// `primary` is the primary mouse button; every other button counts as the right one.
PressAction pressAction(const PressHit& hit, bool primary);
// Carries out a press action that needs no popup on circle k (the popups and None do
// nothing here). The window redraws after every press that hit a circle or a gap, after a
// popup too, whatever was chosen in it.
void applyPress(UsulRecord& r, int k, PressAction action);

} // namespace zerkavi
