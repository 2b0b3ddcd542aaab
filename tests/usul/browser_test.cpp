#include "common/text_codec.h"
#include "tests/support/support.h"
#include "usul/browser.h"
#include "usul/library_file.h"

#include <gtest/gtest.h>

using namespace zerkavi;
using zerkavi::testing::builtIn;

namespace {

std::string item(int slot, const UsulRecord& r) {
    return toUtf8(UsulListItem(slot, r));
}

} // namespace

TEST(Browser, ListItemColumns) {
    EXPECT_EQ(item(32, builtIn(32)), " 32    8/8   Düyek" + std::string(35, ' '));
    EXPECT_EQ(item(183, builtIn(183)), "183   88/4   Darb-ı fetih" + std::string(28, ' '));
    EXPECT_EQ(item(201, builtIn(201)), "201     /8" + std::string(43, ' '));
    EXPECT_EQ(item(255, builtIn(255)), "255   12/8   Darp şiddeti demo" + std::string(23, ' '));
    for (int slot = 1; slot <= 255; ++slot)
        ASSERT_EQ(UsulListItem(slot, builtIn(slot)).size(), 53u) << slot;
    UsulRecord r = emptyRecord();
    r.numerator = 200;
    r.mertebe = 100; // above 99: no room, left blank
    EXPECT_EQ(item(7, r), "  7  200/  " + std::string(42, ' '));
    r.numerator = 0;
    r.mertebe = 0;
    EXPECT_EQ(item(7, r).substr(0, 13), "  7     /    ");
}

TEST(Browser, NumberFieldsAndSaveChecks) {
    EXPECT_EQ(numericPrefix("12"), 12);
    EXPECT_EQ(numericPrefix("12abc"), 12);
    EXPECT_EQ(numericPrefix("abc"), 0);
    EXPECT_EQ(numericPrefix(""), 0);
    EXPECT_EQ(numericPrefix("  3.5x"), 3.5);
    EXPECT_EQ(numericPrefix("-4"), -4);
    EXPECT_EQ(numericPrefix("-"), 0);

    // The first failing check wins: name, beats, short, long.
    EXPECT_EQ(saveRefusal(true, 0, 99), Message::nameMissing);
    EXPECT_EQ(saveRefusal(false, 0, 0), Message::noBeats);
    EXPECT_EQ(saveRefusal(false, 64, 72), Message::beatsShort);
    EXPECT_EQ(saveRefusal(false, 64, 56), Message::beatsExceed);
    EXPECT_EQ(saveRefusal(false, 64, 64), Message::none);

    EXPECT_TRUE(fitsInByte(0));
    EXPECT_TRUE(fitsInByte(255));
    EXPECT_TRUE(fitsInByte(255.4));
    EXPECT_FALSE(fitsInByte(255.5)); // rounds to 256
    EXPECT_FALSE(fitsInByte(256));
    EXPECT_FALSE(fitsInByte(-1));
    EXPECT_TRUE(fitsInByte(-0.5)); // rounds to 0
}
