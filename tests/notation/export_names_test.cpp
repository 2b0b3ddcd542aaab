// File names, titles and sizes of the exported and printed notation.
#include "notation/export_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

using namespace zerkavi;

TEST(ExportFileName, TimeSignatureTwoBlanksAndTheFoldedName) {
    EXPECT_EQ(jpegFileName(8, 4, U"Düyek"), U"8-4  Duyek.jpg");
    EXPECT_EQ(jpegFileName(10, 8, U"   Aksak   "), U"10-8  Aksak.jpg");
    // An empty (or all blank) name still gives a file, ending in the two blanks.
    EXPECT_EQ(jpegFileName(8, 4, U""), U"8-4  .jpg");
    EXPECT_EQ(jpegFileName(8, 4, std::u32string(40, U' ')), U"8-4  .jpg");
    // Blanks inside the name stay.
    EXPECT_EQ(jpegFileName(120, 4, U"Zencir  Usulü"), U"120-4  Zencir  Usulu.jpg");
}

TEST(ExportFileName, EveryTurkishLetterIsFoldedAndNothingElse) {
    EXPECT_EQ(foldTurkishLetters(U"ıİÇçŞşÖöÜüĞğ"), U"iICcSsOoUuGg");
    EXPECT_EQ(jpegFileName(9, 8, U"Çiftesofyan ağır Şarkı"), U"9-8  Ciftesofyan agir Sarki.jpg");
    // Letters outside the table are kept as they are, also in the file name.
    EXPECT_EQ(jpegFileName(10, 8, U"Aksak Semâî"), U"10-8  Aksak Semâî.jpg");
    EXPECT_EQ(foldTurkishLetters(U"İstanbul ılık"), U"Istanbul ilik");
    // Plain ASCII i and I are not touched: the replacement is exact, not case folding.
    EXPECT_EQ(foldTurkishLetters(U"Iii"), U"Iii");
}

TEST(ExportFileName, CharactersNoFileSystemTakesAreRefused) {
    for (char32_t c : std::u32string(U"\\/:*?\"<>|")) {
        EXPECT_TRUE(isForbiddenInFileName(c)) << int(c);
        EXPECT_TRUE(hasForbiddenFileCharacters(jpegFileName(8, 4, std::u32string(U"Düyek") + c)))
            << int(c);
    }
    EXPECT_TRUE(hasForbiddenFileCharacters(U"a\tb"));
    EXPECT_TRUE(hasForbiddenFileCharacters(std::u32string(1, U'\0')));
    // What usul names commonly hold is fine, the blanks and ".jpg" of the name as well.
    EXPECT_FALSE(hasForbiddenFileCharacters(jpegFileName(8, 4, U"Düyek (yürük) - 2.")));
    EXPECT_FALSE(hasForbiddenFileCharacters(jpegFileName(10, 8, U"Aksak Semâî'")));
    EXPECT_FALSE(hasForbiddenFileCharacters(U"8-4  .jpg"));
}

TEST(ExportTitles, TimeSignatureEightBlanksAndTheName) {
    EXPECT_EQ(jpegTitle(8, 4, U"  Düyek  "), U"8 / 4        Düyek");
    EXPECT_EQ(jpegTitle(8, 4, U""), U"8 / 4        ");
    // The printed title keeps the stored name whole, its trailing blanks included.
    const std::u32string stored = fixedText(U"Düyek", kNameChars);
    const std::u32string printed = printTitle(8, 4, stored);
    EXPECT_EQ(printed, U"8 / 4        " + stored);
    EXPECT_EQ(printed.size(), 13u + 40u);
    // A never-written slot holds NULs; they print as blanks.
    EXPECT_EQ(printTitle(3, 4, std::u32string(3, U'\0')), U"3 / 4           ");
}

TEST(ExportSizes, OneRowJpegIsAtLeast470PlusTheMargin) {
    const auto size = [](int n) {
        const JpegLayout l = jpegLayout(n, 964, 150);
        return std::tuple(l.canvasWidth, l.canvasHeight, l.copyWidth, l.copyHeight);
    };
    EXPECT_EQ(size(1), std::tuple(510, 210, 470, 150));
    EXPECT_EQ(size(21), std::tuple(510, 210, 470, 150)); // 20 * 21 + 40 = 460
    EXPECT_EQ(size(22), std::tuple(520, 210, 480, 150)); // first one past the minimum
    EXPECT_EQ(size(45), std::tuple(980, 210, 940, 150)); // last of one row
}

TEST(ExportSizes, SeveralRowsTakeTheWholePicture) {
    const auto size = [](int n, int height) {
        const JpegLayout l = jpegLayout(n, 964, height);
        return std::tuple(l.canvasWidth, l.canvasHeight, l.copyWidth, l.copyHeight);
    };
    EXPECT_EQ(size(46, 300), std::tuple(964, 360, 964, 300));
    EXPECT_EQ(size(91, 450), std::tuple(964, 510, 964, 450));
    EXPECT_EQ(size(180, 600), std::tuple(964, 660, 964, 600));
}

TEST(ExportSizes, CirclesHiddenAreEveryCircleOfTheRowsUsed) {
    EXPECT_EQ(exportCircleCentres(1).size(), 45u);
    EXPECT_EQ(exportCircleCentres(45).size(), 45u);
    const auto two = exportCircleCentres(46);
    ASSERT_EQ(two.size(), 90u);
    EXPECT_EQ(two.front(), std::pair(40, 75));
    EXPECT_EQ(two[44], std::pair(920, 75));
    EXPECT_EQ(two[45], std::pair(40, 225));
    EXPECT_EQ(two.back(), std::pair(920, 225));
    EXPECT_EQ(exportCircleCentres(180).back(), std::pair(920, 525));
}

TEST(ExportPrintLayout, TwipsBecomePrinterDotsTiesToEven) {
    EXPECT_EQ(twipsToDots(1440, 600), 600);
    EXPECT_EQ(twipsToDots(600, 1200), 500);
    EXPECT_EQ(twipsToDots(500, 1200), 417); // 416.67
    EXPECT_EQ(twipsToDots(9, 80), 0);       // 0.5
    EXPECT_EQ(twipsToDots(27, 80), 2);      // 1.5
    EXPECT_EQ(twipsToDots(45, 80), 2);      // 2.5
}

TEST(ExportPrintLayout, OneRowIsAStripOfAtLeast150PixelsAtScreenSize) {
    // At 96 dots to the inch a twip-laid page is the picture's own pixels.
    const auto at96 = [](int n) {
        const PrintPlacement p = printPlacement(n, 964, 150, 5000, 96, 96);
        return std::tuple(p.x, p.y, p.width, p.height, p.sourceWidth, p.sourceHeight);
    };
    EXPECT_EQ(at96(1), std::tuple(0, 33, 150, 150, 150, 150)); // 500 twips = 33.3 pixels
    EXPECT_EQ(at96(5), std::tuple(0, 33, 150, 150, 150, 150)); // 20 * 5 + 40 = 140
    EXPECT_EQ(at96(6), std::tuple(0, 33, 160, 150, 160, 150));
    const PrintPlacement hi = printPlacement(1, 964, 150, 9000, 1200, 1200);
    EXPECT_EQ(std::tuple(hi.y, hi.width, hi.height), std::tuple(417, 1875, 1875));
}

TEST(ExportPrintLayout, WideStripsAndSeveralRowsFitThePageWidth) {
    // 45 circles are 940 pixels, 11,750 dots at 1200: more than a portrait A4 page holds.
    const PrintPlacement wide = printPlacement(45, 964, 150, 9000, 1200, 1200);
    EXPECT_EQ(std::tuple(wide.width, wide.height, wide.sourceWidth), std::tuple(9000, 1875, 940));
    const PrintPlacement fits = printPlacement(45, 964, 150, 12000, 1200, 1200);
    EXPECT_EQ(fits.width, 11750);
    const PrintPlacement two = printPlacement(46, 964, 300, 9000, 1200, 1200);
    EXPECT_EQ(std::tuple(two.width, two.height, two.sourceWidth, two.sourceHeight),
              std::tuple(9000, 3750, 964, 300));
}

TEST(ExportCodecStatus, MessagesOfTheImageWriter) {
    EXPECT_EQ(codecStatusReport(0).message, Message::none);
    EXPECT_TRUE(codecStatusReport(0).text.empty());
    // The file system refusing the file is reported as a name it cannot take.
    EXPECT_EQ(codecStatusReport(7).message, Message::forbiddenName);
    EXPECT_TRUE(codecStatusReport(7).text.empty());
    EXPECT_EQ(codecStatusReport(12).text, "Access Denied. GDI+ Error:12");
    EXPECT_EQ(codecStatusReport(21).text, "Profile Not Found GDI+ Error:21");
    EXPECT_EQ(codecStatusReport(22).text, "Unknown GDI+ Error. GDI+ Error:22");
    EXPECT_EQ(codecStatusReport(-3).text, "Unknown GDI+ Error. GDI+ Error:-3");
    for (int s : {1, 2, 3, 12, 21, 22})
        EXPECT_EQ(codecStatusReport(s).message, Message::none) << s;
}
