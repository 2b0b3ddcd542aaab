// The keyboard and the lists' opening place; the shortcuts and the menu that shows them.
#include "tests/support/window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

class KeyboardTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(start());
        window->media.forceClock();
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void key(Qt::Key k, QWidget* to = nullptr) {
        QTest::keyClick(to                            ? to
                        : QApplication::focusWidget() ? QApplication::focusWidget()
                                                      : window.get(),
                        k);
    }
    // The row that is current and whether it is in sight, once the list is laid out.
    std::pair<int, bool> shownRow(QListWidget* list) {
        QTest::qWait(20);
        const QRect r = list->visualItemRect(list->currentItem());
        return {list->currentRow(), r.top() >= 0 && r.bottom() < list->viewport()->height()};
    }
};

} // namespace

TEST_F(KeyboardTest, TheLibraryListOpensOnTheCurrentSlotAndAnswersTheKeys) {
    window->But_yükle_Click();
    EXPECT_EQ(shownRow(window->List1), std::make_pair(0, true)) << "nothing loaded: slot 1";
    EXPECT_TRUE(window->List1->hasFocus());
    key(Qt::Key_End);
    key(Qt::Key_PageUp);
    const int row = window->List1->currentRow();
    EXPECT_LT(row, 254);
    EXPECT_GT(row, 200);
    key(Qt::Key_Return);
    EXPECT_FALSE(window->List1->isVisible());
    EXPECT_EQ(window->currentSlot, row + 1);

    // Opened again: the slot loaded is current and in sight; Down and Escape load nothing.
    window->But_yükle_Click();
    EXPECT_EQ(shownRow(window->List1), std::make_pair(row, true));
    key(Qt::Key_Down);
    key(Qt::Key_Escape);
    EXPECT_FALSE(window->List1->isVisible());
    EXPECT_EQ(window->currentSlot, row + 1);
    EXPECT_TRUE(window->But_yükle->isEnabled());

    // The save list starts at the user's first slot unless the usul is one of them.
    window->currentSlot = 210;
    window->loadCurrentSlot();
    window->currentUsul.circle(1).rightDuration = 8;
    window->göster();
    window->Text2->setText(QStringLiteral("1"));
    window->Text5->setText(QStringLiteral("x"));
    window->But_farklı_Click();
    ASSERT_TRUE(window->List2->isVisible());
    EXPECT_EQ(shownRow(window->List2), std::make_pair(9, true));
    key(Qt::Key_Escape);
    EXPECT_FALSE(window->List2->isVisible());
    EXPECT_EQ(window->currentSlot, 210);
}

TEST_F(KeyboardTest, ThePickerClosesOnEscapeAndOnAPressOutside) {
    const int before = window->bpm();
    QTest::mouseClick(window->Label5, Qt::LeftButton);
    ASSERT_TRUE(window->Picture8->isVisible());
    key(Qt::Key_Escape, window.get());
    EXPECT_FALSE(window->Picture8->isVisible());
    QTest::mouseClick(window->Label5, Qt::LeftButton);
    ASSERT_TRUE(window->Picture8->isVisible());
    const int unit = window->unitNote;
    QTest::mouseClick(window->PicBirimNota, Qt::LeftButton); // outside: only closes
    EXPECT_FALSE(window->Picture8->isVisible());
    EXPECT_EQ(window->unitNote, unit);
    EXPECT_EQ(window->bpm(), before);
    // Closed, the picker no longer takes presses from the rest of the window.
    QTest::mouseClick(window->PicBirimNota, Qt::LeftButton);
    EXPECT_NE(window->unitNote, unit);
}

TEST_F(KeyboardTest, SpaceArrowsPlusAndMinus) {
    key(Qt::Key_Right, window.get());
    EXPECT_EQ(window->currentSlot, 1);
    key(Qt::Key_Right, window.get());
    key(Qt::Key_Left, window.get());
    EXPECT_EQ(window->currentSlot, 1);
    // In a text field the arrows move the cursor.
    window->Text5->setFocus();
    key(Qt::Key_Right, window->Text5);
    EXPECT_EQ(window->currentSlot, 1);

    window->setFocus();
    key(Qt::Key_Plus, window.get());
    EXPECT_EQ(window->bpm(), 151);
    key(Qt::Key_Minus, window.get());
    key(Qt::Key_Minus, window.get());
    EXPECT_EQ(window->bpm(), 149);

    key(Qt::Key_Space, window.get());
    EXPECT_TRUE(window->usulPlaying);
    EXPECT_TRUE(window->But_Dur->isEnabled());
    key(Qt::Key_Space, window.get());
    EXPECT_FALSE(window->usulPlaying);
    EXPECT_TRUE(window->But_Baslat->isEnabled());
}

TEST_F(KeyboardTest, TheKeysMenuShowsTheShortcutsInBothLanguages) {
    const QList<QAction*> items = window->Mn_klavye->actions();
    QStringList keys;
    for (QAction* a : items)
        if (!a->isSeparator()) keys << a->shortcut().toString(QKeySequence::PortableText);
    EXPECT_EQ(keys, QStringList({"Space", "Esc", "Left", "Right", "+", "-"}));
    EXPECT_EQ(window->Mn_klavye->title(), QStringLiteral("Klavye"));
    EXPECT_EQ(window->Key_BaslatDur->text(), QString::fromUtf8("Başla / Dur"));
    window->Mn_Lisanlar->trigger();
    EXPECT_EQ(window->Mn_klavye->title(), QStringLiteral("Keys"));
    EXPECT_EQ(window->Key_BaslatDur->text(), QStringLiteral("Start / Stop"));
    // Locked with the other menus while a list is open.
    window->But_yükle_Click();
    EXPECT_FALSE(window->Mn_klavye->menuAction()->isEnabled());
}
