#include "tests/support/window_fixture.h"

#include "notation/layout.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

class EditingTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(start());
        window->show();
        // Pop-ups choose the item the test asks for instead of waiting for a click.
        window->popUp = [this](QMenu* menu, QPoint at) {
            opened.push_back({menu, at});
            if (choose) choose->trigger();
        };
    }
    void load(int slot) {
        window->But_yükle_Click();
        window->List1_Pick(slot - 1, Qt::LeftButton);
    }
    // A press on the notation at picture coordinates.
    void press(Qt::MouseButton button, QPoint p) {
        QTest::mousePress(window->Picture1, button, {}, p);
    }
    struct Opened {
        QMenu* menu;
        QPoint at;
    };
    std::vector<Opened> opened;
    QAction* choose = nullptr;
};

} // namespace

TEST_F(EditingTest, PressesBeforeAnUsulIsLoadedShowMessage15) {
    press(Qt::LeftButton, QPoint(40, 75));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].toStdString(),
              languageTexts(Language::Turkish).message[Message::loadAnUsulFirst]);
    EXPECT_TRUE(opened.empty());
    // Moving still shows the circle number in the corner.
    QTest::mouseMove(window->Picture1, QPoint(60, 75));
    EXPECT_EQ(window->currentHalka, 2);
}

TEST_F(EditingTest, NoteAndSyllableMenusChangeTheCircle) {
    load(201);
    // Left press on the circle band of circle 3 opens the note menu above the press.
    choose = window->Mn_editNota[3]; // Düm quarter
    press(Qt::LeftButton, QPoint(80, 75));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].menu, window->Mn_edit);
    EXPECT_EQ(opened[0].at,
              window->central->mapToGlobal(QPoint(80, window->Picture1->y() + 75 - 168)));
    EXPECT_EQ(window->currentUsul.circle(3).rightDuration, 16);
    EXPECT_EQ(window->currentUsul.circle(3).level, 0);
    EXPECT_EQ(window->Text4->text(), QStringLiteral("16"));
    // A Tek on the same circle keeps the Düm; the total counts the Düm only.
    choose = window->Mn_editNota[12];
    press(Qt::LeftButton, QPoint(80, 76));
    EXPECT_EQ(window->currentUsul.circle(3).leftDuration, 8);
    EXPECT_EQ(window->currentUsul.circle(3).rightDuration, 16);
    EXPECT_EQ(window->Text4->text(), QStringLiteral("16"));
    // Right press on the circle band: the syllable menu.
    choose = window->Mn_metin[7];
    press(Qt::RightButton, QPoint(80, 75));
    EXPECT_EQ(opened.back().menu, window->Mn_metinler);
    EXPECT_EQ(window->currentUsul.circle(3).syllable, U"Hek");
    // Loudness on the staff bands, left button: 0 -> 1 -> 2.
    choose = nullptr;
    press(Qt::LeftButton, QPoint(80, 60));
    press(Qt::LeftButton, QPoint(80, 90));
    EXPECT_EQ(window->currentUsul.circle(3).level, 2);
    // Dots on the Düm band with the right button: 16 -> 24 -> 28 -> 16.
    press(Qt::RightButton, QPoint(80, 58));
    EXPECT_EQ(window->currentUsul.circle(3).rightDuration, 24);
    press(Qt::RightButton, QPoint(80, 58));
    EXPECT_EQ(window->currentUsul.circle(3).rightDuration, 28);
    press(Qt::RightButton, QPoint(80, 58));
    EXPECT_EQ(window->currentUsul.circle(3).rightDuration, 16);
    // The gap after circle 3 toggles its bar line; on the last stroke it is drawn in red.
    press(Qt::LeftButton, QPoint(90, 75));
    EXPECT_EQ(window->currentUsul.circle(3).barLine, 1);
    EXPECT_EQ(QColor(window->Picture1->image().pixel(90, 63)), QColor(255, 0, 0));
    press(Qt::LeftButton, QPoint(90, 75));
    EXPECT_EQ(window->currentUsul.circle(3).barLine, 0);
    // Between the rows and left of the first circle nothing happens.
    const Halka before = window->currentUsul.circle(3);
    press(Qt::LeftButton, QPoint(34, 75));
    EXPECT_EQ(window->currentUsul.circle(3), before);
    // Delete the Düm through the menu's text item.
    choose = window->Mn_editNota[6];
    press(Qt::LeftButton, QPoint(80, 75));
    EXPECT_EQ(window->currentUsul.circle(3).rightDuration, 0);
    EXPECT_EQ(window->Text4->text(), QStringLiteral("8"));
    // Nothing was written to the library before Save.
    EXPECT_EQ(readBytes(folder / "usuller.usl").size(), 431104u);
    const auto bytes = readBytes(folder / "usuller.usl");
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(),
                           reinterpret_cast<const char*>(defaultLibraryImage().data())));
}

TEST_F(EditingTest, ClearAndTheDurationButtons) {
    load(233); // Düyek v. in the user area: everything is editable
    ASSERT_TRUE(window->But_Temizle->isEnabled());
    // Doubling is refused by a whole note; halving by a 32nd.
    window->currentUsul.circle(1).rightDuration = 64;
    window->But_mertebe_Click(0);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].toStdString(),
              languageTexts(Language::Turkish).message[Message::durationsAtLimit]);
    EXPECT_EQ(window->currentUsul.circle(1).rightDuration, 64);
    window->currentUsul.circle(1).rightDuration = 8;
    window->But_mertebe_Click(0);
    EXPECT_EQ(window->currentUsul.circle(1).rightDuration, 16);
    EXPECT_EQ(window->Label4->text(), QStringLiteral("Fazla"));
    window->But_mertebe_Click(1);
    EXPECT_EQ(window->currentUsul.circle(1).rightDuration, 8);

    // Expand and compress move strokes and never lose one.
    const int strokes = [&] {
        int n = 0;
        for (const Halka& h : window->currentUsul.circles)
            n += h.hasStroke();
        return n;
    }();
    const int total = window->currentUsul.totalLength;
    const int last = MevcutHalka(window->currentUsul);
    window->But_uzat_Click(); // laid out at the widest spacing already: nothing to do
    EXPECT_EQ(MevcutHalka(window->currentUsul), last);
    window->But_kısalt_Click();
    window->But_kısalt_Click();
    const int packed = MevcutHalka(window->currentUsul);
    EXPECT_LT(packed, last);
    window->But_uzat_Click();
    EXPECT_GT(MevcutHalka(window->currentUsul), packed);
    window->But_optimize_Click();
    int after = 0;
    for (const Halka& h : window->currentUsul.circles)
        after += h.hasStroke();
    EXPECT_EQ(after, strokes);
    EXPECT_EQ(window->currentUsul.totalLength, total);

    window->But_Temizle_Click();
    for (const Halka& h : window->currentUsul.circles) {
        ASSERT_FALSE(h.hasStroke());
        ASSERT_EQ(h.level, 2);
        ASSERT_EQ(h.syllable, U"   ");
    }
    // Label1 shows "0" until the numerator's change handler puts the slot back.
    EXPECT_EQ(window->Label1->text(), QStringLiteral("233"));
    EXPECT_EQ(window->Text2->text(), QStringLiteral("0"));
    EXPECT_EQ(window->Text3->text(), QStringLiteral("8"));
    EXPECT_TRUE(window->Text5->text().isEmpty());
    EXPECT_EQ(window->Label4->text(), QStringLiteral("Tamam"));
    EXPECT_EQ(window->currentSlot, 233); // still editable
}

TEST_F(EditingTest, LanguageSwitchRedrawsTheLoudnessLetters) {
    load(32);
    const QImage turkish = window->Picture1->image();
    window->Mn_Lisanlar->trigger();
    EXPECT_NE(window->Picture1->image(), turkish);
    EXPECT_EQ(window->Label4->text(), QStringLiteral("Match"));
    window->Mn_Lisanlar->trigger();
    EXPECT_EQ(window->Picture1->image(), turkish);
}
