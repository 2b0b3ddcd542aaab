// Edges of the record that the library's own usuls never reach.
#include "usul/browser.h"
#include "usul/record.h"

#include <gtest/gtest.h>

namespace zerkavi {
namespace {

TEST(RecordEdges, AStrokeOnlyInCircleOneIsTheLastCircle) {
    UsulRecord r;
    r.circle(1).leftDuration = 16;
    EXPECT_EQ(MevcutHalka(r), 1);
}

TEST(RecordEdges, MertebeNinetyNineIsStillListed) {
    UsulRecord r;
    r.numerator = 5;
    r.mertebe = 99;
    EXPECT_EQ(UsulListItem(7, r).substr(0, 13), U"  7    5/99  ");
}

TEST(RecordEdges, ShortTextsArePaddedWithBlanksAndSpareBytesKeepTheirPlaces) {
    UsulRecord r;
    r.name = U"Ab";
    r.circle(3).reserved1 = 7;
    r.circle(3).reserved2 = 9;
    const RecordBytes b = encodeRecord(r);
    const std::size_t name = kCircles * kHalkaBytes + 2;
    EXPECT_EQ(b[name + 2], ' ');
    EXPECT_EQ(b[name + kNameChars - 1], ' ');
    EXPECT_EQ(b[2 * kHalkaBytes + 7], 7);
    EXPECT_EQ(b[2 * kHalkaBytes + 8], 9);
}

} // namespace
} // namespace zerkavi
