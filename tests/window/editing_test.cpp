// Editing on the notation with the mouse, the editing buttons, and the keyboard.
#include "tests/support/window_fixture.h"

#include "notation/layout.h"
#include "usul/library_file.h"

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

class EditingTest : public StartedWindowTest {
  protected:
    void SetUp() override {
        StartedWindowTest::SetUp();
        // Pop-ups choose the item the test asks for instead of waiting for a click.
        window->popUp = [this](QMenu* menu, QPoint at) {
            opened.push_back(menu);
            openedAt = at;
            if (choose) choose->trigger();
        };
    }
    void press(Qt::MouseButton button, QPoint p) {
        QTest::mousePress(window->Picture1, button, {}, p);
    }
    const Halka& circle3() const { return window->currentUsul.circle(3); }
    std::vector<QMenu*> opened;
    QPoint openedAt;
    QAction* choose = nullptr;
};

} // namespace

TEST_F(EditingTest, PressesOnTheNotationEditTheCircleUnderThem) {
    press(Qt::LeftButton, QPoint(40, 75)); // nothing loaded yet
    EXPECT_EQ(messages.shown, QStringList{msg(Message::loadAnUsulFirst)});
    EXPECT_TRUE(opened.empty());
    messages.shown.clear();
    load(201);
    // Left on the circle band: the note menu, above the press.
    choose = window->Mn_editNota[3]; // Düm quarter
    press(Qt::LeftButton, QPoint(80, 75));
    ASSERT_EQ(opened, std::vector<QMenu*>{window->Mn_edit});
    EXPECT_EQ(openedAt, window->central->mapToGlobal(QPoint(80, window->Picture1->y() + 75 - 168)));
    EXPECT_EQ(circle3().rightDuration, 16);
    EXPECT_EQ(window->Text4->text(), QStringLiteral("16"));
    // Right on the circle band: the syllable menu.
    choose = window->Mn_metin[7];
    press(Qt::RightButton, QPoint(80, 75));
    EXPECT_EQ(opened.back(), window->Mn_metinler);
    EXPECT_EQ(circle3().syllable, U"Hek");
    choose = nullptr; // the core tests hold the rules of each band; one press proves the gap
    press(Qt::LeftButton, QPoint(90, 75)); // the gap after it: a bar line, red on screen
    EXPECT_EQ(circle3().barLine, 1);
    EXPECT_EQ(QColor(window->Picture1->image().pixel(90, 63)), QColor(255, 0, 0));
    // Nothing reaches the library before Save.
    EXPECT_TRUE(readBytes<std::uint8_t>(folder / kLibraryFileName) == libraryImage());
}

TEST_F(EditingTest, EveryEditingButtonActsOnce) {
    load(233); // Düyek v. in the user area: everything is editable
    window->currentUsul.circle(1).rightDuration = 64;
    window->But_mertebe[0]->click(); // a whole note cannot be doubled
    EXPECT_EQ(messages.shown, QStringList{msg(Message::durationsAtLimit)});
    window->currentUsul.circle(1).rightDuration = 8;
    window->But_mertebe[0]->click();
    EXPECT_EQ(window->currentUsul.circle(1).rightDuration, 16);
    EXPECT_EQ(window->Label4->text(), QStringLiteral("Fazla"));
    window->But_mertebe[1]->click();
    EXPECT_EQ(window->currentUsul.circle(1).rightDuration, 8);

    const auto strokes = [&] { return strokeList(window->currentUsul).size(); };
    const std::size_t count = strokes();
    const int last = MevcutHalka(window->currentUsul);
    window->But_kısalt->click();
    const int packed = MevcutHalka(window->currentUsul);
    EXPECT_LT(packed, last);
    window->But_uzat->click();
    EXPECT_GT(MevcutHalka(window->currentUsul), packed);
    window->But_kısalt->click();
    const int total = window->currentUsul.totalLength;
    window->But_optimize->click();
    EXPECT_EQ(strokes(), count);
    EXPECT_EQ(window->currentUsul.totalLength, total);

    window->But_Temizle->click();
    EXPECT_EQ(strokes(), 0u);
    EXPECT_TRUE(window->Text5->text().isEmpty());
    EXPECT_TRUE(window->But_kaydet->isEnabled()); // still editable
}

namespace {

class KeyboardTest : public StartedWindowTest {
  protected:
    void SetUp() override {
        StartedWindowTest::SetUp();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void key(Qt::Key k, QWidget* to = nullptr) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(to ? to : focus ? focus : window.get(), k);
    }
    // The current row and whether it is in sight, once the list is laid out.
    std::pair<int, bool> shownRow(QListWidget* list) {
        QTest::qWait(20);
        const QRect r = list->visualItemRect(list->currentItem());
        return {list->currentRow(), r.top() >= 0 && r.bottom() < list->viewport()->height()};
    }
};

} // namespace

TEST_F(KeyboardTest, TheListsOpenOnTheCurrentSlotAndAnswerTheKeys) {
    window->But_yükle->click();
    EXPECT_EQ(shownRow(window->List1), std::make_pair(0, true)) << "nothing loaded: slot 1";
    key(Qt::Key_End);
    key(Qt::Key_PageUp);
    const int row = window->List1->currentRow();
    key(Qt::Key_Return);
    EXPECT_EQ(window->currentSlot, row + 1);
    window->But_yükle->click();
    EXPECT_EQ(shownRow(window->List1), std::make_pair(row, true));
    key(Qt::Key_Down);
    key(Qt::Key_Escape); // loads nothing
    EXPECT_FALSE(window->List1->isVisible());
    EXPECT_EQ(window->currentSlot, row + 1);
    load(32); // the save list of a built-in usul starts at the user's first slot
    window->But_farklı->click();
    EXPECT_EQ(shownRow(window->List2), std::make_pair(0, true));
}

TEST_F(KeyboardTest, ArrowsPlusMinusAndSpace) {
    load(1);
    key(Qt::Key_Right, window.get());
    EXPECT_EQ(window->currentSlot, 2);
    key(Qt::Key_Left, window.get());
    EXPECT_EQ(window->currentSlot, 1);
    window->Text5->setFocus(); // in a text field the arrows move the cursor
    key(Qt::Key_Right, window->Text5);
    EXPECT_EQ(window->currentSlot, 1);
    window->setFocus();
    key(Qt::Key_Plus, window.get());
    EXPECT_EQ(window->bpm(), 151);
    key(Qt::Key_Minus, window.get());
    EXPECT_EQ(window->bpm(), 150);
    key(Qt::Key_Space, window.get());
    EXPECT_TRUE(window->usulPlaying);
    key(Qt::Key_Space, window.get());
    EXPECT_FALSE(window->usulPlaying);
    QTest::mouseClick(window->Label5, Qt::LeftButton); // Escape closes the tempo picker
    key(Qt::Key_Escape, window.get());
    EXPECT_FALSE(window->Picture8->isVisible());
}
