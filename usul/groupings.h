// The published groupings of built-in usuls whose rows carry no bar lines: where the
// smaller usuls of Aksak (2+2+2+3) or Devr-i hindî (3+4) meet. The table is compiled from
// the "groups" lines of assets/library/usuls.txt with the library image.
#pragma once

#include "usul/record.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace zerkavi {

struct KnownGrouping {
    std::u32string_view name;            // as the built-in row is named
    int zaman = 0;                       // the numerator of its time signature
    std::span<const std::uint8_t> parts; // zaman of each group, in order
};

// Generated with the library image; one entry per name and zaman count.
std::span<const KnownGrouping> builtInGroupings();

// The zaman of each group of the built-in usul that has `usul`'s name (trailing blanks
// aside) and zaman count, whatever its mertebe; empty when there is none. Bar lines are
// not looked at here: the caller decides whether they win.
std::vector<int> knownGrouping(const UsulRecord& usul);

} // namespace zerkavi
