// The 1,684-byte record: its bytes, the code page of its texts, and what is computed from it.
#include "common/text_codec.h"
#include "tests/support/support.h"
#include "usul/library_file.h"
#include "usul/record.h"

#include <gtest/gtest.h>

using namespace zerkavi;
using zerkavi::testing::builtInBytes;

TEST(TextCodec, EveryByteRoundTripsAndTurkishLettersHaveTheirPlaces) {
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(charToCp1254(cp1254ToChar(std::uint8_t(b))), b) << "byte " << b;
    const std::u32string letters = fromUtf8("şŞğĞıİâîüÜçÇöÖ€");
    const std::uint8_t expected[] = {0xFE, 0xDE, 0xF0, 0xD0, 0xFD, 0xDD, 0xE2, 0xEE,
                                     0xFC, 0xDC, 0xE7, 0xC7, 0xF6, 0xD6, 0x80};
    ASSERT_EQ(letters.size(), std::size(expected));
    for (std::size_t i = 0; i < letters.size(); ++i)
        EXPECT_EQ(charToCp1254(letters[i]), expected[i]);
    // Characters the code page cannot hold are written as '?'.
    EXPECT_EQ(charToCp1254(U'→'), '?');
    EXPECT_EQ(toUtf8(fromUtf8("Darb-ı fetih")), "Darb-ı fetih");
    EXPECT_EQ(fromUtf8("a\xFF"), U"a\uFFFD"); // broken UTF-8 does not crash
}

TEST(Record, DuyekByteForByte) {
    const RecordBytes b = builtInBytes(32);
    // Circles of 9 bytes: Düm length, Tek length, level, syllable, bar line, two spare.
    const std::uint8_t circle1[] = {0x08, 0x00, 0x02, 0x44, 0xFC, 0x6D, 0, 0, 0};
    const std::uint8_t circle4[] = {0x00, 0x10, 0x03, 0x54, 0x65, 0x6B, 0, 0, 0};
    EXPECT_TRUE(std::equal(std::begin(circle1), std::end(circle1), b.begin()));
    EXPECT_TRUE(std::equal(std::begin(circle4), std::end(circle4), b.begin() + 27));
    const UsulRecord r = decodeRecord(b);
    EXPECT_EQ(std::tuple(r.circle(19).leftDuration, r.circle(19).level), std::tuple(16, 1));
    // Tail: 08 08, "Düyek" and 35 blanks, the total 64 as 40 00, then 20 NUL bytes.
    const std::string tail(b.begin() + 1620, b.end());
    EXPECT_EQ(tail, std::string("\x08\x08"
                                "D\xFCyek") +
                        std::string(35, ' ') + std::string("\x40\0", 2) + std::string(20, '\0'));
    EXPECT_EQ(r.totalLength, 64);
    EXPECT_EQ(r.name, fixedText(U"Düyek", 40));
}

TEST(Record, EverySlotOfTheImageRoundTripsUnchanged) {
    for (int slot = 1; slot <= kLastUsulSlot; ++slot)
        ASSERT_EQ(encodeRecord(decodeRecord(builtInBytes(slot))), builtInBytes(slot)) << slot;
    const RecordBytes colour = builtInBytes(kColourSlot);
    EXPECT_EQ(encodeColour(decodeColour(colour)), colour);
}

TEST(Record, TextsSignedTotalAndSpareBytesKeepTheirPlaces) {
    UsulRecord r = emptyRecord();
    r.name = fixedText(fromUtf8("Şâkir ığdır İî ğ"), 40);
    r.circle(180).rightDuration = 16;
    r.circle(180).syllable = fromUtf8("Kâ ");
    r.circle(3).reserved1 = 7;
    r.circle(3).reserved2 = 9;
    r.totalLength = -2; // signed 16-bit on disk
    const RecordBytes b = encodeRecord(r);
    EXPECT_EQ(std::vector<int>({b[1622], b[1662], b[1663], b[179 * 9 + 4], b[25], b[26]}),
              (std::vector<int>{0xDE, 0xFE, 0xFF, 0xE2, 7, 9}));
    EXPECT_EQ(decodeRecord(b), r);
    // Short texts are padded with blanks.
    r.name = U"Ab";
    EXPECT_EQ(encodeRecord(r)[1624], ' ');
    EXPECT_EQ(encodeRecord(r)[1661], ' ');
}

TEST(Record, CanonicalEmptyRecordBytes) {
    const RecordBytes b = encodeRecord(emptyRecord());
    std::string expected;
    for (int k = 0; k < kCircles; ++k)
        expected += std::string("\0\0\0   \0\0\0", 9);
    expected += std::string("\0\x08", 2) + std::string(40, ' ') + std::string(2, '\0') +
                std::string(20, ' ');
    EXPECT_EQ(std::string(b.begin(), b.end()), expected);
}

TEST(Record, LastCircleTotalAndExpectedLength) {
    UsulRecord r;
    EXPECT_EQ(MevcutHalka(r), 0);
    r.circle(1).leftDuration = 16; // a stroke only in circle 1 is the last circle
    EXPECT_EQ(MevcutHalka(r), 1);
    r.circle(7).leftDuration = 16;
    r.circle(3).rightDuration = 8;
    r.circle(3).leftDuration = 4; // both hands: the Düm counts
    EXPECT_EQ(MevcutHalka(r), 7);
    EXPECT_EQ(sumOfStrokes(r), 40);
    r.circle(180).leftDuration = 2;
    EXPECT_EQ(MevcutHalka(r), 180);
    // 64 ÷ mertebe × numerator; 64 ÷ 128 × n lands on halves, ties go to the even neighbour.
    const std::pair<int, int> metres[] = {{8, 8},   {3, 16},  {5, 32},  {88, 4},
                                          {1, 128}, {3, 128}, {5, 128}, {7, 128}};
    std::vector<int> lengths;
    for (auto [n, m] : metres)
        lengths.push_back(expectedLength(n, m));
    EXPECT_EQ(lengths, (std::vector<int>{64, 12, 10, 1408, 0, 2, 2, 4}));
}
