// The media layer's command strings and its clock, the window timers, the plan end timer
// and the stopwatch.
#include "platform/media.h"
#include "platform/timers.h"
#include "tests/support/window_fixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>
#include <string>
#include <vector>

using namespace zerkavi;

namespace {

// A 16-bit mono 44.1 kHz WAV of `lengthMs` of silence. With `extraChunk`, a LIST chunk
// sits between the format and the samples, as some editors write it.
QByteArray silentWav(int lengthMs, bool extraChunk = false) {
    using namespace zerkavi::testing;
    return qBytes(wavFile(std::vector<int>(std::size_t(lengthMs) * 441 / 10),
                          {.between = extraChunk ? chunk("LIST", 5) : Bytes{}, .riffSize = true}));
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

const QString kivo = QStringLiteral("kivo");

// Command logs as standard strings, so a failure prints readable text.
std::vector<std::string> strings(const QStringList& list) {
    std::vector<std::string> out;
    for (const QString& s : list)
        out.push_back(s.toStdString());
    return out;
}
std::vector<std::string> sent(const MediaDevice& media) {
    return strings(media.sentCommands());
}

// A media device on a clock that moves only when the test says so.
class MediaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        media.forceClock([this] { return nowMs; });
        file = folder.filePath(QStringLiteral("Shablon.---"));
        ASSERT_TRUE(writeFile(file, silentWav(3000)));
    }

    QTemporaryDir folder;
    std::int64_t nowMs = 1000;
    MediaDevice media;
    QString file;
};

} // namespace

// ---- command strings -------------------------------------------------------------------

TEST_F(MediaTest, EveryOperationSendsItsExactCommandStrings) {
    media.MciOpenPlay(file, kivo, 1500);
    EXPECT_EQ(media.MciPosition(kivo), 1500);
    media.MciPause(kivo);
    media.MciResume(kivo);
    media.MciStopClose(kivo);

    const QStringList expected{QStringLiteral("open ") + file +
                                   QStringLiteral(" type WaveAudio alias kivo"),
                               QStringLiteral("play kivo from 1500"),
                               QStringLiteral("status kivo position"),
                               QStringLiteral("pause kivo"),
                               QStringLiteral("resume kivo"),
                               QStringLiteral("stop kivo"),
                               QStringLiteral("close kivo")};
    EXPECT_EQ(sent(media), strings(expected));
    EXPECT_FALSE(media.isOpen(kivo));
}

TEST_F(MediaTest, PlayFromZeroHasNoBlankOrSign) {
    media.MciOpenPlay(file, kivo, 0);
    ASSERT_EQ(media.sentCommands().size(), 2);
    EXPECT_EQ(sent(media)[1], "play kivo from 0");
}

TEST_F(MediaTest, MissingFileSendsNothing) {
    media.MciOpenPlay(folder.filePath(QStringLiteral("yok.---")), kivo, 0);
    EXPECT_TRUE(media.sentCommands().isEmpty());
    EXPECT_FALSE(media.isOpen(kivo));
}

TEST_F(MediaTest, FileThatIsNoWavIsOpenedButNotPlayed) {
    const QString text = folder.filePath(QStringLiteral("not-a-wav.---"));
    ASSERT_TRUE(writeFile(text, "plain text, no RIFF header"));
    media.MciOpenPlay(text, kivo, 0);
    EXPECT_EQ(sent(media), strings({QStringLiteral("open ") + text +
                                    QStringLiteral(" type WaveAudio alias kivo")}));
    EXPECT_FALSE(media.isOpen(kivo));
    // Nothing open: the position reads as 0, as the reply is an error.
    EXPECT_EQ(media.MciPosition(kivo), 0);
}

TEST_F(MediaTest, PathWithBlanksAndTurkishLettersIsCarriedAsItIs) {
    const QString odd = folder.filePath(QString::fromUtf8("x y/Şarkı ğ.---"));
    ASSERT_TRUE(writeFile(odd, silentWav(1200)));
    media.MciOpenPlay(odd, kivo, 0);
    ASSERT_EQ(media.sentCommands().size(), 2) << "the open failed, so no play followed";
    EXPECT_EQ(sent(media)[0], ("open " + odd + " type WaveAudio alias kivo").toStdString());
    // The file was found and read under that name.
    EXPECT_TRUE(media.isOpen(kivo));
    EXPECT_EQ(media.send(QStringLiteral("status kivo length")).text.toStdString(), "1200");
}

TEST_F(MediaTest, RelativeNamesReferToTheMediaFolder) {
    media.setFolder(folder.path());
    media.MciOpenPlay(QStringLiteral("Shablon.---"), kivo, 0);
    EXPECT_EQ(sent(media), (std::vector<std::string>{"open Shablon.--- type WaveAudio alias kivo",
                                                     "play kivo from 0"}));
    EXPECT_TRUE(media.isOpen(kivo));
}

TEST_F(MediaTest, SamplesAreFoundBehindOtherChunks) {
    ASSERT_TRUE(writeFile(file, silentWav(2500, /*extraChunk=*/true)));
    ASSERT_TRUE(
        media.send(QStringLiteral("open ") + file + QStringLiteral(" type WaveAudio alias kivo"))
            .ok);
    EXPECT_EQ(media.send(QStringLiteral("status kivo length")).text.toStdString(), "2500");
}

TEST_F(MediaTest, CommandsThatCannotWorkFailWithoutEffect) {
    EXPECT_FALSE(media.send(QStringLiteral("play kivo from 0")).ok) << "nothing open";
    EXPECT_FALSE(media.send(QStringLiteral("status kivo position")).ok);
    const QString open =
        QStringLiteral("open ") + file + QStringLiteral(" type WaveAudio alias kivo");
    ASSERT_TRUE(media.send(open).ok);
    EXPECT_FALSE(media.send(open).ok) << "the alias is taken";
    EXPECT_FALSE(
        media.send(QStringLiteral("open ") + file + QStringLiteral(" type Sequencer alias other"))
            .ok);
    EXPECT_FALSE(media.send(QStringLiteral("play kivo from 3001")).ok) << "beyond the end";
    EXPECT_FALSE(media.send(QStringLiteral("play kivo from x")).ok);
    EXPECT_FALSE(media.send(QStringLiteral("rewind kivo")).ok);
    EXPECT_EQ(media.send(QStringLiteral("status kivo mode")).text.toStdString(), "stopped");
    // Keywords are read in any case, as the program's commands are mixed case.
    EXPECT_TRUE(media.send(QStringLiteral("PLAY Kivo FROM 10")).ok);
    EXPECT_EQ(media.send(QStringLiteral("status kivo mode")).text.toStdString(), "playing");
    // Stop and close of an alias that is not open are harmless, as at shutdown.
    media.MciStopClose(QStringLiteral("other"));
    EXPECT_TRUE(media.isOpen(kivo));
}

// ---- time on the clock -------------------------------------------------------------------

TEST_F(MediaTest, ClockPositionAdvancesFreezesWhilePausedAndStopsAtTheEnd) {
    media.MciOpenPlay(file, kivo, 0);
    EXPECT_FALSE(media.soundsOnDevice(kivo));
    EXPECT_EQ(media.MciPosition(kivo), 0);
    nowMs += 250;
    EXPECT_EQ(media.MciPosition(kivo), 250);

    media.MciPause(kivo);
    nowMs += 1000;
    EXPECT_EQ(media.MciPosition(kivo), 250);
    EXPECT_EQ(media.send(QStringLiteral("status kivo mode")).text.toStdString(), "paused");
    media.MciPause(kivo); // a second pause changes nothing
    media.MciResume(kivo);
    nowMs += 100;
    EXPECT_EQ(media.MciPosition(kivo), 350);

    nowMs += 10'000;
    EXPECT_EQ(media.MciPosition(kivo), 3000) << "the position ends with the file";
    EXPECT_EQ(media.send(QStringLiteral("status kivo mode")).text.toStdString(), "stopped");
}

TEST_F(MediaTest, PlayFromAPositionStartsThere) {
    media.MciOpenPlay(file, kivo, 2000);
    nowMs += 400;
    EXPECT_EQ(media.MciPosition(kivo), 2400);
    // Playing again restarts from the new position.
    ASSERT_TRUE(media.send(QStringLiteral("play kivo from 100")).ok);
    nowMs += 5;
    EXPECT_EQ(media.MciPosition(kivo), 105);
}

TEST_F(MediaTest, StopHoldsThePositionAndCloseForgetsTheFile) {
    media.MciOpenPlay(file, kivo, 0);
    nowMs += 700;
    ASSERT_TRUE(media.send(QStringLiteral("stop kivo")).ok);
    nowMs += 700;
    EXPECT_EQ(media.MciPosition(kivo), 700);
    ASSERT_TRUE(media.send(QStringLiteral("close kivo")).ok);
    EXPECT_FALSE(media.isOpen(kivo));
    // The alias is free for the next file.
    media.MciOpenPlay(file, kivo, 0);
    EXPECT_TRUE(media.isOpen(kivo));
}

TEST(MediaClock, WithoutATimeSourceTheWallClockDrivesIt) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("a.---"));
    ASSERT_TRUE(writeFile(file, silentWav(5000)));
    MediaDevice media;
    media.forceClock();
    media.MciOpenPlay(file, kivo, 1000);
    QTest::qSleep(60);
    const std::int32_t p = media.MciPosition(kivo);
    EXPECT_GE(p, 1060);
    EXPECT_LE(p, 5000);
    media.MciPause(kivo);
    const std::int32_t held = media.MciPosition(kivo);
    QTest::qSleep(30);
    EXPECT_EQ(media.MciPosition(kivo), held);
}

// Whatever the machine has, a sound server or none, playing must neither block nor fail,
// and the position must move.
TEST(MediaDevicePlay, PlaysOnTheDeviceOrTheClockWithoutBlocking) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("silence.---"));
    ASSERT_TRUE(writeFile(file, silentWav(2000)));
    MediaDevice media;
    media.MciOpenPlay(file, kivo, 0);
    ASSERT_EQ(media.sentCommands().size(), 2);
    ASSERT_TRUE(media.isOpen(kivo));
    EXPECT_TRUE(QTest::qWaitFor([&] { return media.MciPosition(kivo) > 0; }, 5000))
        << (media.soundsOnDevice(kivo) ? "on the sound device" : "on the clock");
    media.MciStopClose(kivo);
    EXPECT_FALSE(media.isOpen(kivo));
}

// ---- window timers -------------------------------------------------------------------------

TEST(WindowTimers, EachFiresOnceWithItsIdentifierUnlessKilled) {
    WindowTimers timers;
    std::vector<int> fired;
    const auto record = [&](int id) { fired.push_back(id); };
    timers.start(1001, 40, record);
    timers.start(1, 10, record);
    timers.start(2, 25, record);
    timers.start(7, 30, record);
    EXPECT_TRUE(timers.kill(7));
    EXPECT_FALSE(timers.kill(7)) << "already gone";
    EXPECT_EQ(timers.runningCount(), 3);

    ASSERT_TRUE(QTest::qWaitFor([&] { return timers.runningCount() == 0; }, 5000));
    QTest::qWait(100); // one-shot: nothing comes again
    EXPECT_EQ(fired, (std::vector<int>{1, 2, 1001}));
    EXPECT_FALSE(timers.isRunning(1));
}

TEST(WindowTimers, StartingAnIdentifierAgainReplacesItsTimer) {
    WindowTimers timers;
    std::vector<char> fired;
    timers.start(3, 10, [&](int) { fired.push_back('a'); });
    timers.start(3, 20, [&](int) { fired.push_back('b'); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !timers.isRunning(3); }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(fired, std::vector<char>{'b'});
}

TEST(WindowTimers, CallbacksMayKillAndStartTimers) {
    WindowTimers timers;
    std::vector<int> fired;
    // As the marker step does: the callback kills its own timer, then the next one
    // continues the chain; the last one kills everything left.
    timers.start(50, 5000, [&](int id) { fired.push_back(id); });
    timers.start(1, 5, [&](int id) {
        EXPECT_FALSE(timers.kill(id)) << "a fired timer is no longer running";
        fired.push_back(id);
        timers.start(2, 5, [&](int id2) {
            fired.push_back(id2);
            timers.killAll();
        });
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return timers.runningCount() == 0; }, 5000));
    EXPECT_EQ(fired, (std::vector<int>{1, 2}));
}

TEST(WindowTimers, DestroyingThemCancelsTheirCallbacks) {
    int calls = 0;
    {
        WindowTimers timers;
        timers.start(1, 0, [&](int) { ++calls; });
    }
    QTest::qWait(30);
    EXPECT_EQ(calls, 0);
}

// ---- plan end timer ---------------------------------------------------------------------------

TEST(PlanEndTimer, ARunningTimerIsNotReplaced) {
    int expired = 0;
    PlanEndTimer timer([&] { ++expired; });
    EXPECT_EQ(timer.planEndTimer(), 0u);
    timer.StartPlanEndTimer(20);
    const auto id = timer.planEndTimer();
    EXPECT_NE(id, 0u);
    // A second start keeps the first timer and its 20 ms; a replacement would wait 60 s.
    timer.StartPlanEndTimer(60'000);
    EXPECT_EQ(timer.planEndTimer(), id);
    ASSERT_TRUE(QTest::qWaitFor([&] { return expired == 1; }, 5000));
    EXPECT_EQ(timer.planEndTimer(), 0u) << "cleared when it expires";
    QTest::qWait(50);
    EXPECT_EQ(expired, 1) << "fires once";
}

TEST(PlanEndTimer, StopKillsItAndAllowsANewOne) {
    int expired = 0;
    PlanEndTimer timer([&] { ++expired; });
    timer.StopPlanEndTimer(); // none running: nothing happens
    timer.StartPlanEndTimer(10);
    const auto first = timer.planEndTimer();
    timer.StopPlanEndTimer();
    EXPECT_EQ(timer.planEndTimer(), 0u);
    QTest::qWait(50);
    EXPECT_EQ(expired, 0);

    timer.StartPlanEndTimer(10);
    EXPECT_NE(timer.planEndTimer(), 0u);
    EXPECT_NE(timer.planEndTimer(), first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return expired == 1; }, 5000));
}

TEST(PlanEndTimer, ItsExpiryMayStopAndRestartIt) {
    // The plan's Stop runs from the expiry and calls StopPlanEndTimer; nothing must break.
    PlanEndTimer timer;
    int expired = 0;
    timer.setExpiry([&] {
        ++expired;
        timer.StopPlanEndTimer();
        if (expired == 1) timer.StartPlanEndTimer(5);
    });
    timer.StartPlanEndTimer(5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return expired == 2; }, 5000));
    EXPECT_EQ(timer.planEndTimer(), 0u);
}

// ---- stopwatch --------------------------------------------------------------------------------

TEST(XTimer, MeasuresAtLeastTheTimeSleptLessItsCalibration) {
    xTimer watch;
    EXPECT_GE(watch.frequency(), 1'000'000u) << "a counter finer than a microsecond";
    watch.Calibrieren();
    EXPECT_GE(watch.calibrationMs(), 0.0);
    EXPECT_LT(watch.calibrationMs(), 1.0) << "two readings back to back";
    EXPECT_NEAR(watch.RunTime(), 0.0, 1e-9) << "right after calibrating, nothing has run";

    watch.Start();
    QTest::qSleep(20);
    watch.Halt();
    EXPECT_GE(watch.RunTime(), 20.0 - 1.0);
    EXPECT_LT(watch.RunTime(), 5000.0);

    // Halt before Start reads as a negative time, not as a wrapped counter.
    watch.Halt();
    watch.Start();
    EXPECT_LE(watch.RunTime(), 0.0);
}
