#include "exchange/score.h"

#include "notation/glyphs.h"

#include <algorithm>
#include <array>
#include <functional>

namespace zerkavi {

std::u32string trimmedField(std::u32string_view text) {
    const auto pad = [](char32_t c) { return c == U' ' || c == U'\0'; };
    std::size_t b = 0, e = text.size();
    while (b < e && pad(text[b]))
        ++b;
    while (e > b && pad(text[e - 1]))
        --e;
    return std::u32string(text.substr(b, e - b));
}

UsulScore usulScore(const UsulRecord& usul) {
    UsulScore s;
    s.name = trimmedField(usul.name);
    s.numerator = usul.numerator;
    s.mertebe = usul.mertebe;
    const int last = MevcutHalka(usul);
    int at = 0;
    for (int i = 1; i <= last; ++i) {
        const Halka& h = usul.circle(i);
        if (h.hasStroke()) {
            ScoreStroke st;
            st.circle = i;
            st.onset64ths = at;
            st.dumLength = h.rightDuration;
            st.tekLength = h.leftDuration;
            st.length64ths = h.leftDuration != 0 ? h.leftDuration : h.rightDuration;
            st.level = h.level;
            st.syllable = trimmedField(h.syllable);
            at += st.length64ths;
            s.strokes.push_back(std::move(st));
        }
        // A bar line stands after its circle, so after every stroke up to it.
        if (h.barLine == 1 && at > 0 && (s.barsAt64ths.empty() || s.barsAt64ths.back() != at))
            s.barsAt64ths.push_back(at);
    }
    s.length64ths = at;
    if (s.numerator < 1 || s.mertebe < 1 || s.mertebe > 64 || (s.mertebe & (s.mertebe - 1)) != 0) {
        s.mertebe = 1;
        while (s.mertebe < 64 && (at * s.mertebe) % 64 != 0)
            s.mertebe *= 2;
        s.numerator = std::max(1, at * s.mertebe / 64);
    }
    while (!s.barsAt64ths.empty() && s.barsAt64ths.back() >= at)
        s.barsAt64ths.pop_back();

    if (!s.barsAt64ths.empty() && s.mertebe > 0 && 64 % s.mertebe == 0 &&
        at == expectedLength(s.numerator, s.mertebe)) {
        const int unit = 64 / s.mertebe;
        int from = 0;
        for (std::size_t k = 0; k <= s.barsAt64ths.size(); ++k) {
            const int to = k < s.barsAt64ths.size() ? s.barsAt64ths[k] : at;
            if ((to - from) % unit != 0) {
                s.groups.clear();
                break;
            }
            s.groups.push_back((to - from) / unit);
            from = to;
        }
    }
    return s;
}

bool printsGroups(const UsulScore& s) {
    return s.groups.size() <= kMaxPrintedGroups &&
           std::adjacent_find(s.groups.begin(), s.groups.end(), std::not_equal_to<>()) !=
               s.groups.end();
}

std::vector<NotePart> noteParts(int length64ths) {
    // The notation's values, longest first, then the sixty-fourth and the breve for what
    // the notation cannot draw.
    static constexpr std::array<int, 19> kLengths = {128, 112, 96, 64, 56, 48, 32, 28, 24, 16,
                                                     14,  12,  8,  7,  6,  4,  3,  2,  1};
    std::vector<NotePart> parts;
    int rest = length64ths;
    while (rest > 0) {
        const int l =
            *std::find_if(kLengths.begin(), kLengths.end(), [&](int v) { return v <= rest; });
        const int base = l == 128 || l == 1 ? l : glyphBaseValue(l);
        parts.push_back({l, base, l == 128 || l == 1 ? 0 : dotCount(l)});
        rest -= l;
    }
    return parts;
}

int velocityOfLevel(int level) {
    switch (level) {
    case 2:
        return 80;
    case 1:
        return 56;
    default:
        return 112;
    }
}

} // namespace zerkavi
