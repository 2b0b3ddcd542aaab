#include "plans/library_texts.h"
#include "plans/texts.h"
#include "tests/support/golden.h"
#include "usul/library_file.h"
#include "usul/window_layout.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <sstream>

using namespace zerkavi;
using zerkavi::testing::matchesGolden;

// Every message, caption, the library's problems and the worked example in both languages,
// blanks and line ends shown, as one text to read through.
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
            << "\nexample " << shown(t.exampleText) << "\nsave failed "
            << shown(saveFailedText(lang)) << '\n';
        for (const LibraryState& s : {LibraryState{LibraryShape::Whole, kLibraryBytes, 256},
                                      {LibraryShape::Short, 10 * kRecordBytes, 10},
                                      {LibraryShape::Long, kLibraryBytes + 1, 256},
                                      {LibraryShape::NotALibrary, 1000, 0},
                                      {LibraryShape::Unreadable, 0, 0}})
            out << "library " << int(s.shape) << ' ' << shown(libraryProblemText(s, lang)) << '\n';
        out << '\n';
    }
    std::set<std::string> controls;
    for (const Caption& c : captionTable()) {
        EXPECT_TRUE(controls.insert(c.control).second) << c.control;
        out << c.control << ' ' << shown(c.english) << ' ' << shown(c.turkish) << '\n';
    }
    EXPECT_TRUE(matchesGolden("texts.txt", out.str()));
}

TEST(OpeningEffect, RectanglesGrowFromTheCentre) {
    // Step 1 of 1 is the whole rectangle. The first of 5,000 is 0.1674 wide and
    // 430 ÷ 5000 = 0.086 high, rounded to 0. Half way: 418.5 wide from 110 + 209.25, 215 high
    // from 147.5 → 148 to 362.5 → 362. The height is rounded before the rectangle is centred:
    // 161.625 → 162, y 174.5 → 174; 313.875 wide from 371.5625.
    const std::pair<EffectRect, std::array<int, 4>> cases[] = {
        {growingRect(110, 40, 837, 430, 1, 1), {110, 40, 947, 470}},
        {growingRect(110, 40, 837, 430, 1, 5000), {528, 255, 529, 255}},
        {growingRect(110, 40, 837, 430, 2500, 5000), {319, 148, 738, 362}},
        {growingRect(110, 40, 837, 431, 3, 8), {372, 174, 685, 336}}};
    for (const auto& [r, expected] : cases)
        EXPECT_EQ((std::array{r.x1, r.y1, r.x2, r.y2}), expected);
}
