// File names and titles of the exported and printed notation (their sizes: geometry_test).
#include "notation/export_names.h"

#include <gtest/gtest.h>

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
