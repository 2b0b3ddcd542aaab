// The 1,684-byte record: its bytes, the code page of its texts, and what is computed from it.
#include "common/text_codec.h"
#include "tests/support/golden.h"
#include "tests/support/support.h"
#include "usul/library_file.h"
#include "usul/record.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>

using namespace zerkavi;
using zerkavi::testing::builtInBytes;

// Where the Turkish letters go is in the name of the full record below.
TEST(TextCodec, EveryByteRoundTrips) {
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(charToCp1254(cp1254ToChar(std::uint8_t(b))), b) << "byte " << b;
    // Characters the code page cannot hold are written as '?'.
    EXPECT_EQ(charToCp1254(U'→'), '?');
    EXPECT_EQ(toUtf8(fromUtf8("Darb-ı fetih")), "Darb-ı fetih");
    EXPECT_EQ(fromUtf8("a\xFF\xC3x"), U"a\uFFFD\uFFFDx"); // broken UTF-8 does not crash
}

// Düyek as built in, the record Delete writes, and one with every text, a signed total and
// spare bytes set, byte for byte: circles of 9 bytes (Düm length, Tek length, level, syllable,
// bar line, two spare), then mertebe, numerator, the 40-character name, the total (signed
// 16-bit, low byte first) and 20 spare characters; texts in code page 1254, padded with blanks.
TEST(RecordGolden, DuyekEmptyAndAFullRecordByteForByte) {
    UsulRecord full = emptyRecord();
    full.name = fromUtf8("Şâkir ığdır İî ğ şĞüÜçÇöÖ€");
    full.circle(180).rightDuration = 16;
    full.circle(180).syllable = fromUtf8("Kâ ");
    full.circle(3).reserved1 = 7;
    full.circle(3).reserved2 = 9;
    full.totalLength = -2;
    std::ostringstream out;
    out << std::hex << std::setfill('0');
    for (const RecordBytes& b : {builtInBytes(32), encodeRecord(emptyRecord()), encodeRecord(full)})
        for (std::size_t i = 0; i < b.size(); ++i)
            out << std::setw(2) << int(b[i])
                << (i + 1 == b.size() || (i < 1620 ? i % 9 == 8 : i % 20 == 19) ? '\n' : ' ');
    EXPECT_TRUE(zerkavi::testing::matchesGolden("records.txt", out.str()));
    const UsulRecord back = decodeRecord(encodeRecord(full));
    EXPECT_EQ(back.name, fixedText(full.name, kNameChars));
    EXPECT_EQ(std::tuple(back.totalLength, back.circle(3).reserved2), std::tuple(-2, 9));
    const UsulRecord duyek = decodeRecord(builtInBytes(32));
    EXPECT_EQ(std::tuple(duyek.circle(19).leftDuration, duyek.circle(19).level, duyek.totalLength),
              std::tuple(16, 1, 64));
    EXPECT_EQ(duyek.name, fixedText(U"Düyek", 40));
}

TEST(Record, EverySlotOfTheImageRoundTripsUnchanged) {
    for (int slot = 1; slot <= kLastUsulSlot; ++slot)
        ASSERT_EQ(encodeRecord(decodeRecord(builtInBytes(slot))), builtInBytes(slot)) << slot;
    const RecordBytes colour = builtInBytes(kColourSlot);
    EXPECT_EQ(encodeColour(decodeColour(colour)), colour);
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
