// Real sound through a private PulseAudio server with a null sink: a file of clicks at known
// times is played through the media layer while the sink's monitor is recorded, and the
// recording is compared with the file, with the positions the media layer reported and with
// one-shot timers started as the window starts its marker timers. The offsets found are
// printed.
//
// Skipped, with the reason, where no server can be started.
#include "platform/media.h"
#include "platform/timers.h"
#include "tests/support/window_fixture.h"
#include "window/arayuz_kalip.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <QAudioDevice>
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

using namespace zerkavi;

namespace {

constexpr int kRate = 44100;
constexpr double kSamplesPerMs = kRate / 1000.0;

// Runs the event loop for `ms`; the real loop, since QTest::qWait sleeps 10 ms between
// rounds and would blur every timing it measures.
void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

template <class Done> bool runUntil(Done done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        runFor(5);
    }
    return true;
}

// A process run to its end with a time limit; empty optional when it did not end.
std::optional<int> runTool(const QString& program, const QStringList& args,
                           const QProcessEnvironment& env, int timeoutMs,
                           QByteArray* output = nullptr) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(timeoutMs)) return std::nullopt;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return std::nullopt;
    }
    if (output) *output = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? std::optional<int>(p.exitCode()) : std::nullopt;
}

bool processGone(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return true;
    // "pid (name) S ...": a zombie no longer plays anything.
    const QByteArray stat = status.readAll();
    const qsizetype close = stat.lastIndexOf(')');
    return close < 0 || stat.mid(close + 2, 1) == "Z";
}

// A PulseAudio server of our own, with its sockets in a private runtime folder, so it
// neither meets nor disturbs a server of the user. This process talks to it through
// XDG_RUNTIME_DIR and PULSE_SERVER, which are put back afterwards.
class PrivateServer {
  public:
    ~PrivateServer() { shutDown(); }

    bool start(QString& why) {
        for (const char* tool : {"pulseaudio", "pactl", "parec"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                why = QStringLiteral("%1 is not installed").arg(QString::fromLatin1(tool));
                return false;
            }
        if (!folder_.isValid()) {
            why = QStringLiteral("no temporary folder");
            return false;
        }
        QFile::setPermissions(folder_.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder_.path());
        env_.insert(QStringLiteral("HOME"), folder_.path()); // cookie and config stay in here
        env_.insert(QStringLiteral("PULSE_SERVER"), socket());
        QByteArray log;
        const auto rc = runTool(
            QStringLiteral("pulseaudio"),
            {QStringLiteral("-n"), QStringLiteral("--daemonize=yes"),
             QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--disallow-exit"),
             QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1"),
             QStringLiteral("--load=module-null-sink sink_name=test_sink rate=44100 channels=1")},
            env_, 20000, &log);
        QFile pidFile(folder_.filePath(QStringLiteral("pulse/pid")));
        if (pidFile.open(QIODevice::ReadOnly)) pid_ = pidFile.readAll().trimmed().toLongLong();
        if (rc != 0 || pid_ <= 0) {
            why = QStringLiteral("pulseaudio did not start: %1")
                      .arg(QString::fromLocal8Bit(log).trimmed());
            return false;
        }
        QByteArray info;
        if (runTool(QStringLiteral("pactl"),
                    {QStringLiteral("set-default-sink"), QStringLiteral("test_sink")}, env_,
                    5000) != 0 ||
            runTool(QStringLiteral("pactl"), {QStringLiteral("info")}, env_, 5000, &info) != 0) {
            why = QStringLiteral("the server does not answer pactl: %1")
                      .arg(QString::fromLocal8Bit(info));
            return false;
        }
        saved_ = {qgetenv("XDG_RUNTIME_DIR"), qgetenv("PULSE_SERVER")};
        hadVariables_ = {qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"),
                         qEnvironmentVariableIsSet("PULSE_SERVER")};
        qputenv("XDG_RUNTIME_DIR", folder_.path().toLocal8Bit());
        qputenv("PULSE_SERVER", socket().toLocal8Bit());
        envSet_ = true;
        return true;
    }

    const QProcessEnvironment& environment() const { return env_; }

    void shutDown() {
        if (pid_ > 0) {
            runTool(QStringLiteral("pulseaudio"), {QStringLiteral("--kill")}, env_, 5000);
            QElapsedTimer t;
            t.start();
            while (!processGone(pid_) && t.elapsed() < 3000)
                runFor(20);
            if (!processGone(pid_)) ::kill(pid_t(pid_), SIGKILL);
            pid_ = 0;
        }
        if (envSet_) {
            const char* names[] = {"XDG_RUNTIME_DIR", "PULSE_SERVER"};
            for (int i = 0; i < 2; ++i)
                if (hadVariables_[i])
                    qputenv(names[i], saved_[i]);
                else
                    qunsetenv(names[i]);
            envSet_ = false;
        }
    }

  private:
    QString socket() const {
        return QStringLiteral("unix:") + folder_.filePath(QStringLiteral("pulse/native"));
    }

    QTemporaryDir folder_{QDir::tempPath() + QStringLiteral("/zerkavi-pulse-XXXXXX")};
    QProcessEnvironment env_;
    qint64 pid_ = 0;
    bool envSet_ = false;
    std::array<QByteArray, 2> saved_;
    std::array<bool, 2> hadVariables_{};
};

// parec on the monitor of the null sink. Every chunk that arrives is stamped with the wall
// clock, which later ties sample numbers of the recording to wall time.
class Recorder {
  public:
    Recorder(const QProcessEnvironment& env, const QElapsedTimer& wall) : wall_(wall) {
        parec_.setProcessEnvironment(env);
        QObject::connect(&parec_, &QProcess::readyReadStandardOutput, &parec_, [this] {
            bytes_ += parec_.readAllStandardOutput();
            arrivals_.push_back({nowMs(), bytes_.size() / 2});
        });
    }
    ~Recorder() { stop(); }

    bool start() {
        parec_.start(QStringLiteral("parec"),
                     {QStringLiteral("-d"), QStringLiteral("test_sink.monitor"),
                      QStringLiteral("--format=s16le"), QStringLiteral("--rate=44100"),
                      QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=10")});
        return parec_.waitForStarted(5000);
    }
    void stop() {
        if (parec_.state() == QProcess::NotRunning) return;
        ::kill(pid_t(parec_.processId()), SIGINT);
        if (!parec_.waitForFinished(3000)) {
            parec_.kill();
            parec_.waitForFinished(1000);
        }
        bytes_ += parec_.readAllStandardOutput();
    }

    qsizetype sampleCount() const { return bytes_.size() / 2; }
    std::int16_t sample(qsizetype i) const {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes_.constData()) + 2 * i;
        return std::int16_t(p[0] | (p[1] << 8));
    }
    // Wall time (ms) of recorded sample 0. A chunk can only arrive after its last sample
    // was recorded, so every arrival bounds that time from above; the tightest bound is
    // the chunk that was delivered with the least delay.
    double wallOfFirstSample() const {
        double best = 1e300;
        for (const auto& [ms, samples] : arrivals_)
            best = std::min(best, ms - samples / kSamplesPerMs);
        return best;
    }

  private:
    double nowMs() const { return wall_.nsecsElapsed() / 1e6; }

    const QElapsedTimer& wall_;
    QProcess parec_;
    QByteArray bytes_;
    std::vector<std::pair<double, qsizetype>> arrivals_;
};

// 16-bit mono 44.1 kHz silence of `lengthMs` with a 2 ms click at each of `clicksMs`.
QByteArray clickTrack(int lengthMs, const std::vector<int>& clicksMs) {
    std::vector<int> pcm(std::size_t(lengthMs * kSamplesPerMs), 0);
    for (int c : clicksMs) {
        const auto at = std::size_t(std::llround(c * kSamplesPerMs));
        for (std::size_t i = 0; i < 88 && at + i < pcm.size(); ++i)
            pcm[at + i] = (i % 2) ? -24000 : 24000;
    }
    return zerkavi::testing::qBytes(
        zerkavi::testing::wavFile(pcm, {.rate = kRate, .riffSize = true}));
}

// Sample numbers where a click starts: the first loud sample after at least 50 ms of quiet.
std::vector<qsizetype> clickOnsets(const Recorder& r) {
    std::vector<qsizetype> onsets;
    qsizetype lastLoud = -kRate;
    for (qsizetype i = 0; i < r.sampleCount(); ++i) {
        if (std::abs(int(r.sample(i))) < 8000) continue;
        if (i - lastLoud > qsizetype(50 * kSamplesPerMs)) onsets.push_back(i);
        lastLoud = i;
    }
    return onsets;
}

struct Figures {
    double median = 0, worst = 0; // worst = largest in magnitude, with its sign
    double lowest = 0, highest = 0;
};

Figures figuresOf(const std::vector<double>& v) {
    Figures f;
    if (v.empty()) return f;
    std::vector<double> sorted = v;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t n = sorted.size();
    f.median = n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    f.lowest = sorted.front();
    f.highest = sorted.back();
    f.worst = std::abs(f.lowest) > std::abs(f.highest) ? f.lowest : f.highest;
    return f;
}

// The aim: the marker within 15 ms of the sound at the median and 30 ms at worst. The
// recording shows each block as the null sink mixes it, up to one block (10 ms, the
// recorder's latency) before the sink's own clock plays it, so on the early side the
// window is wider by that block. A position that counted bytes handed to the output
// instead of bytes heard would be about 40 ms late and fail.
constexpr double kAimMedianMs = 15;
constexpr double kAimWorstMs = 30;
constexpr double kMixedAheadMs = 10;

void expectWithinAim(const Figures& f, const char* what) {
    EXPECT_GE(f.median, -kAimMedianMs - kMixedAheadMs) << what;
    EXPECT_LE(f.median, kAimMedianMs) << what;
    EXPECT_GE(f.lowest, -kAimWorstMs - kMixedAheadMs) << what;
    EXPECT_LE(f.highest, kAimWorstMs) << what;
}

const std::vector<int> kClicksMs{300, 700, 1150, 1500, 2000, 2350, 2900, 3400, 3750};
constexpr int kFileMs = 4000;

class AudioSinkTest : public ::testing::Test {
  protected:
    // One server for the suite: Qt connects a process to PulseAudio once, so a second
    // server would not be seen.
    static void SetUpTestSuite() {
        server = new PrivateServer;
        if (!server->start(serverProblem)) return;
        const QAudioDevice output = QMediaDevices::defaultAudioOutput();
        if (output.id() != QByteArrayLiteral("test_sink"))
            serverProblem =
                QStringLiteral(
                    "the audio output of this process was set up before the test server started "
                    "(it sees \"%1\"); run this test in a process of its own, as ctest does")
                    .arg(output.isNull() ? QStringLiteral("no device")
                                         : QString::fromUtf8(output.id()));
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }

    void SetUp() override {
        if (!serverProblem.isEmpty())
            GTEST_SKIP() << "No PulseAudio server for the real sound check: "
                         << serverProblem.toStdString();
        wall.start();
        ASSERT_TRUE(folder.isValid());
        file = folder.filePath(QStringLiteral("clicks.---"));
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_TRUE(out.write(clickTrack(kFileMs, kClicksMs)) > 0);
        out.close();

        recorder.emplace(server->environment(), wall);
        ASSERT_TRUE(recorder->start()) << "parec did not start";
        // The monitor stays silent for a second or more after parec connects.
        ASSERT_TRUE(runUntil([&] { return recorder->sampleCount() > kRate / 10; }, 10000))
            << "the monitor of the null sink delivered nothing within 10 s";

        poll.setTimerType(Qt::PreciseTimer);
        poll.setInterval(2);
        QObject::connect(&poll, &QTimer::timeout, &poll, [this] {
            positions.push_back({nowMs(), media.MciPosition(QStringLiteral("kivo"))});
        });
    }

    void TearDown() override {
        poll.stop();
        media.MciStopClose(QStringLiteral("kivo"));
        recorder.reset();
    }

    double nowMs() const { return wall.nsecsElapsed() / 1e6; }

    // Stops the recording a little after the sound and finds the clicks in it.
    std::vector<qsizetype> finishRecording() {
        poll.stop();
        media.MciStopClose(QStringLiteral("kivo"));
        runFor(200);
        recorder->stop();
        return clickOnsets(*recorder);
    }
    // Wall time at which the recorded sample was mixed by the sink.
    double heardAt(qsizetype sample) const {
        return recorder->wallOfFirstSample() + sample / kSamplesPerMs;
    }
    // Wall time of the first position poll after `afterMs` that reported at least `ms`.
    double positionReached(int ms, double afterMs = 0) const {
        for (const auto& [at, position] : positions)
            if (at >= afterMs && position >= ms) return at;
        return std::nan("");
    }

    static inline PrivateServer* server = nullptr;
    static inline QString serverProblem;
    QElapsedTimer wall;
    QTemporaryDir folder;
    QString file;
    std::optional<Recorder> recorder;
    MediaDevice media;
    QTimer poll;
    std::vector<std::pair<double, std::int32_t>> positions;
};

void report(const char* what, const Figures& f) {
    std::printf("%s: median %+.1f ms, worst %+.1f ms\n", what, f.median, f.worst);
    ::testing::Test::RecordProperty(std::string(what) + " median ms", std::to_string(f.median));
    ::testing::Test::RecordProperty(std::string(what) + " worst ms", std::to_string(f.worst));
}

} // namespace

// Offsets are "heard minus said", in ms: negative when the sink mixed the click before the
// position or the timer reached it.
TEST_F(AudioSinkTest, ClicksSoundWhenThePositionAndTheMarkerTimersSaySo) {
    std::vector<double> timerFired(kClicksMs.size(), std::nan(""));
    WindowTimers timers;

    media.MciOpenPlay(file, QStringLiteral("kivo"), 0);
    ASSERT_TRUE(media.soundsOnDevice(QStringLiteral("kivo")))
        << "the server runs, yet the media layer fell back to its clock";
    // As the window does: the marker's timers start right after the play command.
    const double timersStarted = nowMs();
    for (std::size_t k = 0; k < kClicksMs.size(); ++k)
        timers.start(int(k), kClicksMs[k], [&, k](int) { timerFired[k] = nowMs(); });
    poll.start();
    runFor(kFileMs + 300);
    EXPECT_EQ(media.MciPosition(QStringLiteral("kivo")), kFileMs) << "the whole file was heard";
    const std::vector<qsizetype> onsets = finishRecording();

    ASSERT_EQ(onsets.size(), kClicksMs.size()) << "every click sounds exactly once";
    for (std::size_t k = 1; k < onsets.size(); ++k)
        EXPECT_NEAR((onsets[k] - onsets[0]) / kSamplesPerMs, kClicksMs[k] - kClicksMs[0], 2.0)
            << "click " << k << " is not where the file has it: a gap or a jump in the sound";

    std::vector<double> byPosition, byTimer;
    for (std::size_t k = 0; k < kClicksMs.size(); ++k) {
        ASSERT_GE(timerFired[k] - timersStarted, kClicksMs[k] - 0.5)
            << "a precise timer fired early";
        const double reached = positionReached(kClicksMs[k]);
        ASSERT_FALSE(std::isnan(reached)) << "the position never reached click " << k;
        byPosition.push_back(heardAt(onsets[k]) - reached);
        byTimer.push_back(heardAt(onsets[k]) - timerFired[k]);
    }
    std::printf("first click mixed %.1f ms after the play command (%d ms into the file)\n",
                heardAt(onsets[0]) - timersStarted, kClicksMs[0]);
    const Figures p = figuresOf(byPosition), t = figuresOf(byTimer);
    report("sound vs reported position", p);
    report("sound vs marker timers", t);
    expectWithinAim(p, "reported position");
    expectWithinAim(t, "marker timers");
}

TEST_F(AudioSinkTest, PlayFromAPositionAndPauseKeepThePositionOnTheSound) {
    constexpr int fromMs = 1000, pauseAfterMs = 600, pauseMs = 500;
    media.MciOpenPlay(file, QStringLiteral("kivo"), fromMs);
    ASSERT_TRUE(media.soundsOnDevice(QStringLiteral("kivo")));
    poll.start();
    runFor(pauseAfterMs);
    media.MciPause(QStringLiteral("kivo"));
    const double pausedAt = nowMs();
    runFor(pauseMs);
    const double resumedAt = nowMs();
    media.MciResume(QStringLiteral("kivo"));
    runFor(kFileMs - fromMs - pauseAfterMs + 300);
    const std::vector<qsizetype> onsets = finishRecording();

    // Only the clicks after the starting point sound, each once.
    std::vector<int> expected;
    for (int c : kClicksMs)
        if (c >= fromMs) expected.push_back(c);
    ASSERT_EQ(onsets.size(), expected.size());

    // The position holds still while paused (give the output 50 ms to come to rest).
    std::vector<std::int32_t> whilePaused;
    for (const auto& [at, position] : positions)
        if (at > pausedAt + 50 && at < resumedAt) whilePaused.push_back(position);
    ASSERT_FALSE(whilePaused.empty());
    EXPECT_EQ(whilePaused.front(), whilePaused.back()) << "the position moved during the pause";
    const int heldMs = whilePaused.front();
    EXPECT_GT(heldMs, fromMs);

    // Clicks on each side of the pause keep their spacing; across it, the sound waited
    // about as long as the pause.
    std::vector<double> byPosition;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        const bool afterPause = expected[k] > heldMs;
        const double shift = (onsets[k] - onsets[0]) / kSamplesPerMs - (expected[k] - expected[0]);
        if (afterPause)
            EXPECT_NEAR(shift, pauseMs, 40) << "click " << expected[k] << " across the pause";
        else
            EXPECT_NEAR(shift, 0, 2) << "click " << expected[k] << " before the pause";
        const double reached = positionReached(expected[k], afterPause ? resumedAt : 0);
        ASSERT_FALSE(std::isnan(reached)) << "the position never reached " << expected[k];
        byPosition.push_back(heardAt(onsets[k]) - reached);
    }
    const Figures p = figuresOf(byPosition);
    report("sound vs position, from 1000 ms with a pause", p);
    expectWithinAim(p, "reported position");
}

namespace {

// Onsets of drum strokes: where the sound's first difference (its high, sharp part) rises
// well above what it was just before.
std::vector<qsizetype> strokeOnsets(const Recorder& r) {
    const qsizetype n = r.sampleCount();
    const qsizetype w = qsizetype(kSamplesPerMs); // 1 ms windows
    std::vector<double> e;
    for (qsizetype i = w; i + w <= n; i += w) {
        double sum = 0;
        for (qsizetype k = i; k < i + w; ++k)
            sum += std::abs(int(r.sample(k)) - int(r.sample(k - 1)));
        e.push_back(sum / double(w));
    }
    std::vector<qsizetype> onsets;
    std::size_t quietUntil = 0;
    for (std::size_t i = 20; i < e.size(); ++i) {
        double before = 0;
        for (std::size_t k = i - 20; k < i - 5; ++k)
            before = std::max(before, e[k]);
        if (i >= quietUntil && e[i] > 80 && e[i] > 4 * before + 30) {
            onsets.push_back(qsizetype(i + 1) * w);
            quietUntil = i + 60;
        }
    }
    return onsets;
}

} // namespace

// The whole path of the window: Düyek at 120 to the quarter is started with the Start
// button's handler; the recording must hold its strokes at the rendered times, and each
// marker step must come when its stroke is heard.
TEST_F(AudioSinkTest, DuyekStartedFromTheWindowSoundsWithItsMarker) {
    zerkavi::testing::RecordingMessages messages;
    QTemporaryDir programFolder;
    ArayüzKalıp window(programFolder.path().toStdString(), messages, QSize(1280, 1024));
    ASSERT_TRUE(window.startUp());
    window.But_yükle_Click();
    window.List1_Pick(31, Qt::LeftButton);
    window.VScroll1->setValue(270 - 120);
    window.PicBirimNota_Click();         // 8 -> 16
    window.PicBirimNota_Click();         // 16 -> 4: the quarter
    window.Option1[1]->setChecked(true); // kudüm: sharp stick attacks
    std::vector<std::pair<int, double>> steps;
    window.markerMoved = [&](int stroke) { steps.push_back({stroke, nowMs()}); };

    window.But_Baslat_Click();
    ASSERT_TRUE(window.media.soundsOnDevice(QStringLiteral("kivo")))
        << "the server runs, yet the media layer fell back to its clock";
    const UsulRender& r = window.schedule;
    ASSERT_EQ(r.strokeCount(), 5);
    runFor(int(r.playLengthMs) + 400);
    EXPECT_TRUE(window.But_Baslat->isEnabled()) << "the end timer stopped the playing";
    recorder->stop();

    const std::vector<qsizetype> onsets = strokeOnsets(*recorder);
    ASSERT_GE(onsets.size(), 5u) << "strokes heard: " << onsets.size();
    // Stroke k is the onset nearest to its rendered time, counted from the first onset
    // heard; the strokes must keep the rendered distances from each other.
    const qsizetype first = onsets.front();
    std::vector<double> heardMs, markerOffsets;
    for (int k = 1; k <= 5; ++k) {
        const double expectedMs = (r.startSamples[std::size_t(k - 1)] - 1) / kSamplesPerMs;
        qsizetype best = onsets.front();
        for (qsizetype o : onsets)
            if (std::abs((o - first) / kSamplesPerMs - expectedMs) <
                std::abs((best - first) / kSamplesPerMs - expectedMs))
                best = o;
        heardMs.push_back((best - first) / kSamplesPerMs - expectedMs);
        for (const auto& [stroke, at] : steps)
            if (stroke == k) markerOffsets.push_back(heardAt(best) - at);
    }
    const double common = figuresOf(heardMs).median;
    std::vector<double> spacingErrors;
    for (double h : heardMs)
        spacingErrors.push_back(h - common);
    const Figures spacing = figuresOf(spacingErrors);
    report("Duyek strokes against the rendered times", spacing);
    // Onsets are found to within a few ms: a weak stroke's attack needs a window or two to
    // rise above what still sounds. The strokes themselves are 250 to 500 ms apart.
    EXPECT_LE(std::abs(spacing.worst), 10) << "strokes sound where they were rendered";
    ASSERT_EQ(markerOffsets.size(), 5u) << "one marker position per stroke, the start included";
    const Figures marker = figuresOf(markerOffsets);
    report("Duyek sound against the marker", marker);
    expectWithinAim(marker, "marker steps against the strokes heard");
}

// A plan of two sections, one of them repeated with its tempo falling, played from the plan
// screen: every stroke of the rendered plan is heard once, in order, at the distance from
// the first stroke that the rendering gave it.
TEST_F(AudioSinkTest, APlanSoundsEveryStrokeOnceInOrderAtTheRenderedSpacing) {
    zerkavi::testing::RecordingMessages messages;
    QTemporaryDir programFolder;
    ArayüzKalıp window(programFolder.path().toStdString(), messages, QSize(1280, 1024));
    ASSERT_TRUE(window.startUp());
    window.slideWaitMs = 0;
    window.Option1[1]->setChecked(true); // kudüm: sharp stick attacks
    window.Option4->click();
    window.Text9->setText(QStringLiteral("Iki bolum"));
    window.Text14->setPlainText(QStringLiteral("Duyek 32 2 4 120>90\nSofyan 10 1 4 100\n"));
    window.Command8_Click();
    ASSERT_TRUE(messages.shown.isEmpty()) << messages.shown.join('|').toStdString();

    window.Command4->click();
    ASSERT_TRUE(window.media.soundsOnDevice(QStringLiteral("kivo")))
        << "the server runs, yet the media layer fell back to its clock";
    const PlanRenderResult& plan = window.plan;
    ASSERT_EQ(plan.passages.size(), 3u) << "two repetitions of the ramp, then one section";
    EXPECT_TRUE(runUntil([&] { return !window.planPlaying; }, int(plan.playLengthMs) + 5000))
        << "the end of the plan stopped it";
    runFor(300);
    recorder->stop();

    const std::vector<qsizetype> onsets = strokeOnsets(*recorder);
    std::string heard;
    for (qsizetype o : onsets)
        heard += std::to_string(int((o - onsets.front()) / kSamplesPerMs)) + ' ';
    std::string rendered;
    for (const PlanStroke& s : plan.strokes)
        rendered +=
            std::to_string(int((s.startSample - plan.strokes[0].startSample) / kSamplesPerMs)) +
            ' ';
    ASSERT_EQ(onsets.size(), plan.strokes.size())
        << "every stroke heard once; heard at " << heard << "ms, rendered at " << rendered;
    std::vector<double> errors;
    for (std::size_t k = 0; k < onsets.size(); ++k) {
        const double heardMs = (onsets[k] - onsets[0]) / kSamplesPerMs;
        const double renderedMs =
            double(plan.strokes[k].startSample - plan.strokes[0].startSample) / kSamplesPerMs;
        errors.push_back(heardMs - renderedMs);
    }
    const Figures spacing = figuresOf(errors);
    report("plan strokes against the rendered times", spacing);
    // The detector finds an attack to within a window or two; strokes are 125 ms or more
    // apart, so a stroke lost, doubled or out of order shows as a large error.
    EXPECT_LE(std::abs(spacing.worst - spacing.median), 10) << "strokes where they were rendered";
}
