// Code page 1254 (Turkish) and UTF-8 conversions for the fixed text fields.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zerkavi {

// Every byte decodes to one character; the five bytes 1254 leaves undefined decode to the
// C1 control with the same number, so any file content survives a read and write unchanged.
char32_t cp1254ToChar(std::uint8_t byte);
// A character that code page 1254 cannot hold is written as '?'.
std::uint8_t charToCp1254(char32_t c);

std::string toUtf8(std::u32string_view text);
// Invalid UTF-8 sequences become U+FFFD (which then encodes as '?').
std::u32string fromUtf8(std::string_view text);

// The text without blanks (U+0020 only) at either end.
std::u32string trimBlanks(std::u32string_view text);
// The twelve Turkish letters without ASCII twins replaced by them (ı -> i, İ -> I, ş -> s …),
// for file names that must read the same everywhere; â and î stay.
std::u32string foldTurkishLetters(std::u32string_view text);

} // namespace zerkavi
