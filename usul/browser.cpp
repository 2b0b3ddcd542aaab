#include "usul/browser.h"

#include "common/messages.h"
#include "common/rounding.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace zerkavi {

namespace {

std::u32string ascii(const std::string& s) {
    return std::u32string(s.begin(), s.end());
}

std::u32string rightAligned(int value, std::size_t width) {
    std::u32string s = ascii(std::to_string(value));
    return std::u32string(width > s.size() ? width - s.size() : 0, U' ') + s;
}

} // namespace

std::u32string UsulListItem(int slot, const UsulRecord& r) {
    std::u32string line = rightAligned(slot, 3) + U"  ";
    line += r.numerator == 0 ? std::u32string(3, U' ') : rightAligned(r.numerator, 3);
    line += U'/';
    std::u32string mertebe;
    if (r.mertebe != 0 && r.mertebe <= 99) mertebe = ascii(std::to_string(r.mertebe));
    mertebe.resize(2, U' ');
    line += mertebe + U"  ";
    line += fixedText(r.name, kNameChars);
    return line;
}

double numericPrefix(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    std::string number;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) number += text[i++];
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
            number += c;
        } else if (c == '.' && !point) {
            point = true;
            number += c;
        } else {
            break;
        }
    }
    return digits ? std::strtod(number.c_str(), nullptr) : 0.0;
}

Message saveRefusal(bool nameEmpty, int totalLength, int expected) {
    if (nameEmpty) return Message::nameMissing;
    if (totalLength == 0) return Message::noBeats;
    if (expected > totalLength) return Message::beatsShort;
    if (expected < totalLength) return Message::beatsExceed;
    return Message::none;
}

bool fitsInByte(double value) {
    const double v = roundHalfEven(value);
    return v >= 0 && v <= 255;
}

} // namespace zerkavi
