// Pictures carried inside the program, as PNG files.
#pragma once

#include <cstdint>
#include <span>

namespace zerkavi::embedded {

// The note glyphs in three sizes: 240 x 230, bands at y 0, 90 and 150, cell c at x = 20 c.
std::span<const std::uint8_t> glyphStrip();

} // namespace zerkavi::embedded
