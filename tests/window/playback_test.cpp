#include "tests/support/window_fixture.h"

#include "sound/usul_render.h"

#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

class PlaybackTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(start());
        window->media.forceClock(); // no sound device needed; time runs on a clock
        window->show();
    }
    void load(int slot) {
        window->But_yükle_Click();
        window->List1_Pick(slot - 1, Qt::LeftButton);
    }
};

} // namespace

TEST_F(PlaybackTest, StartRefusesAnUsulWithoutBeats) {
    load(201);
    window->But_Baslat_Click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].toStdString(),
              languageTexts(Language::Turkish).message[Message::noBeats]);
    EXPECT_TRUE(window->But_Baslat->isEnabled());
    EXPECT_TRUE(window->media.sentCommands().isEmpty());
    EXPECT_FALSE(std::filesystem::exists(folder / "zrkv" / "Shablon.---"));
}

TEST_F(PlaybackTest, StartPlaysLocksAndMovesTheMarkerStopRestores) {
    load(32);
    const QImage before = window->Picture1->image();
    window->But_Baslat_Click();
    const QStringList expected = {
        "stop kivo", "close kivo",
        "open " + QString::fromStdString((folder / "zrkv" / "Shablon.---").string()) +
            " type WaveAudio alias kivo",
        "play kivo from 0"};
    const QStringList sent = window->media.sentCommands();
    ASSERT_EQ(sent.size(), 4);
    EXPECT_EQ(sent[0], expected[0]);
    EXPECT_EQ(sent[1], expected[1]);
    EXPECT_EQ(sent[2], expected[2]);
    EXPECT_EQ(sent[3], expected[3]);
    // Playing: only Stop is free.
    EXPECT_TRUE(window->But_Dur->isEnabled());
    EXPECT_FALSE(window->But_Baslat->isEnabled());
    EXPECT_FALSE(window->But_yükle->isEnabled());
    EXPECT_FALSE(window->VScroll1->isEnabled());
    // The marker: blue on the first stroke's circle, 3 pixels from its centre (40, 75).
    EXPECT_EQ(window->schedule.strokeCount(), 5);
    EXPECT_EQ(QColor(window->Picture1->image().pixel(43, 75)), QColor(0, 0, 255));
    EXPECT_NE(window->Picture1->image(), before);

    // After the first stroke (8 64ths at 150 to the eighth: 400 ms) the marker moved on.
    EXPECT_EQ(window->schedule.stroke(1).endMs, 400);
    QTest::qWait(550);
    EXPECT_EQ(window->currentStroke, 1);
    EXPECT_EQ(QColor(window->Picture1->image().pixel(103, 75)), QColor(0, 0, 255)); // circle 4

    window->But_dur_Click();
    EXPECT_EQ(window->media.sentCommands().mid(4), QStringList({"stop kivo", "close kivo"}));
    EXPECT_EQ(window->Picture1->image(), before); // the inverting pen leaves no trace
    EXPECT_TRUE(window->But_Baslat->isEnabled());
    EXPECT_FALSE(window->But_Dur->isEnabled());
    EXPECT_FALSE(window->But_kaydet->isEnabled()); // still a built-in slot
    EXPECT_EQ(window->strokeTimers.runningCount(), 0);
}

TEST_F(PlaybackTest, TheEndTimerStopsAShortUsul) {
    load(1);                                                 // Nim sofyan 2/8, 16 64ths
    window->VScroll1->setValue(window->VScroll1->minimum()); // 250 bpm
    window->PicBirimNota_Click();                            // the sixteenth: 960 ms
    ASSERT_EQ(window->unitNote, 16);
    const QImage before = window->Picture1->image();
    window->But_Baslat_Click();
    EXPECT_EQ(int(window->schedule.playLengthMs + 0.5), 960);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->But_Baslat->isEnabled(); }, 3000));
    EXPECT_TRUE(window->But_Baslat->isEnabled());
    EXPECT_FALSE(window->But_Dur->isEnabled());
    EXPECT_EQ(window->media.sentCommands().mid(4), QStringList({"stop kivo", "close kivo"}));
    EXPECT_EQ(window->Picture1->image(), before);
}

TEST_F(PlaybackTest, OneStrokeStartsNoStrokeTimerAndLoopedFillsTwoMinutes) {
    load(201);
    window->currentUsul.circle(1).rightDuration = 64;
    window->göster();
    window->But_Baslat_Click();
    EXPECT_EQ(window->strokeTimers.runningCount(), 0);
    EXPECT_EQ(window->endTimer.runningCount(), 1);
    window->But_dur_Click();
    // Looped: a whole at 150 to the eighth is 3,200 ms, so 37 cycles fill 118.4 s.
    window->Option3->setChecked(true);
    window->But_Baslat_Click();
    EXPECT_EQ(window->schedule.timing.cycleMs, 3200);
    EXPECT_EQ(window->schedule.cycles, 37);
    EXPECT_EQ(window->strokeTimers.runningCount(), 36);
    EXPECT_EQ(window->schedule.stroke(37).endMs, 3200 * 37);
    window->But_dur_Click();
    EXPECT_EQ(window->endTimer.runningCount(), 0);
}

TEST_F(PlaybackTest, TheCommandLineWritesTheSameSoundAsStart) {
    load(38);                             // Aksak
    window->Option1[1]->setChecked(true); // kudüm
    window->Option3->setChecked(true);
    window->VScroll1->setValue(270 - 96);
    window->But_Baslat_Click();
    window->But_dur_Click();
    const auto started = readBytes(folder / "zrkv" / "Shablon.---");
    ASSERT_GT(started.size(), 44u);

    const auto out = folder / "cli.wav";
    QProcess cli;
    cli.start(QStringLiteral(ZERKAVI_CLI),
              {"render", "38", "--dir", QString::fromStdString(folder.string()), "--bpm", "96",
               "--unit", "8", "--instrument", "kudum", "--looped", "--out",
               QString::fromStdString(out.string())});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_EQ(readBytes(out), started);
}
