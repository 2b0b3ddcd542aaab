// Rules of the usul browser that need no window: list lines, number fields, save checks.
#pragma once

#include "common/messages.h"
#include "usul/record.h"

#include <string>
#include <string_view>

namespace zerkavi {

// The 53-character list line of a slot: number right-aligned in columns 1-3, the time
// signature around the "/" of column 9, the 40-character name from column 14.
std::u32string UsulListItem(int slot, const UsulRecord& r);

// The leading number of a field, as typed ("12abc" -> 12, "abc" -> 0, " 3.5" -> 3.5).
double numericPrefix(std::string_view text);

// The message Save and Save As show for what the fields hold, Message::none when the usul may
// be saved. Checked in this order: empty name, no beats, too short, too long.
Message saveRefusal(bool nameEmpty, int totalLength, int expectedLength);

// Whether a typed time-signature value fits the record's byte.
bool fitsInByte(double value);

} // namespace zerkavi
