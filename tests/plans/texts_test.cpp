#include "plans/texts.h"
#include "tests/support/golden.h"
#include "usul/window_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

using namespace zerkavi;
using zerkavi::testing::matchesGolden;

// Every message, caption and the worked example in both languages, blanks and line ends
// shown, as one text to read through.
TEST(TextsGolden, EveryTextOfBothLanguages) {
    auto shown = [](const std::string& text) {
        std::string s = "[";
        for (char c : text)
            s += c == '\r'   ? std::string("\\r")
                 : c == '\n' ? std::string("\\n\n  ")
                             : std::string(1, c);
        return s + "]";
    };
    std::ostringstream out;
    for (Language lang : {Language::English, Language::Turkish}) {
        const LanguageTexts& t = languageTexts(lang);
        out << (lang == Language::English ? "English" : "Turkish") << '\n';
        for (int i = 1; i <= kLastMessage; ++i)
            out << i << ' ' << shown(t.message[Message(i)]) << '\n';
        out << "pause " << shown(t.pauseWord) << "\ncontinue " << shown(t.continueWord)
            << "\nexample " << shown(t.exampleText) << "\n\n";
    }
    std::set<std::string> controls;
    for (const Caption& c : captionTable()) {
        EXPECT_TRUE(controls.insert(c.control).second) << c.control;
        out << c.control << ' ' << shown(c.english) << ' ' << shown(c.turkish) << '\n';
    }
    EXPECT_TRUE(matchesGolden("texts.txt", out.str()));
}

TEST(OpeningEffect, RectanglesGrowFromTheCentre) {
    const EffectRect one = growingRect(110, 40, 837, 430, 1, 1);
    EXPECT_EQ(one.x1, 110);
    EXPECT_EQ(one.y1, 40);
    EXPECT_EQ(one.x2, 947);
    EXPECT_EQ(one.y2, 470);
    // The first of 5,000: 0.1674 wide, height 430/5000 = 0.086 rounds to 0.
    const EffectRect first = growingRect(110, 40, 837, 430, 1, 5000);
    EXPECT_EQ(first.x1, 528);
    EXPECT_EQ(first.x2, 529);
    EXPECT_EQ(first.y1, 255);
    EXPECT_EQ(first.y2, 255);
    // Half way: 418.5 wide, 215 high.
    const EffectRect half = growingRect(110, 40, 837, 430, 2500, 5000);
    EXPECT_EQ(half.x1, 319); // 110 + 209.25
    EXPECT_EQ(half.x2, 738); // 319.25 + 418.5 = 737.75
    EXPECT_EQ(half.y1, 148); // 40 + 107.5 -> 147.5 -> 148
    EXPECT_EQ(half.y2, 362); // 147.5 + 215 = 362.5 -> 362
    // The height is rounded before the rectangle is centred: 161.625 -> 162, y 174.5 -> 174.
    const EffectRect third = growingRect(110, 40, 837, 431, 3, 8);
    EXPECT_EQ(third.y1, 174);
    EXPECT_EQ(third.y2, 336);
}
