// Note glyphs: which glyph and how many augmentation dots a stroke length gets, and
// where each glyph lies in the glyph strip.
//
// The strip holds three bands (large, medium, small) of 11 cells; cell c holds glyph code
// 159 + c. Codes 164, 166 and 168 (the flagged Düm notes) have wider cells.
#pragma once

#include "common/rounding.h"

#include <array>
#include <cstdint>

namespace zerkavi {

// One rectangle of the glyph strip: x, y, width, height.
struct GlyphRect {
    std::uint8_t x, y, width, height;
};
using GlyphTable = std::array<GlyphRect, 11>; // glyph codes 159..169

inline constexpr int kFirstGlyphCode = 159;
inline constexpr int kLastGlyphCode = 169;

// The table of one band: cell c at x = 20 c, `width` wide, `wideWidth` for the flagged
// Düm codes.
constexpr GlyphTable glyphBand(int y, int width, int wideWidth, int height) {
    GlyphTable t{};
    for (int c = 0; c < 11; ++c) {
        const int code = kFirstGlyphCode + c;
        const bool wide = code == 164 || code == 166 || code == 168;
        t[std::size_t(c)] = GlyphRect{std::uint8_t(20 * c), std::uint8_t(y),
                                      std::uint8_t(wide ? wideWidth : width), std::uint8_t(height)};
    }
    return t;
}
constexpr GlyphTable largeGlyphBand() {
    return glyphBand(0, 10, 18, 84);
}
constexpr GlyphTable mediumGlyphBand() {
    return glyphBand(90, 7, 12, 56);
}
constexpr GlyphTable smallGlyphBand() {
    return glyphBand(150, 5, 9, 42);
}

// A copy: tables are often temporaries (largeGlyphBand() …), and a rectangle is 4 bytes.
constexpr GlyphRect glyphRect(const GlyphTable& t, int code) {
    return t[std::size_t(code - kFirstGlyphCode)];
}

// Undotted value of a length that has a glyph (64, 32, 16, 8, 4, 2), 0 for any other
// length (1, 5, 9, …), which draws nothing but still counts in the total.
constexpr int glyphBaseValue(int length64ths) {
    switch (length64ths) {
    case 64:
    case 96:
    case 112:
        return 64;
    case 32:
    case 48:
    case 56:
        return 32;
    case 16:
    case 24:
    case 28:
        return 16;
    case 8:
    case 12:
    case 14:
        return 8;
    case 4:
    case 6:
    case 7:
        return 4;
    case 2:
    case 3:
        return 2;
    default:
        return 0;
    }
}

// Augmentation dots of a length: 0, 1 (value × 3/2) or 2 (value × 7/4).
constexpr int dotCount(int length64ths) {
    const int base = glyphBaseValue(length64ths);
    if (base == 0 || length64ths == base) return 0;
    return length64ths * 2 == base * 3 ? 1 : 2;
}

// Glyph code 159..169 of a stroke, 0 when its length has no glyph. The whole note is
// shared by both hands; the other values have a stem-up Düm and a stem-down Tek glyph.
constexpr int glyphCode(int length64ths, bool dum) {
    switch (glyphBaseValue(length64ths)) {
    case 64:
        return 159;
    case 32:
        return dum ? 160 : 161;
    case 16:
        return dum ? 162 : 163;
    case 8:
        return dum ? 164 : 165;
    case 4:
        return dum ? 166 : 167;
    case 2:
        return dum ? 168 : 169;
    default:
        return 0;
    }
}

// The length after one right click on a staff band: add a dot, add the second dot, or
// remove the dots. The thirty-second note takes one dot at most (2 -> 3 -> 2); a length
// outside the cycle (0, 1, 5, …) stays as it is.
inline int nextDotLength(int length64ths) {
    const double l = length64ths;
    switch (length64ths) {
    case 2:
    case 4:
    case 8:
    case 16:
    case 32:
    case 64:
        return int(roundHalfEven(l * 3 / 2));
    case 6:
    case 12:
    case 24:
    case 48:
    case 96:
        return int(roundHalfEven(l * 7 / 6));
    case 7:
    case 14:
    case 28:
    case 56:
    case 112:
        return int(roundHalfEven(l * 12 / 21));
    case 3:
        return int(roundHalfEven(l * 2 / 3));
    default:
        return length64ths;
    }
}

} // namespace zerkavi
