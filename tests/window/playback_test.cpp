// Start and Stop of an usul, the marker, the tempo controls, and the same sound from the
// command line.
#include "tests/support/window_fixture.h"

#include <QProcess>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

class PlaybackTest : public StartedWindowTest {
  protected:
    QColor at(int x, int y) const { return QColor(window->Picture1->image().pixel(x, y)); }
};

} // namespace

TEST_F(PlaybackTest, StartPlaysLocksAndMovesTheMarkerStopRestores) {
    load(201); // no beats: refused, nothing sent
    window->But_Baslat->click();
    EXPECT_EQ(messages.shown, QStringList{msg(Message::noBeats)});
    EXPECT_TRUE(window->media.sentCommands().isEmpty());

    load(32);
    const QImage before = window->Picture1->image();
    window->But_Baslat->click();
    EXPECT_EQ(
        window->media.sentCommands(),
        QStringList({"stop kivo", "close kivo",
                     "open " + QString::fromStdString((folder / "zrkv" / "Shablon.---").string()) +
                         " type WaveAudio alias kivo",
                     "play kivo from 0"}));
    EXPECT_TRUE(window->But_Dur->isEnabled());
    EXPECT_FALSE(window->But_yükle->isEnabled());
    // The marker: blue on the first stroke's circle, then on the second (circle 4) after
    // the first stroke's 400 ms (8 64ths at 150 to the eighth).
    EXPECT_EQ(at(43, 75), QColor(0, 0, 255));
    QTest::qWait(550);
    EXPECT_EQ(at(103, 75), QColor(0, 0, 255));
    window->But_Dur->click();
    EXPECT_EQ(window->media.sentCommands().mid(4), QStringList({"stop kivo", "close kivo"}));
    EXPECT_EQ(window->Picture1->image(), before); // the inverting pen leaves no trace
    EXPECT_TRUE(window->But_Baslat->isEnabled());
    EXPECT_FALSE(window->But_kaydet->isEnabled()); // still a built-in slot
    EXPECT_EQ(window->strokeTimers.runningCount(), 0);
}

TEST_F(PlaybackTest, TheEndTimerStopsAShortUsul) {
    load(1);                                                 // Nim sofyan 2/8, 16 64ths
    window->VScroll1->setValue(window->VScroll1->minimum()); // 250 bpm
    QTest::mouseClick(window->PicBirimNota, Qt::LeftButton); // the sixteenth: 960 ms
    window->But_Baslat->click();
    EXPECT_EQ(int(window->schedule.playLengthMs + 0.5), 960);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->But_Baslat->isEnabled(); }, 3000));
    EXPECT_EQ(window->media.sentCommands().mid(4), QStringList({"stop kivo", "close kivo"}));
    EXPECT_EQ(window->endTimer.runningCount(), 0);
}

TEST_F(PlaybackTest, TheCommandLineWritesTheSameSoundAsStart) {
    load(38);                    // Aksak
    window->Option1[1]->click(); // kudüm
    window->Option3->click();    // looped
    window->VScroll1->setValue(270 - 96);
    window->But_Baslat->click();
    window->But_Dur->click();
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

TEST_F(PlaybackTest, TempoBarPickerAndUnitNote) {
    window->VScroll1->setValue(window->VScroll1->minimum()); // the top: fastest
    EXPECT_EQ(window->Label5->text(), QStringLiteral("=250"));
    window->VScroll1->setValue(window->VScroll1->maximum());
    EXPECT_EQ(window->Label5->text(), QStringLiteral("=20"));
    // The picker opens on a click of the tempo label; row 2, column 7 is 120.
    QTest::mouseClick(window->Label5, Qt::LeftButton);
    ASSERT_TRUE(window->Picture8->isVisible());
    QTest::mouseClick(window->Picture8, Qt::LeftButton, {}, QPoint(7 * 17 + 3, 2 * 17 + 16));
    EXPECT_FALSE(window->Picture8->isVisible());
    EXPECT_EQ(window->Label5->text(), QStringLiteral("=120"));
    // A press outside closes it and chooses nothing; closed, it takes no presses.
    QTest::mouseClick(window->Label5, Qt::LeftButton);
    QTest::mouseClick(window->PicBirimNota, Qt::LeftButton);
    EXPECT_FALSE(window->Picture8->isVisible());
    EXPECT_EQ(window->unitNote, 8);
    EXPECT_EQ(window->bpm(), 120);
    const QImage eighth = window->PicBirimNota->image();
    QTest::mouseClick(window->PicBirimNota, Qt::LeftButton);
    EXPECT_EQ(window->unitNote, 16);
    EXPECT_NE(window->PicBirimNota->image(), eighth);
    // Not in planned mode.
    window->slideWaitMs = 0;
    window->Option4->click();
    QTest::mouseClick(window->Label5, Qt::LeftButton);
    EXPECT_FALSE(window->Picture8->isVisible());
}
