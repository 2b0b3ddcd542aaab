// The progress display of a playing work plan: elapsed time and the filled share of a bar.
#pragma once

#include <cstdint>
#include <string>

namespace zerkavi {

// "mm.ss.mmm": minutes and seconds with at least two digits, milliseconds with three
// (01.05.250 for 65,250 ms).
std::string elapsedText(std::int32_t positionMs);

// Width of the filled part of a bar `width` pixels wide after `positionMs` of
// `playLengthMs`, rounded ties to even; 0 when the length is not positive.
int progressWidth(int width, double playLengthMs, std::int32_t positionMs);

} // namespace zerkavi
