#include "tests/support/window_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <fstream>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

class PlanScreenTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(start());
        window->slideWaitMs = 0;
        window->show();
    }
    std::filesystem::path sound() const { return folder / "zrkv"; }
};

const char* const kPlan = "1.Hane 165 2 4 84\n"
                          "Teslim  165   1 4 84\n"
                          "Teslim 165 -48 4 84\n"
                          "Final 165 49- 4 84>50\n";

} // namespace

TEST_F(PlanScreenTest, PlannedModeSlidesTheFramesUpAndBack) {
    const int low = window->innerHeight() + 2;
    window->Option4->click();
    EXPECT_EQ(window->Frame5->y(), low - 165);
    EXPECT_EQ(window->Frame9->y(), low - 165);
    EXPECT_FALSE(window->Picture1->isVisible());
    EXPECT_TRUE(window->Picture4->isVisible());
    EXPECT_TRUE(window->Command2->isEnabled());
    EXPECT_FALSE(window->Command1->isEnabled());
    EXPECT_FALSE(window->Command3->isEnabled());
    EXPECT_EQ(window->Command1->text(), QStringLiteral("Bekle"));
    // The usul table: slot 1 in the top left corner, ink there.
    const QImage table = window->Picture4->image();
    bool ink = false;
    for (int y = 2; y < 14; ++y)
        for (int x = 1; x < 40; ++x)
            if (qGray(table.pixel(x, y)) < 100) ink = true;
    EXPECT_TRUE(ink);

    window->Option2->click();
    EXPECT_EQ(window->Frame5->y(), low);
    EXPECT_TRUE(window->Picture1->isVisible());
    EXPECT_FALSE(window->Picture4->isVisible());
}

TEST_F(PlanScreenTest, SaveOpenAndDeleteAPlanFile) {
    window->Option4->click();
    window->Text9->setText(QString::fromUtf8("  Şarkı Ölçü "));
    window->Text14->setPlainText(QString::fromUtf8(kPlan));
    window->Command8_Click();
    ASSERT_TRUE(messages.shown.isEmpty()) << messages.shown.join('|').toStdString();
    const auto file = sound() / "Sarki Olcu.txt";
    ASSERT_TRUE(std::filesystem::exists(file));
    const auto bytes = readBytes(file);
    const std::string text(bytes.begin(), bytes.end());
    // Four lines of 43 characters, each ended by CR LF.
    EXPECT_EQ(text.size(), 4u * 45u);
    EXPECT_EQ(text.substr(43, 2), "\r\n");
    EXPECT_EQ(text.substr(0, 6), "1.Hane");
    EXPECT_EQ(window->File1->count(), 1);
    EXPECT_EQ(window->List3->count(), 4);
    EXPECT_EQ(window->List3->currentRow(), 0);
    EXPECT_EQ(window->List3->item(3)->text(), QStringLiteral("Final"));

    // Saving again under the same name replaces the file.
    window->Command8_Click();
    EXPECT_EQ(window->File1->count(), 1);

    // A refused plan shows its message with the line number and writes nothing.
    window->Text14->setPlainText(QStringLiteral("Bad 300 1 4 84\n"));
    window->Command8_Click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].toStdString(),
              languageTexts(Language::Turkish).message[Message::usulNumber] + "1");

    // Opening shows the name without ".txt" and the stored text.
    window->Command10_Click();
    EXPECT_TRUE(window->Text14->toPlainText().isEmpty());
    window->File1->setCurrentRow(0);
    window->File1->item(0)->setSelected(true);
    window->File1_Click();
    EXPECT_EQ(window->Text9->text(), QStringLiteral("Sarki Olcu"));
    EXPECT_TRUE(window->Text14->toPlainText().startsWith(QStringLiteral("1.Hane")));
    EXPECT_EQ(window->Text14->toPlainText().count('\n'), 3);

    window->Command5_Click();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(window->File1->count(), 0);
    EXPECT_EQ(window->List3->count(), 0);
    EXPECT_TRUE(window->Text9->text().isEmpty());
    // Nothing selected: message 25.
    window->Command5_Click();
    EXPECT_EQ(messages.shown.last().toStdString(),
              languageTexts(Language::Turkish).message[Message::noPlanSelected]);
}

TEST_F(PlanScreenTest, FilesWithoutLineEndAndDoubleExtensions) {
    { std::ofstream(sound() / "a.txt.txt", std::ios::binary) << "X 32 1 8 120"; }
    { std::ofstream(sound() / "b.txt", std::ios::binary) << "X 32 1 8 120\r\n"; }
    window->Option4->click();
    ASSERT_EQ(window->File1->count(), 2);
    // Entering the screen opened the first plan.
    EXPECT_EQ(window->Text9->text(), QStringLiteral("a"));
    const QString first = window->Text14->toPlainText();
    window->File1->setCurrentRow(1);
    window->File1->item(1)->setSelected(true);
    window->File1_Click();
    EXPECT_EQ(window->Text9->text(), QStringLiteral("b"));
    EXPECT_EQ(window->Text14->toPlainText(), first);
    EXPECT_EQ(window->List3->count(), 1);
}

TEST_F(PlanScreenTest, PlayingAPlanFromALaterSectionPauseAndStop) {
    window->media.forceClock();
    window->Option4->click();
    window->Text9->setText(QStringLiteral("Pesrev"));
    window->Text14->setPlainText(QString::fromUtf8(kPlan));
    window->Command8_Click();
    ASSERT_TRUE(messages.shown.isEmpty());
    window->File1->setCurrentRow(0);
    window->File1->item(0)->setSelected(true);
    window->File1_Click();
    window->List3->setCurrentRow(2); // the third section: circles 1-48 of slot 165
    window->media.clearSentCommands();
    const UsulRecord shownBefore = window->currentUsul;

    window->Command4_Click();
    const PlanRenderResult& plan = window->plan;
    ASSERT_EQ(plan.sectionEndMs.size(), 4u);
    EXPECT_EQ(window->playFromMs, plan.endMsOfSection(2));
    // The position queries of the marker aside.
    const QStringList sent =
        window->media.sentCommands().filter(QRegularExpression(QStringLiteral("^(?!status)")));
    ASSERT_EQ(sent.size(), 4);
    EXPECT_EQ(sent[2], "open " + QString::fromStdString((sound() / "Eser.---").string()) +
                           " type WaveAudio alias kivo");
    EXPECT_EQ(sent[3], QStringLiteral("play kivo from %1").arg(plan.endMsOfSection(2)));
    // The usul of the section playing is shown; only the boundary still ahead has a timer.
    EXPECT_EQ(window->Label1->text(), QStringLiteral("165"));
    EXPECT_TRUE(window->Picture1->isVisible());
    EXPECT_EQ(window->sectionTimers.runningCount(), 1);
    EXPECT_TRUE(window->sectionTimers.isRunning(3));
    EXPECT_NE(window->planEnd.planEndTimer(), 0u);
    EXPECT_TRUE(window->TimerWav->isActive());
    // Playing: only Stop and Pause.
    EXPECT_TRUE(window->Command3->isEnabled());
    EXPECT_TRUE(window->Command1->isEnabled());
    EXPECT_FALSE(window->Command4->isEnabled());
    EXPECT_FALSE(window->File1->isEnabled());
    EXPECT_EQ(std::int64_t(std::lround(window->playLengthMs)),
              std::int64_t(plan.endMsOfSection(4)));

    window->Command1_Click(); // pause
    EXPECT_EQ(window->media.sentCommands().last(), QStringLiteral("pause kivo"));
    EXPECT_EQ(window->Command1->text(), QStringLiteral("Devam"));
    EXPECT_EQ(window->sectionTimers.runningCount(), 0);
    EXPECT_EQ(window->planEnd.planEndTimer(), 0u);
    window->Command1_Click(); // continue
    EXPECT_EQ(window->media.sentCommands().last(), QStringLiteral("resume kivo"));
    EXPECT_EQ(window->Command1->text(), QStringLiteral("Bekle"));
    EXPECT_EQ(window->sectionTimers.runningCount(), 1);
    window->Command1_Click(); // pause again, then stop
    window->List3->setCurrentRow(0);
    window->Command3_Click();
    EXPECT_EQ(window->media.sentCommands().mid(window->media.sentCommands().size() - 2),
              QStringList({"stop kivo", "close kivo"}));
    EXPECT_EQ(window->Command1->text(), QStringLiteral("Bekle"));
    EXPECT_EQ(window->List3->currentRow(), 2);
    EXPECT_TRUE(window->Picture4->isVisible());
    EXPECT_FALSE(window->Picture1->isVisible());
    EXPECT_FALSE(window->Command3->isEnabled());
    EXPECT_TRUE(window->Command4->isEnabled());
    EXPECT_FALSE(window->TimerWav->isActive());

    // Stop gives back the usul shown before Start (here the one Save's checks read, under
    // the slot number of nothing loaded), and so does going back to single usuls.
    EXPECT_EQ(window->currentUsul, shownBefore);
    window->Option2->click();
    EXPECT_TRUE(window->Picture1->isVisible());
    EXPECT_EQ(window->Label1->text(), QStringLiteral("0"));
    EXPECT_EQ(window->currentUsul, shownBefore);
}

TEST_F(PlanScreenTest, StartWithoutASelectedPlanShowsMessage25) {
    window->Option4->click();
    window->Command4_Click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].toStdString(),
              languageTexts(Language::Turkish).message[Message::noPlanSelected]);
    EXPECT_TRUE(window->Command4->isEnabled());
}
