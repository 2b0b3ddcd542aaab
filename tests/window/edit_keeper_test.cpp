// Undo and redo of every kind of change to a user usul, and the question on each way out
// of a changed one.
#include "tests/support/window_fixture.h"

#include "window/edit_keeper.h"

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

using Action = std::function<void(ArayüzKalıp&)>;
using Case = std::pair<const char*, Action>;

class EditKeeperTest : public WindowTest, public ::testing::WithParamInterface<Case> {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(startActive());
        window->But_yükle_Click();
        window->List1_Pick(231 - 1, Qt::LeftButton); // "Müsemmen v.", a user slot with strokes
        keeper = window->findChild<EditKeeper*>();
        ASSERT_NE(keeper, nullptr);
        keeper->record();
    }
    std::tuple<UsulRecord, QString, QString> shown() const {
        return {window->currentUsul, window->Text2->text(), window->Text5->text()};
    }
    EditKeeper* keeper = nullptr;
};

class Undo : public EditKeeperTest {};

TEST_P(Undo, TakesTheChangeBackAndRedoesIt) {
    const auto before = shown();
    GetParam().second(*window);
    QTest::qWait(150); // the keeper notices the change by itself
    const auto after = shown();
    ASSERT_NE(after, before);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(shown(), before);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(shown(), after);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(shown(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, Undo,
    ::testing::Values(Case{"note",
                           [](ArayüzKalıp& w) {
                               w.currentHalka = 2;
                               w.Mn_editNota_Click(3);
                           }},
                      Case{"clear", [](ArayüzKalıp& w) { w.But_Temizle_Click(); }},
                      Case{"double", [](ArayüzKalıp& w) { w.But_mertebe_Click(0); }},
                      Case{"name", [](ArayüzKalıp& w) { w.Text5->setText("Yeni"); }},
                      Case{"time", [](ArayüzKalıp& w) { w.Text2->setText("9"); }}),
    [](const auto& info) { return std::string(info.param.first); });

class WayOut : public EditKeeperTest {};

TEST_P(WayOut, AsksBeforeAChangedUsulIsLeftAndStaysOnCancel) {
    window->Text5->setText(QString::fromUtf8("Değişti"));
    keeper->record();
    messages.answer = false;
    GetParam().second(*window);
    ASSERT_EQ(messages.asked.size(), 1);
    EXPECT_EQ(window->currentSlot, 231);
    EXPECT_EQ(window->Text5->text(), QString::fromUtf8("Değişti"));
    EXPECT_FALSE(window->Option4->isChecked());
    messages.answer = true;
    GetParam().second(*window);
    EXPECT_EQ(messages.asked.size(), 2);
    GetParam().second(*window); // left: nothing more to ask
    EXPECT_EQ(messages.asked.size(), 2);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, WayOut,
    ::testing::Values(Case{"previous", [](ArayüzKalıp& w) { w.But_önceki_Click(); }},
                      Case{"next", [](ArayüzKalıp& w) { w.But_sonraki_Click(); }},
                      Case{"list",
                           [](ArayüzKalıp& w) {
                               w.But_yükle_Click();
                               w.List1_Pick(4, Qt::LeftButton);
                           }},
                      Case{"planned", [](ArayüzKalıp& w) { w.Option4->click(); }},
                      Case{"close", [](ArayüzKalıp& w) { w.close(); }}),
    [](const auto& info) { return std::string(info.param.first); });

TEST_F(EditKeeperTest, SavingLeavesNothingToAskAbout) {
    window->Text5->setText(QStringLiteral("Kayitli"));
    window->But_kaydet_Click();
    window->But_sonraki_Click();
    EXPECT_TRUE(messages.asked.isEmpty());
    EXPECT_EQ(window->currentSlot, 232);
}

} // namespace
