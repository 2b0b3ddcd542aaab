#include "common/text_codec.h"

#include <array>

namespace zerkavi {

namespace {

// 0x80..0x9F of code page 1254; undefined places keep their own number.
constexpr std::array<char32_t, 32> kHigh80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x008E, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x009E, 0x0178};

} // namespace

char32_t cp1254ToChar(std::uint8_t b) {
    if (b >= 0x80 && b <= 0x9F) return kHigh80[b - 0x80];
    switch (b) {
    case 0xD0:
        return 0x011E; // Ğ
    case 0xDD:
        return 0x0130; // İ
    case 0xDE:
        return 0x015E; // Ş
    case 0xF0:
        return 0x011F; // ğ
    case 0xFD:
        return 0x0131; // ı
    case 0xFE:
        return 0x015F; // ş
    default:
        return b;
    }
}

std::uint8_t charToCp1254(char32_t c) {
    if (c < 0x80) return std::uint8_t(c);
    if (c >= 0xA0 && c <= 0xFF && c != 0xD0 && c != 0xDD && c != 0xDE && c != 0xF0 && c != 0xFD &&
        c != 0xFE)
        return std::uint8_t(c);
    for (std::size_t i = 0; i < kHigh80.size(); ++i)
        if (kHigh80[i] == c) return std::uint8_t(0x80 + i);
    switch (c) {
    case 0x011E:
        return 0xD0;
    case 0x0130:
        return 0xDD;
    case 0x015E:
        return 0xDE;
    case 0x011F:
        return 0xF0;
    case 0x0131:
        return 0xFD;
    case 0x015F:
        return 0xFE;
    default:
        return '?';
    }
}

std::string toUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u32string fromUtf8(std::string_view s) {
    std::u32string out;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = std::uint8_t(s[i]);
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + std::size_t(extra) >= s.size()) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        char32_t c = extra == 0   ? b
                     : extra == 1 ? (b & 0x1F)
                     : extra == 2 ? (b & 0x0F)
                                  : (b & 0x07);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const auto cb = std::uint8_t(s[i + std::size_t(k)]);
            if ((cb & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            c = (c << 6) | (cb & 0x3F);
        }
        if (!ok) {
            out += U'\uFFFD';
            ++i;
            continue;
        }
        out += c;
        i += std::size_t(extra) + 1;
    }
    return out;
}

std::u32string trimBlanks(std::u32string_view text) {
    const auto first = text.find_first_not_of(U' ');
    if (first == std::u32string_view::npos) return {};
    const auto last = text.find_last_not_of(U' ');
    return std::u32string(text.substr(first, last - first + 1));
}

std::u32string foldTurkishLetters(std::u32string_view text) {
    std::u32string out(text);
    for (char32_t& c : out) {
        switch (c) {
        case U'ı':
            c = U'i';
            break;
        case U'İ':
            c = U'I';
            break;
        case U'Ç':
            c = U'C';
            break;
        case U'ç':
            c = U'c';
            break;
        case U'Ş':
            c = U'S';
            break;
        case U'ş':
            c = U's';
            break;
        case U'Ö':
            c = U'O';
            break;
        case U'ö':
            c = U'o';
            break;
        case U'Ü':
            c = U'U';
            break;
        case U'ü':
            c = U'u';
            break;
        case U'Ğ':
            c = U'G';
            break;
        case U'ğ':
            c = U'g';
            break;
        default:
            break;
        }
    }
    return out;
}

} // namespace zerkavi
