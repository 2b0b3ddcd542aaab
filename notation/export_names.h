// Rules of printing and exporting the notation that need no window: the JPEG file name,
// the title lines, the sizes of the exported picture and of the printed strip, and the
// wording of the image writer's failures.
#pragma once

#include "common/messages.h"
#include "common/text_codec.h"
#include "usul/record.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zerkavi {

inline constexpr int kJpegQuality = 85;
// The title strip above the notation in the JPEG: the picture is copied to y = 40, the
// title starts at (40, 20), and 20 more pixels stay free below the picture.
inline constexpr int kJpegPictureTop = 40;
inline constexpr int kJpegExtraHeight = 60;
inline constexpr int kJpegTitleX = 40;
inline constexpr int kJpegTitleY = 20;
inline constexpr int kJpegTitlePoints = 12;
inline constexpr int kJpegMinimumStrip = 470;
inline constexpr int kJpegSideMargin = 40;

// The printed page is laid out in twips (1,440 to the inch), one picture pixel being 15
// twips, so the notation prints at its screen size of 96 pixels to the inch.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kPrintTitleX = 600;
inline constexpr int kPrintTitleY = 300;
inline constexpr int kPrintPictureTop = 500;
inline constexpr int kPrintMinimumStrip = 150;
// A 10-point line fits the 200 twips between the title and the picture.
inline constexpr int kPrintTitlePoints = 10;

// Characters a file name may not hold on any of the file systems the images travel to:
// \ / : * ? " < > | and the control characters.
bool isForbiddenInFileName(char32_t c);
bool hasForbiddenFileCharacters(std::u32string_view name);

// "8-4  Duyek.jpg": numerator, "-", mertebe, two blanks, the name box text trimmed,
// folded and trimmed again, ".jpg".
std::u32string jpegFileName(int numerator, int mertebe, std::u32string_view nameBoxText);

// "8 / 4" and eight blanks, then the name: for the JPEG the name box text trimmed, for
// the printer the 40 stored characters with their trailing blanks (NULs print as blanks).
std::u32string jpegTitle(int numerator, int mertebe, std::u32string_view nameBoxText);
std::u32string printTitle(int numerator, int mertebe, std::u32string_view storedName);

// Centres of the beat circles an export hides (white) and shows again (grey): all 45 of
// every row the usul uses, whether or not they hold a stroke. n = last circle with a stroke.
std::vector<std::pair<int, int>> exportCircleCentres(int n);

// Strip of the notation that carries strokes for a one-row usul: 20 pixels a circle plus
// the margins, never narrower than `minimum`.
int oneRowStripWidth(int n, int minimum);

// The JPEG canvas and the part of the notation picture copied onto it at (0, 40).
struct JpegLayout {
    int canvasWidth = 0;
    int canvasHeight = 0;
    int copyWidth = 0;
    int copyHeight = 0;
};
// One row: the strip of at least 470 pixels plus 40; several rows: the whole picture.
JpegLayout jpegLayout(int n, int pictureWidth, int pictureHeight);

// Converts a length in twips to printer dots (ties to even).
int twipsToDots(int twips, int dotsPerInch);

// Where the notation goes on the printed page, in printer dots from the top left of the
// printable area, and the part of the picture (in its pixels) that is printed there.
struct PrintPlacement {
    int x = 0, y = 0, width = 0, height = 0;
    int sourceWidth = 0, sourceHeight = 0;
};
// One row: the strip of at least 150 pixels at 15 twips a pixel; several rows: the whole
// picture stretched to the page's usable width. A one-row strip wider than the page is
// narrowed to the page width instead of being cut off.
PrintPlacement printPlacement(int n, int pictureWidth, int pictureHeight, int pageWidthDots,
                              int dpiX, int dpiY);

// What the window shows for a status of the image writer: 0 shows nothing, 7 (the file
// system refused the file) Message::forbiddenName, anything else the English status text followed
// by " GDI+ Error:" and the number, in a box titled kCodecErrorTitle.
inline constexpr int kCodecOk = 0;
inline constexpr int kCodecGenericError = 1;
inline constexpr int kCodecInvalidParameter = 2;
inline constexpr int kCodecOutOfMemory = 3;
inline constexpr int kCodecFileSystemError = 7;
inline constexpr const char* kCodecErrorTitle = "GDI Error";
std::string_view codecStatusText(int status);
struct CodecReport {
    Message message = Message::none;
    std::string text; // the status text to show when there is no message; empty for status 0
};
CodecReport codecStatusReport(int status);

} // namespace zerkavi
