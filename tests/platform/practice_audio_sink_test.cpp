// A tempo change while Endless or Looped plays, through a private PulseAudio null sink: the
// cycle repeats with the rendered spacing across its seams, and from a stroke on the spacing is
// the new one, with no gap. How soon: bench/tempo_change_bench. RUN_SERIAL.
#include "tests/support/audio_server.h"
#include "tests/support/window_fixture.h"
#include "window/practice_menu.h"

#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

// Düyek (strokes 2, 4, 2, 4, 4 sixteenths apart) at 240 to the eighth, then at 120.
void changeTempoWhilePlaying(bool endless) {
    PrivateServer server;
    QString why;
    if (!server.startForQt(why)) GTEST_SKIP() << why.toStdString();
    Recorder recorder(server.environment());
    ASSERT_TRUE(recorder.startHeard());
    RecordingMessages messages;
    QTemporaryDir programFolder;
    ArayüzKalıp window(programFolder.path().toStdString(), messages, QSize(1280, 1024));
    ASSERT_TRUE(window.startUp());
    window.But_yükle_Click();
    window.List1_Pick(31, Qt::LeftButton);
    window.Option1[1]->click(); // the kudüm: sharp attacks
    window.VScroll1->setValue(kTempoBarSum - 240);
    (endless ? window.practice->Option5 : window.Option3)->click();
    window.But_Baslat->click();
    runFor(4600); // two cycles of 2 s and a little
    window.VScroll1->setValue(kTempoBarSum - 120);
    ASSERT_TRUE(window.practice->player.onDevice());
    runFor(4500);
    window.But_Dur->click();
    recorder.stop();

    // Onset to onset, from the stroke the first onset found is: every interval at 240 up to
    // one stroke, and at 120 from there on.
    const std::vector<qsizetype> on = strokeOnsets(recorder);
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
    window.shutDown();
}

} // namespace

TEST(PracticeSound, EndlessTakesANewTempoWithoutAGap) {
    changeTempoWhilePlaying(true);
}
TEST(PracticeSound, LoopedHandsItsFileOverToANewTempoWithoutAGap) {
    changeTempoWhilePlaying(false);
}
