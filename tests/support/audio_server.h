// A private PulseAudio server with a null sink, a recorder on its monitor and what finds
// the sounds in a recording: shared by the sound-device tests and the marker benchmark.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <array>
#include <utility>
#include <vector>

namespace zerkavi::testing {

constexpr int kRate = 44100;
constexpr double kSamplesPerMs = kRate / 1000.0;

// Runs the event loop for `ms`; the real loop, since QTest::qWait sleeps 10 ms between
// rounds and would blur every timing it measures.
void runFor(int ms);
// Runs the event loop until `done` holds; false after `timeoutMs`.
template <class Done> bool runUntil(Done done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        runFor(5);
    }
    return true;
}

// A PulseAudio server of our own, with its sockets in a private runtime folder, so it
// neither meets nor disturbs a server of the user. This process talks to it through
// XDG_RUNTIME_DIR and PULSE_SERVER, which are put back afterwards. Start it before the
// process first asks Qt for an audio device: Qt connects to PulseAudio once.
class PrivateServer {
  public:
    ~PrivateServer() { shutDown(); }
    // False, with the reason, when no server could be started.
    bool start(QString& why);
    const QProcessEnvironment& environment() const { return env_; }
    void shutDown();

  private:
    QString socket() const;

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
    Recorder(const QProcessEnvironment& env, const QElapsedTimer& wall);
    ~Recorder() { stop(); }
    bool start();
    // Starts and waits until the monitor delivers: it stays silent for a second or more
    // after parec connects. False when nothing came within 10 s.
    bool startHeard();
    void stop();
    qsizetype sampleCount() const { return bytes_.size() / 2; }
    std::int16_t sample(qsizetype i) const {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes_.constData()) + 2 * i;
        return std::int16_t(p[0] | (p[1] << 8));
    }
    // Wall time (ms) of recorded sample 0. A chunk can only arrive after its last sample
    // was recorded, so every arrival bounds that time from above; the tightest bound is
    // the best estimate.
    double wallOfFirstSample() const;
    // Wall time (ms) at which a recorded sample was mixed by the sink.
    double heardAt(qsizetype sample) const { return wallOfFirstSample() + sample / kSamplesPerMs; }

  private:
    double nowMs() const { return wall_.nsecsElapsed() / 1e6; }

    const QElapsedTimer& wall_;
    QProcess parec_;
    QByteArray bytes_;
    std::vector<std::pair<double, qsizetype>> arrivals_;
};

// Sample numbers where a click starts: the first loud sample after at least 50 ms of quiet.
std::vector<qsizetype> clickOnsets(const Recorder& r);
// Onsets of drum strokes: where the sound's first difference (its high, sharp part) rises
// well above what it was just before.
std::vector<qsizetype> strokeOnsets(const Recorder& r);

struct Figures {
    double median = 0, worst = 0; // worst = largest in magnitude, with its sign
    double lowest = 0, highest = 0;
};
Figures figuresOf(const std::vector<double>& v);

// Strokes found in a recording against the rendered stroke times (ms from the first
// stroke) and the marker's steps (stroke number, wall ms). Stroke k is the onset nearest
// to its rendered time counted from the first onset heard.
struct StrokeMatch {
    std::size_t onsetsFound = 0;
    // Heard minus rendered, less the common offset of all strokes.
    std::vector<double> spacingErrorsMs;
    // When the stroke was heard minus when the marker stepped onto it.
    std::vector<double> markerOffsetsMs;
};
StrokeMatch matchStrokes(const Recorder& r, const std::vector<double>& renderedMs,
                         const std::vector<std::pair<int, double>>& markerSteps);

} // namespace zerkavi::testing
