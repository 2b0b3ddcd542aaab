// Real sound through a private PulseAudio server whose null sink is recorded (audio_server.h):
// every stroke sounds once, in order, at the rendered spacing; pause, continue and stop act on
// the sound; a tempo change while Endless or Looped plays takes effect from a stroke on with no
// gap. Timing figures: bench/marker_bench and bench/tempo_change_bench. Skipped where no server
// starts; RUN_SERIAL.
#include "tests/support/audio_server.h"
#include "tests/support/window_fixture.h"
#include "window/practice_menu.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QThread>

#include <cmath>
#include <optional>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

const QString kivo = QString::fromUtf8(kMediaAlias);

class AudioSinkTest : public ::testing::Test {
  protected:
    // One server for the suite: Qt connects a process to PulseAudio once.
    static void SetUpTestSuite() {
        server = new PrivateServer;
        serverProblem.clear();
        if (!server->start(serverProblem))
            serverProblem = "No PulseAudio server: " + serverProblem;
        else if (QMediaDevices::defaultAudioOutput().id() != "test_sink")
            serverProblem = "this process chose its audio output before the server started; run "
                            "each test alone, as ctest does";
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }
    void SetUp() override {
        if (!serverProblem.isEmpty()) GTEST_SKIP() << serverProblem.toStdString();
        recorder.emplace(server->environment());
        ASSERT_TRUE(recorder->startHeard()) << "the null sink's monitor delivered nothing";
    }
    void TearDown() override { recorder.reset(); }

    ArayüzKalıp& startWindow() {
        window = std::make_unique<ArayüzKalıp>(programFolder.path().toStdString(), messages,
                                               QSize(1280, 1024));
        EXPECT_TRUE(window->startUp());
        window->Option1[1]->click(); // the kudüm: sharp attacks
        return *window;
    }

    static inline PrivateServer* server = nullptr;
    static inline QString serverProblem;
    std::optional<Recorder> recorder;
    RecordingMessages messages;
    QTemporaryDir programFolder;
    std::unique_ptr<ArayüzKalıp> window;
};

} // namespace

// Clicks at known places of a file, played from 1000 ms with a pause of 500 ms and stopped
// before the end: the clicks after the start sound once each, those after the pause shifted
// by it, the position holds still while paused, and nothing sounds after Stop.
TEST_F(AudioSinkTest, PlayFromPauseContinueAndStopActOnTheSound) {
    const std::vector<int> clicksMs{700, 1150, 1500, 2000, 2350, 2900, 3400};
    std::vector<int> pcm(std::size_t(4000 * kSamplesPerMs), 0);
    for (int c : clicksMs)
        for (std::size_t i = 0; i < 88; ++i)
            pcm[std::size_t(std::llround(c * kSamplesPerMs)) + i] = (i % 2) ? -24000 : 24000;
    const TemporaryFolder folder;
    const QString file = QString::fromStdString(
        folder.write("clicks.---", wavFile(pcm, {.rate = kRate, .riffSize = true})).string());

    MediaDevice media;
    media.MciOpenPlay(file, kivo, 1000);
    ASSERT_TRUE(media.soundsOnDevice(kivo))
        << "the server runs, yet the media fell back to its clock";
    runFor(600);
    media.MciPause(kivo);
    runFor(50); // the output comes to rest
    const std::int32_t held = media.MciPosition(kivo);
    runFor(450);
    EXPECT_EQ(media.MciPosition(kivo), held) << "the position moved during the pause";
    media.MciResume(kivo);
    runFor(1000);
    media.MciStopClose(kivo);
    runFor(800);
    recorder->stop();

    const std::vector<qsizetype> onsets = strokeOnsets(*recorder);
    const std::vector<int> expected{1150, 1500, 2000, 2350};
    ASSERT_EQ(onsets.size(), expected.size());
    for (std::size_t k = 1; k < onsets.size(); ++k) {
        const double shift = (onsets[k] - onsets[0]) / kSamplesPerMs - (expected[k] - expected[0]);
        EXPECT_NEAR(shift, expected[k] > held ? 500 : 0, expected[k] > held ? 60 : 2)
            << "click " << expected[k];
    }
}

// Two sections, one repeated with its tempo falling, played from the plan screen; held up for
// 200 ms, 900 ms in, the window's thread must not stall the sound.
TEST_F(AudioSinkTest, APlanSoundsEveryStrokeOnceInOrderAtTheRenderedSpacing) {
    ArayüzKalıp& window = startWindow();
    window.slideWaitMs = 0;
    window.Option4->click();
    window.Text9->setText(QStringLiteral("Iki bolum"));
    window.Text14->setPlainText(QStringLiteral("Duyek 32 2 4 120>90\nSofyan 10 1 4 100\n"));
    window.Command8->click();
    window.Command4->click();
    ASSERT_TRUE(window.media.soundsOnDevice(kivo));
    QTimer::singleShot(900, [] { QThread::msleep(200); });
    const PlanRenderResult& plan = window.plan;
    EXPECT_TRUE(runUntil([&] { return !window.planPlaying; }, int(plan.playLengthMs) + 5000))
        << "the end of the plan stopped it";
    runFor(300);
    recorder->stop();
    // Onsets are found within a few ms and strokes are 125 ms or more apart: a stroke lost,
    // doubled or out of order, or a gap in the sound, shows far beyond 10 ms.
    const std::vector<qsizetype> on = strokeOnsets(*recorder);
    ASSERT_EQ(on.size(), plan.strokes.size());
    for (std::size_t k = 1; k < on.size(); ++k)
        EXPECT_NEAR((on[k] - on[k - 1]) / kSamplesPerMs,
                    (plan.strokes[k].startSample - plan.strokes[k - 1].startSample) / kSamplesPerMs,
                    10)
            << "stroke " << k + 1;
}

// Düyek (strokes 2, 4, 2, 4, 4 sixteenths apart) at 240 to the eighth, then at 120.
class TempoChange : public AudioSinkTest, public ::testing::WithParamInterface<bool> {};

TEST_P(TempoChange, TakesANewTempoFromAStrokeOnWithoutAGap) {
    ArayüzKalıp& window = startWindow();
    window.But_yükle_Click();
    window.List1_Pick(31, Qt::LeftButton);
    window.VScroll1->setValue(kTempoBarSum - 240);
    (GetParam() ? window.practice->Option5 : window.Option3)->click(); // Endless or Looped
    window.But_Baslat->click();
    runFor(4600); // two cycles of 2 s and a little
    window.VScroll1->setValue(kTempoBarSum - 120);
    ASSERT_TRUE(window.practice->player.onDevice());
    runFor(4500);
    window.But_Dur->click();
    recorder->stop();

    // Onset to onset, from the stroke the first onset found is: every interval at 240 up to
    // one stroke, and at 120 from there on.
    const std::vector<qsizetype> on = strokeOnsets(*recorder);
    ASSERT_GE(on.size(), 14u) << "strokes heard: " << on.size();
    const int sixteenths[] = {2, 4, 2, 4, 4};
    auto fits = [&](std::size_t k, double msPerSixteenth, int phase) {
        return std::abs((on[k] - on[k - 1]) / kSamplesPerMs -
                        msPerSixteenth * sixteenths[(k - 1 + phase) % 5]) < 10;
    };
    int phase = 0;
    while (phase < 5 && !(fits(1, 125, phase) && fits(2, 125, phase)))
        ++phase;
    ASSERT_LT(phase, 5) << "the first strokes heard are not Düyek's at 240";
    std::size_t k = 1;
    while (k < on.size() && fits(k, 125, phase))
        ++k;
    EXPECT_GE(k, 9u) << "the fast cycles broke off at stroke " << k;
    ASSERT_LT(k + 4, on.size()) << "no stroke at the new tempo";
    for (; k < on.size(); ++k)
        EXPECT_TRUE(fits(k, 250, phase)) << "stroke " << k << " after the change";
}
INSTANTIATE_TEST_SUITE_P(EndlessAndLooped, TempoChange, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Endless" : "Looped"; });
