// The Practice menu as a user works it: choices kept for the next start, Endless play with
// the marker over the seam, a tempo change while it plays, tap tempo, a count-in. The stream's
// rules (seams, where a new tempo takes over) are the sound tests'.
#include "tests/support/window_fixture.h"

#include "sound/wav.h"
#include "window/practice_menu.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

class PracticeWindow : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(startActive());
        window->media.forceClock();
        window->practice->playClock = [this] { return nowMs; };
        window->practice->tapClock = [this] { return nowMs; };
        window->But_yükle_Click();
        window->List1_Pick(32 - 1, Qt::LeftButton); // Düyek, 8/8
    }
    // Lets the clock run `ms` and the marker follow.
    void play(int ms) {
        nowMs += ms;
        QTest::qWait(25);
    }
    std::int64_t nowMs = 1000;
};

TEST_F(PracticeWindow, ChoicesAreKeptForTheNextStartInBothLanguages) {
    PracticeMenu& p = *window->practice;
    EXPECT_EQ(p.menu->title(), QString::fromUtf8("Çalışma"));
    EXPECT_FALSE(p.wantsStream()); // nothing chosen: Start plays the plain file
    for (QAction* a : {p.countInItems[3], p.clickItem, p.muteItems[1], p.masterItems[6]})
        a->trigger();
    p.Option5->setChecked(true);
    window->Mn_Lisanlar_Click();
    EXPECT_EQ(p.menu->title(), QStringLiteral("Practice"));
    EXPECT_EQ(p.Option5->text(), QStringLiteral("Endless"));
    window.reset();
    ASSERT_TRUE(start());
    PracticeMenu& q = *window->practice;
    EXPECT_EQ(std::tuple(q.countIn(), q.click(), q.muted(), q.masterVolume(), q.endless()),
              std::tuple(3, true, std::optional(Hand::Tek), 70, true));
    EXPECT_EQ(AudioOutput::masterVolume(), 0.7);
    q.masterItems[9]->trigger();
}

TEST_F(PracticeWindow, EndlessFollowsEveryCycleAndTakesANewTempoInItsPlace) {
    window->practice->Option5->setChecked(true);
    window->VScroll1->setValue(kTempoBarSum - 240); // a cycle of 8 eighths: 2 s
    window->But_Baslat_Click();
    ASSERT_TRUE(window->practice->playing());
    EXPECT_TRUE(window->VScroll1->isEnabled());
    play(1600); // Düyek's strokes start at 0, 250, 750, 1000 and 1500 ms
    EXPECT_EQ(window->currentStroke + 1, 5);
    play(500); // over the seam: stroke 1 of the second cycle
    EXPECT_EQ(window->currentStroke + 1, 1);
    window->Label5_Click(); // the picker works while it plays: 120 is row 2, column 7
    QTest::mouseClick(window->Picture8, Qt::LeftButton, {}, QPoint(7 * 17 + 8, 2 * 17 + 8));
    play(1000); // the player takes it at its next stroke
    EXPECT_EQ(window->practice->player.place().bpm, 120);
    window->But_dur_Click();
    EXPECT_FALSE(window->practice->playing());
    EXPECT_TRUE(window->But_Baslat->isEnabled());
    EXPECT_FALSE(std::filesystem::exists(folder / "zrkv" / "Shablon.---"));
}

// Start's looped file goes on as a stream of the very same samples at the first change.
TEST_F(PracticeWindow, LoopedHandsTheFileOverAtATempoChangeAndTheMarkerKeepsItsPlace) {
    window->media.forceClock([this] { return nowMs; });
    window->Option3->click();
    window->VScroll1->setValue(kTempoBarSum - 240);
    window->But_Baslat->click();
    EXPECT_TRUE(window->media.isOpen(QStringLiteral("kivo")));
    const WavReadResult file = ReadWav(folder / "zrkv" / "Shablon.---");
    SampleReader reader;
    const PracticeCycle c =
        practiceCycle(window->currentUsul, {240, 8, window->chosenInstrument(), false}, {},
                      window->workingFolder(), reader);
    ASSERT_EQ(file.samples.size(), c.samples.size() * std::size_t(window->schedule.cycles));
    EXPECT_TRUE(std::equal(c.samples.begin(), c.samples.end(), file.samples.begin()));
    play(450); // stroke 2 (250 to 750 ms)
    window->VScroll1->setValue(kTempoBarSum - 120);
    EXPECT_FALSE(window->media.isOpen(QStringLiteral("kivo")));
    play(0);
    EXPECT_EQ(window->currentStroke + 1, 2);
    play(550); // stroke 3 from 750 ms; at the old tempo stroke 4 would have come at 1000 ms
    EXPECT_EQ(window->currentStroke + 1, 3);
    play(300); // one eighth (500 ms) at 120 after stroke 3
    EXPECT_EQ(window->currentStroke + 1, 4);
    EXPECT_EQ(window->strokeTimers.runningCount(), 0);
    window->But_Dur->click();
    EXPECT_FALSE(window->practice->playing());
}

TEST_F(PracticeWindow, ACountInPlaysOnceThenTheCycleAndStopsByItself) {
    window->practice->countInItems[4]->trigger();
    window->VScroll1->setValue(kTempoBarSum - 240);
    window->But_Baslat_Click();
    EXPECT_FALSE(window->VScroll1->isEnabled()); // Once keeps its tempo
    play(900); // four eighths of count-in (1 s), then the first stroke
    EXPECT_EQ(window->currentStroke + 1, 1);
    play(2400);
    EXPECT_FALSE(window->practice->playing());
    EXPECT_TRUE(window->But_Baslat->isEnabled());
}

TEST_F(PracticeWindow, FourTapsOnTForTheLabelSetTheTempo) {
    for (int k = 0; k < 3; ++k) {
        QTest::keyClick(window.get(), Qt::Key_T);
        nowMs += 500;
    }
    EXPECT_EQ(window->bpm(), 150);
    QTest::mouseClick(window->Label5, Qt::LeftButton);
    EXPECT_EQ(window->bpm(), 120);
    EXPECT_FALSE(window->Picture8->isVisible());
}

} // namespace
