// Real sound through a private PulseAudio server whose null sink is recorded (audio_server.h):
// every stroke sounds once, in order, at the rendered spacing; pause, continue and stop act on
// the sound. Timing figures: bench/marker_bench. Skipped where no server starts; RUN_SERIAL.
#include "tests/support/audio_server.h"
#include "tests/support/window_fixture.h"
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
        if (server->startForQt(serverProblem)) serverProblem.clear();
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
    // Onsets are found within a few ms and strokes are 125 ms or more apart: a stroke lost,
    // doubled or out of order, or a gap in the sound, shows far beyond 10 ms.
    // `renderedMs`: ms from the first stroke.
    void expectRenderedSpacing(const std::vector<double>& renderedMs, bool exactly) {
        const StrokeMatch m = matchStrokes(*recorder, renderedMs);
        ASSERT_TRUE(exactly ? m.onsetsFound == renderedMs.size()
                            : m.onsetsFound >= renderedMs.size())
            << m.onsetsFound << " strokes heard";
        for (std::size_t k = 0; k < m.spacingErrorsMs.size(); ++k)
            EXPECT_LE(std::abs(m.spacingErrorsMs[k]), 10) << "stroke " << k + 1;
    }

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

// Düyek at 120 to the quarter, started with the Start button;
// held up for 200 ms, 900 ms in, the window's thread must not stall the sound.
TEST_F(AudioSinkTest, DuyekSoundsAtItsSpacingWithItsMarkerWhileTheWindowIsHeldUp) {
    ArayüzKalıp& window = startWindow();
    window.currentSlot = 32;
    window.loadCurrentSlot();
    window.VScroll1->setValue(kTempoBarSum - 120);
    window.PicBirimNota_Click();
    window.PicBirimNota_Click(); // 8 -> 16 -> 4: the quarter
    std::vector<int> steps;
    window.markerMoved = [&](int stroke) { steps.push_back(stroke); };
    window.But_Baslat->click();
    ASSERT_TRUE(window.media.soundsOnDevice(kivo));
    QTimer::singleShot(900, [] { QThread::msleep(200); });
    runFor(int(window.schedule.playLengthMs) + 400);
    recorder->stop();
    EXPECT_TRUE(window.But_Baslat->isEnabled()) << "the end timer stopped the playing";
    EXPECT_EQ(steps, (std::vector<int>{1, 2, 3, 4, 5})) << "one marker step per stroke";
    std::vector<double> rendered;
    for (const auto s : window.schedule.startSamples)
        rendered.push_back(double(s - window.schedule.startSamples[0]) / kSamplesPerMs);
    expectRenderedSpacing(rendered, false); // a drum's decay may show a second onset
}

// Two sections, one repeated with its tempo falling, played from the plan screen.
TEST_F(AudioSinkTest, APlanSoundsEveryStrokeOnceInOrderAtTheRenderedSpacing) {
    ArayüzKalıp& window = startWindow();
    window.slideWaitMs = 0;
    window.Option4->click();
    window.Text9->setText(QStringLiteral("Iki bolum"));
    window.Text14->setPlainText(QStringLiteral("Duyek 32 2 4 120>90\nSofyan 10 1 4 100\n"));
    window.Command8->click();
    window.Command4->click();
    ASSERT_TRUE(window.media.soundsOnDevice(kivo));
    const PlanRenderResult& plan = window.plan;
    EXPECT_TRUE(runUntil([&] { return !window.planPlaying; }, int(plan.playLengthMs) + 5000))
        << "the end of the plan stopped it";
    runFor(300);
    recorder->stop();
    std::vector<double> rendered;
    for (const PlanStroke& s : plan.strokes)
        rendered.push_back(double(s.startSample - plan.strokes[0].startSample) / kSamplesPerMs);
    expectRenderedSpacing(rendered, true);
}
