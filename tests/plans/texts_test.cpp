#include "plans/texts.h"
#include "usul/window_layout.h"

#include <gtest/gtest.h>

#include <set>

using namespace zerkavi;

namespace {

int countLines(const std::string& s) {
    int n = 1;
    for (std::size_t i = s.find("\r\n"); i != std::string::npos; i = s.find("\r\n", i + 2))
        ++n;
    return n;
}

} // namespace

TEST(Texts, MessageTablesOfBothLanguages) {
    const LanguageTexts& en = languageTexts(Language::English);
    const LanguageTexts& tr = languageTexts(Language::Turkish);
    for (int i = 1; i <= kLastMessage; ++i) {
        if (i == 11 || i == 12) {
            EXPECT_TRUE(en.message[Message(i)].empty());
            EXPECT_TRUE(tr.message[Message(i)].empty());
        } else {
            EXPECT_FALSE(en.message[Message(i)].empty()) << i;
            EXPECT_FALSE(tr.message[Message(i)].empty()) << i;
        }
    }
    // Blanks around the texts belong to them.
    EXPECT_EQ(en.message[Message::loadError], "    Error loading usul.   ");
    EXPECT_EQ(tr.message[Message::loadError], "     usul okuma başarısız.     ");
    EXPECT_EQ(en.message[Message::noBeats], "              No beats !             ");
    EXPECT_EQ(tr.message[Message::protectedSlot],
              "1-200 arası  usuller değiştirilemez, Lutfen daha büyük numaraları deneyin.");
    EXPECT_EQ(tr.message[Message::durationsAtLimit],
              "      Mertebe daha fazla değiştirilemez.      ");
    EXPECT_EQ(en.message[Message::usulNumber], "  Invalid usul nr.  Line:  ");
    EXPECT_EQ(en.message[Message::introBpmTooLow], "Intro BpM is less than minimum.   Line: ");
    EXPECT_EQ(tr.message[Message::finalBpmTooLow], "Çıkış metronomu çok düşük.  Satır: ");
    EXPECT_EQ(en.message[Message::letterStrong] + en.message[Message::letterMedium] +
                  en.message[Message::letterWeak],
              "FMP");
    EXPECT_EQ(tr.message[Message::letterStrong] + tr.message[Message::letterMedium] +
                  tr.message[Message::letterWeak],
              "KOZ");
    EXPECT_EQ(en.pauseWord, "Pause");
    EXPECT_EQ(en.continueWord, "Continue");
    EXPECT_EQ(tr.pauseWord, "Bekle");
    EXPECT_EQ(tr.continueWord, "Devam");
}

TEST(Texts, HelpAboutAndTheWorkedExample) {
    for (Language lang : {Language::English, Language::Turkish}) {
        const LanguageTexts& t = languageTexts(lang);
        EXPECT_EQ(countLines(t.message[Message::helpText]), 3);
        EXPECT_EQ(countLines(t.message[Message::aboutText]), 6);
        EXPECT_NE(t.message[Message::aboutText].find("\r\n\r\n"), std::string::npos);
        EXPECT_EQ(countLines(t.exampleText), 13);
    }
    const LanguageTexts& en = languageTexts(Language::English);
    const LanguageTexts& tr = languageTexts(Language::Turkish);
    EXPECT_EQ(en.message[Message::helpText].substr(0, en.message[Message::helpText].find("\r\n")),
              "Read the textfile 'ReadMe.doc' at your workdirectory to learn how to use this "
              "program.");
    EXPECT_EQ(tr.message[Message::helpText].substr(0, tr.message[Message::helpText].find("\r\n")),
              "Proğramın kullanımı için çalışma klasörünüzdeki BeniOku dosyasını dikkatle okuyun.");
    const std::string enEnd = "THIS WORK PLAN WILL BE INDICATED AS SPECIFIED BELOW";
    EXPECT_EQ(en.exampleText.substr(en.exampleText.size() - enEnd.size()), enEnd);
    const std::string trEnd = "BU MEŞK PLANI AŞAĞIDA GÖSTERİLDİĞİ GİBİ BELİRTİLİR.";
    EXPECT_EQ(tr.exampleText.substr(tr.exampleText.size() - trEnd.size()), trEnd);
    EXPECT_NE(en.exampleText.find("\r\n\r\n-The usul of the composition is the 32/4 meter "
                                  "Muhammes.\r\n"),
              std::string::npos);
    EXPECT_NE(tr.exampleText.find("\r\n- Eserin usulü 32/4 lük Muhammes'tir. \r\n"),
              std::string::npos);
}

TEST(Texts, CaptionTableNamesEachControlOnce) {
    std::set<std::string> seen;
    for (const Caption& c : captionTable())
        EXPECT_TRUE(seen.insert(c.control).second) << c.control;
    auto find = [&](const char* name) -> const Caption& {
        for (const Caption& c : captionTable())
            if (std::string(c.control) == name) return c;
        throw std::runtime_error(name);
    };
    EXPECT_STREQ(find("But_Sil").turkish, "S i l");
    EXPECT_STREQ(find("Frame5").english, " Saved work plans ");
    EXPECT_STREQ(find("Frame10").turkish, "Meşkde ilk bölüm ");
    EXPECT_STREQ(find("Command10").english, "New ");
    EXPECT_STREQ(find("Mn_Lisanlar").turkish, "English");
    EXPECT_STREQ(find("Mn_Lisanlar").english, "Turkce");
    EXPECT_STREQ(find("ArayüzKalıp").turkish, "Zerkavi editörü");
    EXPECT_STREQ(find("Label2").english,
                 "Sequence name            Usul Nr       Time(s)    Unit       BpM ");
    EXPECT_EQ(seen.size(), 47u);
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

TEST(Texts, ExampleTextHasNoFinalLineEnd) {
    for (Language lang : {Language::English, Language::Turkish}) {
        const std::string& t = languageTexts(lang).exampleText;
        EXPECT_NE(t.back(), '\n');
    }
}
