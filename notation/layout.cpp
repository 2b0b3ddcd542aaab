#include "notation/layout.h"

#include "notation/glyphs.h"

#include "common/rounding.h"

namespace zerkavi {

HalvingTable TabloYap() {
    HalvingTable t{};
    for (int k = 1; k <= kMaxSpacing; ++k) {
        double v = k;
        for (int c = 0; c < 6; ++c) {
            v = roundHalfEven(v / 2.0);
            t[std::size_t(k)][std::size_t(c)] = std::uint8_t(v);
        }
    }
    return t;
}

int valueClassColumn(int len) {
    // The class is the note value a length is drawn as, dots aside: whole 0 .. 32nd 5.
    switch (glyphBaseValue(len)) {
    case 64:
        return 0;
    case 32:
        return 1;
    case 16:
        return 2;
    case 8:
        return 3;
    case 4:
        return 4;
    case 2:
        return 5;
    default:
        return -1;
    }
}

int strokeGap(const HalvingTable& table, int k, int len) {
    const int c = valueClassColumn(len);
    return c < 0 ? 0 : table[std::size_t(k)][std::size_t(c)];
}

int YeniHalka(const HalvingTable& table, const UsulRecord& r, int k, int n) {
    int count = 0, last = 0;
    for (int i = 1; i <= n; ++i) {
        last = 0;
        const Halka& h = r.circle(i);
        if (!h.hasStroke()) continue;
        ++count;
        if (valueClassColumn(h.strokeLength()) >= 0) {
            last = strokeGap(table, k, h.strokeLength());
            count += last;
        }
    }
    return count - last;
}

void YeniDizilim(const HalvingTable& table, UsulRecord& r, int k, int n) {
    std::array<Halka, kCircles> fresh{};
    int p = 0;
    for (int i = 1; i <= n; ++i) {
        const Halka& old = r.circle(i);
        if (!old.hasStroke()) continue;
        ++p;
        if (p > kCircles) break;
        Halka& h = fresh[std::size_t(p - 1)];
        if (old.rightDuration != 0)
            h.rightDuration = old.rightDuration;
        else
            h.leftDuration = old.leftDuration;
        h.syllable = old.syllable;
        h.level = old.level;
        if (i > 1 && p > 1) fresh[std::size_t(p - 2)].barLine = r.circle(i - 1).barLine;
        p += strokeGap(table, k, old.strokeLength());
    }
    // The new set starts all-zero, so a circle that receives nothing ends with level 0 and
    // a syllable of NUL characters, as the empty circles of the built-in library have; the
    // reserved bytes are not part of the layout and stay.
    for (std::size_t i = 0; i < fresh.size(); ++i) {
        Halka& dst = r.circles[i];
        const Halka& src = fresh[i];
        dst.rightDuration = src.rightDuration;
        dst.leftDuration = src.leftDuration;
        dst.level = src.level;
        dst.barLine = src.barLine;
        dst.syllable = src.syllable;
    }
}

} // namespace zerkavi
