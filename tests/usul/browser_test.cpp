#include "common/messages.h"
#include "common/text_codec.h"
#include "tests/support/support.h"
#include "usul/browser.h"
#include "usul/library_file.h"

#include <gtest/gtest.h>

using namespace zerkavi;
using zerkavi::testing::builtIn;

TEST(Browser, ListItemColumns) {
    EXPECT_EQ(toUtf8(UsulListItem(32, builtIn(32))), " 32    8/8   Düyek" + std::string(35, ' '));
    EXPECT_EQ(toUtf8(UsulListItem(201, builtIn(201))), "201     /8" + std::string(43, ' '));
    for (int slot = 1; slot <= kLastUsulSlot; ++slot)
        ASSERT_EQ(UsulListItem(slot, builtIn(slot)).size(), 53u) << slot;
    UsulRecord r = emptyRecord();
    r.numerator = 5;
    r.mertebe = 99;
    EXPECT_EQ(UsulListItem(7, r).substr(0, 13), U"  7    5/99  ");
    r.numerator = 200;
    r.mertebe = 100; // above 99: no room, left blank
    EXPECT_EQ(UsulListItem(7, r), U"  7  200/  " + std::u32string(42, U' '));
    r.numerator = r.mertebe = 0;
    EXPECT_EQ(UsulListItem(7, r).substr(0, 13), U"  7     /    ");
}

TEST(Browser, NumberFieldsAndSaveChecks) {
    const std::pair<const char*, double> prefixes[] = {
        {"12", 12}, {"12abc", 12}, {"abc", 0}, {"", 0}, {"  3.5x", 3.5}, {"-4", -4}, {"-", 0}};
    for (auto [text, value] : prefixes)
        EXPECT_EQ(numericPrefix(text), value) << text;
    // The first failing check wins: name, beats, short, long.
    EXPECT_EQ(saveRefusal(true, 0, 99), Message::nameMissing);
    EXPECT_EQ(saveRefusal(false, 0, 0), Message::noBeats);
    EXPECT_EQ(saveRefusal(false, 64, 72), Message::beatsShort);
    EXPECT_EQ(saveRefusal(false, 64, 56), Message::beatsExceed);
    EXPECT_EQ(saveRefusal(false, 64, 64), Message::none);
    // A byte after rounding: 255.4 and -0.5 fit, 255.5 does not.
    for (double v : {0.0, 255.0, 255.4, -0.5})
        EXPECT_TRUE(fitsInByte(v)) << v;
    for (double v : {255.5, 256.0, -1.0})
        EXPECT_FALSE(fitsInByte(v)) << v;
}
