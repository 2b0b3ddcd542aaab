// Plan files in the sound folder: which plan names can become file names there, the bytes
// Save writes, and a plan file read back as the plan reader reads it.
#pragma once

#include "common/messages.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace zerkavi {

// The longest file name (in bytes of the UTF-8 path) the file systems we meet allow.
inline constexpr std::size_t kMaxFileNameBytes = 255;

// 0 when the plan file of `planName` (folded name + ".txt") is a plain file name of the sound
// folder; otherwise Message::planFileName. Refused: "/", "\", ":", control characters, a
// folded name "." or "..", and a file name longer than kMaxFileNameBytes. Nothing else.
Message planNameRefusal(std::u32string_view planName);

// What Save writes for a normalised plan text: code page 1254, and a CR LF after the last
// line too.
std::string planFileBytes(std::u32string_view normalisedText);

// The bytes of a plan file (code page 1254) as the plan reader gives them to the editor:
// its lines (ended by CR LF, CR or LF) joined by CR LF, without a final line end. Any bytes
// are accepted; an empty file is an empty text.
std::u32string planTextFromBytes(std::string_view bytes);

} // namespace zerkavi
