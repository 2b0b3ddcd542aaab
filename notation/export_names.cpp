#include "notation/export_names.h"

#include "common/rounding.h"
#include "notation/geometry.h"

#include <algorithm>

namespace zerkavi {

namespace {

std::u32string number(int value) {
    const std::string digits = std::to_string(value);
    return std::u32string(digits.begin(), digits.end());
}

std::u32string timeSignatureTitle(int numerator, int mertebe) {
    return number(numerator) + U" / " + number(mertebe) + std::u32string(8, U' ');
}

} // namespace

bool isForbiddenInFileName(char32_t c) {
    if (c < 0x20 || c == 0x7F) return true;
    return std::u32string_view(U"\\/:*?\"<>|").find(c) != std::u32string_view::npos;
}

bool hasForbiddenFileCharacters(std::u32string_view name) {
    return std::any_of(name.begin(), name.end(), isForbiddenInFileName);
}

std::u32string jpegFileName(int numerator, int mertebe, std::u32string_view nameBoxText) {
    const std::u32string name = trimBlanks(foldTurkishLetters(trimBlanks(nameBoxText)));
    return number(numerator) + U"-" + number(mertebe) + U"  " + name + U".jpg";
}

std::u32string jpegTitle(int numerator, int mertebe, std::u32string_view nameBoxText) {
    return timeSignatureTitle(numerator, mertebe) + trimBlanks(nameBoxText);
}

std::u32string printTitle(int numerator, int mertebe, std::u32string_view storedName) {
    std::u32string name(storedName);
    std::replace(name.begin(), name.end(), U'\0', U' ');
    return timeSignatureTitle(numerator, mertebe) + name;
}

std::vector<std::pair<int, int>> exportCircleCentres(int n) {
    std::vector<std::pair<int, int>> centres;
    const int rows = rowsForCircles(n);
    for (int r = 1; r <= rows; ++r)
        for (int j = 1; j <= kCirclesPerRow; ++j)
            centres.emplace_back(circleCentreX(j), rowTop(r) + kRowHeight / 2);
    return centres;
}

int oneRowStripWidth(int n, int minimum) {
    return std::max(20 * n + 40, minimum);
}

JpegLayout jpegLayout(int n, int pictureWidth, int pictureHeight) {
    JpegLayout l;
    l.canvasHeight = pictureHeight + kJpegExtraHeight;
    l.copyHeight = pictureHeight;
    if (rowsForCircles(n) == 1) {
        l.copyWidth = oneRowStripWidth(n, kJpegMinimumStrip);
        l.canvasWidth = l.copyWidth + kJpegSideMargin;
    } else {
        l.copyWidth = pictureWidth;
        l.canvasWidth = pictureWidth;
    }
    return l;
}

int twipsToDots(int twips, int dotsPerInch) {
    return int(roundHalfEven(double(twips) * dotsPerInch / kTwipsPerInch));
}

PrintPlacement printPlacement(int n, int pictureWidth, int pictureHeight, int pageWidthDots,
                              int dpiX, int dpiY) {
    PrintPlacement p;
    p.x = 0;
    p.y = twipsToDots(kPrintPictureTop, dpiY);
    p.height = twipsToDots(kTwipsPerPixel * pictureHeight, dpiY);
    p.sourceHeight = pictureHeight;
    if (rowsForCircles(n) == 1) {
        p.sourceWidth = oneRowStripWidth(n, kPrintMinimumStrip);
        p.width = std::min(twipsToDots(kTwipsPerPixel * p.sourceWidth, dpiX), pageWidthDots);
    } else {
        p.sourceWidth = pictureWidth;
        p.width = pageWidthDots;
    }
    return p;
}

std::string_view codecStatusText(int status) {
    switch (status) {
    case 1:
        return "Generic Error.";
    case 2:
        return "Invalid Parameter.";
    case 3:
        return "Out Of Memory.";
    case 4:
        return "Object Busy.";
    case 5:
        return "Insufficient Buffer.";
    case 6:
        return "Not Implemented.";
    case 8:
        return "Wrong State.";
    case 9:
        return "Aborted.";
    case 10:
        return "File Not Found.";
    case 11:
        return "Value Overflow.";
    case 12:
        return "Access Denied.";
    case 13:
        return "Unknown Image Format.";
    case 14:
        return "FontFamily Not Found.";
    case 15:
        return "FontStyle Not Found.";
    case 16:
        return "Not TrueType Font.";
    case 17:
        return "Unsupported Gdiplus Version.";
    case 18:
        return "Gdiplus Not Initialized.";
    case 19:
        return "Property Not Found.";
    case 20:
        return "Property Not Supported.";
    case 21:
        return "Profile Not Found";
    default:
        return "Unknown GDI+ Error.";
    }
}

CodecReport codecStatusReport(int status) {
    if (status == kCodecOk) return {};
    if (status == kCodecFileSystemError) return {Message::forbiddenName, {}};
    return {Message::none,
            std::string(codecStatusText(status)) + " GDI+ Error:" + std::to_string(status)};
}

} // namespace zerkavi
