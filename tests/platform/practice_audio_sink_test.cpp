// Endless play through a private PulseAudio null sink: the cycle repeats with the rendered
// spacing across its seams, and a tempo change made while it plays is heard from a stroke
// on with the new spacing, with no gap. The delay from the change to the first stroke at
// the new tempo is printed. Skipped, with the reason, where no server can be started.
#include "tests/support/audio_server.h"
#include "tests/support/window_fixture.h"
#include "window/practice_menu.h"

#include <QMediaDevices>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cstdio>

using namespace zerkavi;
using namespace zerkavi::testing;

TEST(PracticeSound, EndlessSeamsKeepTheSpacingAndATempoChangeTakesOverWithoutAGap) {
    PrivateServer server;
    QString why;
    if (!server.start(why)) GTEST_SKIP() << "No PulseAudio server: " << why.toStdString();
    if (QMediaDevices::defaultAudioOutput().id() != QByteArrayLiteral("test_sink"))
        GTEST_SKIP() << "the audio output was set up before the test server started";
    QElapsedTimer wall;
    wall.start();
    Recorder recorder(server.environment(), wall);
    ASSERT_TRUE(recorder.start());
    ASSERT_TRUE(runUntil([&] { return recorder.sampleCount() > kRate / 10; }, 10000));

    RecordingMessages messages;
    QTemporaryDir programFolder;
    ArayüzKalıp window(programFolder.path().toStdString(), messages, QSize(1280, 1024));
    ASSERT_TRUE(window.startUp());
    window.But_yükle_Click();
    window.List1_Pick(31, Qt::LeftButton); // Düyek: strokes at 0, 2, 6, 8 and 12 eighths of 16
    window.Option1[1]->setChecked(true);   // kudüm: sharp attacks
    window.VScroll1->setValue(kTempoBarSum - 240);
    window.practice->Option5->setChecked(true);
    window.But_Baslat_Click();
    ASSERT_TRUE(window.practice->player.onDevice());
    runFor(4600); // two cycles of 2 s and a little
    const double changedAt = wall.nsecsElapsed() / 1e6;
    window.VScroll1->setValue(kTempoBarSum - 120);
    runFor(4500);
    window.But_dur_Click();
    runFor(200);
    recorder.stop();

    const std::vector<qsizetype> onsets = strokeOnsets(recorder);
    ASSERT_GE(onsets.size(), 14u) << "strokes heard: " << onsets.size();
    // Onset to onset in ms, against Düyek's spacing of 2, 4, 2, 4, 4 eighths at the tempo,
    // from the stroke the first onset found is (the monitor may miss the very first).
    const int eighths[] = {2, 4, 2, 4, 4};
    auto gap = [&](std::size_t k) { return (onsets[k] - onsets[k - 1]) / kSamplesPerMs; };
    int phase = 0;
    while (phase < 5 && std::abs(gap(1) - 125.0 * eighths[phase]) +
                                std::abs(gap(2) - 125.0 * eighths[(phase + 1) % 5]) >
                            20)
        ++phase;
    ASSERT_LT(phase, 5) << "the first strokes heard are not Düyek's at 240";
    auto eighthsBefore = [&](std::size_t k) { return eighths[(k - 1 + std::size_t(phase)) % 5]; };
    std::size_t k = 1;
    for (; k < onsets.size() && recorder.heardAt(onsets[k - 1]) < changedAt; ++k)
        EXPECT_NEAR(gap(k), 125.0 * eighthsBefore(k), 10)
            << "stroke " << k << " of the fast cycles";
    std::size_t slowFrom = k;
    while (slowFrom < onsets.size() &&
           std::abs(gap(slowFrom) - 125.0 * eighthsBefore(slowFrom)) < 10)
        ++slowFrom;
    ASSERT_LT(slowFrom + 4, onsets.size()) << "no stroke at the new tempo";
    const double delayMs = recorder.heardAt(onsets[slowFrom - 1]) - changedAt;
    std::printf("tempo change heard %.1f ms after it was made (buffer %d ms)\n", delayMs,
                window.practice->bufferMs);
    // The buffer, then at most the fast stroke sounding (500 ms), and 100 ms of slack.
    EXPECT_LT(delayMs, window.practice->bufferMs + 500 + 100);
    for (k = slowFrom; k < onsets.size(); ++k)
        EXPECT_NEAR(gap(k), 250.0 * eighthsBefore(k), 10) << "stroke " << k << " after the change";
    window.shutDown();
}
