// The work-plan (meşk planı) text: one section per line, five fields separated by blanks:
//
//   name  usul-number  repeat  unit  metronome
//   Final 165          49-     4     84>50
//
// repeat is "R" (the whole usul R times), "-N" (circles 1..N once) or "N-" (circles N..last
// once); metronome is "B" or "A>B" (from A to B). Lines are separated by CR LF.
//
// Only Save checks a plan; loading and rendering read a stored plan with the same field rules
// and no checks, because a stored plan has passed them (unless edited by hand). Numbers are
// read by their numeric prefix, so "84abc" is 84 and a field without a number is 0.
//
// Texts are held as characters (UTF-32): column widths count characters, and the plan file
// is written in code page 1254, one byte per character.
#pragma once

#include "plans/texts.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zerkavi {

class LibraryFile;

inline constexpr int kPlanMinBpm = 20;
inline constexpr int kPlanMaxBpm = 208;
inline constexpr int kPlanFirstUsul = 1;
inline constexpr int kPlanLastUsul = 255;
inline constexpr std::size_t kPlanLineChars = 43;

// One line of a plan as the renderer uses it. Every number is Val of its field rounded to
// the nearest integer, ties to even, and held in 16 bits (out-of-range values saturate).
struct PlanSection {
    std::u32string sectionName;
    std::int16_t usulNo = 0;      // library slot
    std::int16_t startHalka = 0;  // first circle played, 1-based
    std::int16_t endHalka = 0;    // last circle played
    std::int16_t repeatCount = 0; // times the stretch is played
    std::int16_t unitNote = 0;    // 2, 4, 8, 16: the note the metronome counts
    std::int16_t introBpm = 0;    // metronome at the start of the section
    std::int16_t finalBpm = 0;    // metronome at its end
    bool operator==(const PlanSection&) const = default;
};

struct MeskPlan {
    std::u32string name;
    std::vector<PlanSection> sections; // sections[0] is section 1
    bool operator==(const MeskPlan&) const = default;
};

// The last used circle (MevcutHalka) of a library slot. The window's reader also loads the
// slot into the usul it shows, as checking and rendering a plan do; a slot that cannot be
// read counts as 0. It may be given any number, also one outside 1..255.
using LastCircleOfSlot = std::function<int(int slot)>;

// Reads the slots from an open library file. The file must outlive the returned callable.
LastCircleOfSlot lastCircleReader(const LibraryFile& library);

// What Save decided. message is 0 when the plan may be stored; otherwise it is the message
// to show, and line the 1-based position of the offending line among the non-empty lines
// (0 for messages that carry no line number). Everything else is filled only on success.
struct PlanSaveResult {
    Message message = Message::none;
    int line = 0;
    std::u32string normalisedText;            // 43-character lines joined by CR LF
    std::vector<std::u32string> sectionNames; // field 1 of each line, before cutting
    std::u32string fileName;                  // trimmed, folded name + ".txt"
    bool ok() const { return message == Message::none; }
};

// Save's checks, in order: empty plan text (27), empty name box (26, before trimming), then
// line by line the field count (28), usul number (29), dashes (30), circle number (31), unit
// (32), metronome (33..39); the first failure ends the check. A text of blank lines only
// gives 27, a name of blanks only 26 and a name that cannot be a file name of the sound
// folder Message::planFileName (see planNameRefusal), all three after all lines passed.
PlanSaveResult checkPlanForSave(std::u32string_view planText, std::u32string_view planName,
                                const LastCircleOfSlot& lastCircle);

// The text of a refusal in a language: the message, and the line number right after it
// when there is one.
std::string planMessageText(Message message, int line, Language lang);

// One line normalised: blanks trimmed and runs of blanks reduced to one (tabs and other
// characters are left alone).
std::u32string collapseBlanks(std::u32string_view line);
// Fields of a stored line: runs of blanks collapsed, split at blanks, nothing trimmed
// (a stored line ends in padding and so yields an empty last field).
std::vector<std::u32string> storedLineFields(std::u32string_view line);
// The 43-character line of five fields: name in columns 1-17, usul number 20-23, repeat
// 26-29, unit 32-34, metronome 37-43, each left-aligned and cut to its column.
std::u32string normalisedPlanLine(const std::vector<std::u32string>& fields);

// The text split at every CR LF; an empty text has no lines. A lone CR or LF is an ordinary
// character of its line.
std::vector<std::u32string> splitPlanLines(std::u32string_view text);
// Lone LF or CR (as a text box hands them over) made into CR LF; CR LF stays as it is.
std::u32string withCrLf(std::u32string_view text);

// A stored plan read for playing: one section per line, without checks. The reader is asked
// for every line's slot, in line order.
MeskPlan parseStoredPlan(std::u32string_view name, std::u32string_view text,
                         const LastCircleOfSlot& lastCircle);
// Field 1 of every line of a stored plan, for the section list.
std::vector<std::u32string> storedSectionNames(std::u32string_view text);

// Blanks trimmed and the Turkish letters ıİÇçŞşÖöÜüĞğ replaced by their plain Latin
// letters; nothing else is changed.
std::u32string foldPlanName(std::u32string_view name);
// The plan file of a plan name: folded name + ".txt".
std::u32string planFileName(std::u32string_view name);
// The plan name shown for a file: every ".txt" removed (case-sensitive).
std::u32string planNameFromFileName(std::u32string_view fileName);

} // namespace zerkavi
