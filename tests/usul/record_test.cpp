#include "common/text_codec.h"
#include "usul/library_file.h"
#include "usul/record.h"

#include <gtest/gtest.h>

using namespace zerkavi;

namespace {

RecordBytes slotBytes(int slot) {
    RecordBytes b{};
    const auto image = defaultLibraryImage();
    std::copy_n(image.begin() + std::ptrdiff_t(slot - 1) * kRecordBytes, kRecordBytes, b.begin());
    return b;
}

} // namespace

TEST(TextCodec, EveryByteSurvivesDecodeAndEncode) {
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(charToCp1254(cp1254ToChar(std::uint8_t(b))), b) << "byte " << b;
}

TEST(TextCodec, TurkishLettersUseTheirCodePagePlaces) {
    const std::u32string letters = fromUtf8("şŞğĞıİâîüÜçÇöÖ€");
    const std::uint8_t expected[] = {0xFE, 0xDE, 0xF0, 0xD0, 0xFD, 0xDD, 0xE2, 0xEE,
                                     0xFC, 0xDC, 0xE7, 0xC7, 0xF6, 0xD6, 0x80};
    ASSERT_EQ(letters.size(), std::size(expected));
    for (std::size_t i = 0; i < letters.size(); ++i)
        EXPECT_EQ(charToCp1254(letters[i]), expected[i]);
    // Characters the code page cannot hold are written as '?'.
    EXPECT_EQ(charToCp1254(U'→'), '?');
    EXPECT_EQ(charToCp1254(U'ə'), '?');
    EXPECT_EQ(toUtf8(fromUtf8("Darb-ı fetih")), "Darb-ı fetih");
    EXPECT_EQ(fromUtf8("a\xFF"), U"a\uFFFD"); // broken UTF-8 does not crash
}

TEST(Record, DuyekMatchesTheWorkedExampleByteForByte) {
    const RecordBytes b = slotBytes(32);
    const std::uint8_t circle1[] = {0x08, 0x00, 0x02, 0x44, 0xFC, 0x6D, 0, 0, 0};
    const std::uint8_t circle4[] = {0x00, 0x10, 0x03, 0x54, 0x65, 0x6B, 0, 0, 0};
    EXPECT_TRUE(std::equal(std::begin(circle1), std::end(circle1), b.begin()));
    EXPECT_TRUE(std::equal(std::begin(circle4), std::end(circle4), b.begin() + 27));
    const UsulRecord r = decodeRecord(b);
    EXPECT_EQ(r.circle(10).leftDuration, 8);
    EXPECT_EQ(r.circle(10).level, 2);
    EXPECT_EQ(r.circle(13).rightDuration, 16);
    EXPECT_EQ(r.circle(13).level, 3);
    EXPECT_EQ(r.circle(19).leftDuration, 16);
    EXPECT_EQ(r.circle(19).level, 1);
    for (int k = 1; k <= kCircles; ++k) {
        if (k == 1 || k == 4 || k == 10 || k == 13 || k == 19) continue;
        for (int i = 0; i < kHalkaBytes; ++i)
            ASSERT_EQ(b[std::size_t((k - 1) * kHalkaBytes + i)], 0) << "circle " << k;
    }
    // Tail: 08 08, "Düyek" and 35 blanks, 40 00, then 20 NUL bytes.
    EXPECT_EQ(b[1620], 8);
    EXPECT_EQ(b[1621], 8);
    const std::uint8_t name[] = {'D', 0xFC, 'y', 'e', 'k'};
    EXPECT_TRUE(std::equal(std::begin(name), std::end(name), b.begin() + 1622));
    for (int i = 1627; i < 1662; ++i)
        EXPECT_EQ(b[std::size_t(i)], ' ');
    EXPECT_EQ(b[1662], 0x40);
    EXPECT_EQ(b[1663], 0x00);
    for (int i = 1664; i < kRecordBytes; ++i)
        EXPECT_EQ(b[std::size_t(i)], 0);
    EXPECT_EQ(r.totalLength, 64);
    EXPECT_EQ(r.name, fixedText(U"Düyek", 40));
}

TEST(Record, EverySlotOfTheImageRoundTripsUnchanged) {
    for (int slot = 1; slot <= kLastUsulSlot; ++slot) {
        const RecordBytes b = slotBytes(slot);
        ASSERT_EQ(encodeRecord(decodeRecord(b)), b) << "slot " << slot;
    }
    const RecordBytes colour = slotBytes(kColourSlot);
    EXPECT_EQ(encodeColour(decodeColour(colour)), colour);
}

TEST(Record, TurkishNameSurvivesEncodeAndDecode) {
    UsulRecord r = emptyRecord();
    r.name = fixedText(fromUtf8("Şâkir ığdır İî ğ"), 40);
    r.circle(180).rightDuration = 16;
    r.circle(180).syllable = fromUtf8("Kâ ");
    r.totalLength = -2; // signed 16-bit on disk
    const RecordBytes b = encodeRecord(r);
    EXPECT_EQ(b[1622], 0xDE);
    EXPECT_EQ(b[1662], 0xFE);
    EXPECT_EQ(b[1663], 0xFF);
    EXPECT_EQ(b[179 * 9 + 4], 0xE2);
    EXPECT_EQ(decodeRecord(b), r);
}

TEST(Record, CanonicalEmptyRecordBytes) {
    const RecordBytes b = encodeRecord(emptyRecord());
    for (int k = 0; k < kCircles; ++k) {
        const std::uint8_t expected[] = {0, 0, 0, ' ', ' ', ' ', 0, 0, 0};
        ASSERT_TRUE(std::equal(std::begin(expected), std::end(expected), b.begin() + k * 9))
            << "circle " << k + 1;
    }
    EXPECT_EQ(b[1620], 0);
    EXPECT_EQ(b[1621], 8);
    for (int i = 1622; i < 1662; ++i)
        EXPECT_EQ(b[std::size_t(i)], ' ');
    EXPECT_EQ(b[1662], 0);
    EXPECT_EQ(b[1663], 0);
    for (int i = 1664; i < kRecordBytes; ++i)
        EXPECT_EQ(b[std::size_t(i)], ' ');
}

TEST(Record, MevcutHalkaTotalAndExpectedLength) {
    UsulRecord r;
    EXPECT_EQ(MevcutHalka(r), 0);
    r.circle(7).leftDuration = 16;
    r.circle(3).rightDuration = 8;
    r.circle(3).leftDuration = 4; // both hands: the Düm counts
    EXPECT_EQ(MevcutHalka(r), 7);
    EXPECT_EQ(sumOfStrokes(r), 24);
    r.circle(180).leftDuration = 2;
    EXPECT_EQ(MevcutHalka(r), 180);

    EXPECT_EQ(expectedLength(8, 8), 64);
    EXPECT_EQ(expectedLength(3, 16), 12);
    EXPECT_EQ(expectedLength(5, 32), 10);
    EXPECT_EQ(expectedLength(88, 4), 1408);
    // 64 / 128 * n lands on halves: ties go to the even neighbour.
    EXPECT_EQ(expectedLength(1, 128), 0);
    EXPECT_EQ(expectedLength(3, 128), 2);
    EXPECT_EQ(expectedLength(5, 128), 2);
    EXPECT_EQ(expectedLength(7, 128), 4);
}
