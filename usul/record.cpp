#include "usul/record.h"

#include "common/rounding.h"
#include "common/text_codec.h"

#include <algorithm>

namespace zerkavi {

namespace {

void putText(std::uint8_t* out, const std::u32string& text, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        out[i] = i < text.size() ? charToCp1254(text[i]) : std::uint8_t(' ');
}

std::u32string getText(const std::uint8_t* in, std::size_t n) {
    std::u32string s(n, U'\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = cp1254ToChar(in[i]);
    return s;
}

constexpr std::size_t kTail = std::size_t(kCircles) * kHalkaBytes; // 1,620

} // namespace

std::u32string fixedText(std::u32string_view text, std::size_t n) {
    std::u32string s(text.substr(0, n));
    s.resize(n, U' ');
    return s;
}

UsulRecord emptyRecord() {
    UsulRecord r;
    for (Halka& h : r.circles)
        h.syllable = std::u32string(kSyllableChars, U' ');
    r.mertebe = 8;
    r.name = std::u32string(kNameChars, U' ');
    r.spare1 = std::u32string(kSpareChars, U' ');
    r.spare2 = std::u32string(kSpareChars, U' ');
    return r;
}

RecordBytes encodeRecord(const UsulRecord& r) {
    RecordBytes b{};
    for (std::size_t k = 0; k < std::size_t(kCircles); ++k) {
        const Halka& h = r.circles[k];
        std::uint8_t* p = b.data() + k * kHalkaBytes;
        p[0] = h.rightDuration;
        p[1] = h.leftDuration;
        p[2] = h.level;
        putText(p + 3, h.syllable, kSyllableChars);
        p[6] = h.barLine;
        p[7] = h.reserved1;
        p[8] = h.reserved2;
    }
    std::uint8_t* t = b.data() + kTail;
    t[0] = r.numerator;
    t[1] = r.mertebe;
    putText(t + 2, r.name, kNameChars);
    const auto total = std::uint16_t(r.totalLength);
    t[42] = std::uint8_t(total & 0xFF);
    t[43] = std::uint8_t(total >> 8);
    putText(t + 44, r.spare1, kSpareChars);
    putText(t + 54, r.spare2, kSpareChars);
    return b;
}

UsulRecord decodeRecord(std::span<const std::uint8_t, kRecordBytes> b) {
    UsulRecord r;
    for (std::size_t k = 0; k < std::size_t(kCircles); ++k) {
        Halka& h = r.circles[k];
        const std::uint8_t* p = b.data() + k * kHalkaBytes;
        h.rightDuration = p[0];
        h.leftDuration = p[1];
        h.level = p[2];
        h.syllable = getText(p + 3, kSyllableChars);
        h.barLine = p[6];
        h.reserved1 = p[7];
        h.reserved2 = p[8];
    }
    const std::uint8_t* t = b.data() + kTail;
    r.numerator = t[0];
    r.mertebe = t[1];
    r.name = getText(t + 2, kNameChars);
    r.totalLength = std::int16_t(std::uint16_t(t[42] | (t[43] << 8)));
    r.spare1 = getText(t + 44, kSpareChars);
    r.spare2 = getText(t + 54, kSpareChars);
    return r;
}

RecordBytes encodeColour(const ColourRecord& c) {
    RecordBytes b{};
    b[0] = c.red;
    b[1] = c.green;
    b[2] = c.blue;
    std::copy(c.filler.begin(), c.filler.end(), b.begin() + 3);
    return b;
}

ColourRecord decodeColour(std::span<const std::uint8_t, kRecordBytes> b) {
    ColourRecord c;
    c.red = b[0];
    c.green = b[1];
    c.blue = b[2];
    std::copy(b.begin() + 3, b.end(), c.filler.begin());
    return c;
}

int MevcutHalka(const UsulRecord& r) {
    for (int k = kCircles; k >= 1; --k)
        if (r.circle(k).rightDuration + r.circle(k).leftDuration > 0) return k;
    return 0;
}

int sumOfStrokes(const UsulRecord& r) {
    int sum = 0;
    for (const Halka& h : r.circles)
        sum += h.strokeLength();
    return sum;
}

int expectedLength(int numerator, int mertebe) {
    return int(roundHalfEven(64.0 / mertebe * numerator));
}

} // namespace zerkavi
