// Spacing of strokes on the circle grid. Each stroke is followed by a number of empty
// circles that grows with its note value; one parameter k (1..63) chooses the spacing
// through the halving table.
#pragma once

#include "usul/record.h"

#include <array>
#include <cstdint>

namespace zerkavi {

inline constexpr int kMaxSpacing = 63;

// Row k (1..63): column 0 = k / 2, column c = column c-1 / 2, each rounded ties to even.
using HalvingTable = std::array<std::array<std::uint8_t, 6>, kMaxSpacing + 1>;
HalvingTable TabloYap();

// Column of a stroke length's value class (whole 0 .. thirty-second 5), -1 for no class.
int valueClassColumn(int length64ths);

// Empty circles after a stroke of this length at spacing k (0 for a length without class).
int strokeGap(const HalvingTable& table, int k, int length64ths);

// Circle of the last stroke if the strokes of circles 1..n were laid out at spacing k.
int YeniHalka(const HalvingTable& table, const UsulRecord& r, int k, int n);

// Lays the strokes of circles 1..n out again at spacing k; a bar line standing just before
// a stroke stays just before it, every other bar line is lost.
void YeniDizilim(const HalvingTable& table, UsulRecord& r, int k, int n);

} // namespace zerkavi
