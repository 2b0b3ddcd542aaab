// A private PulseAudio server with a null sink, a recorder on its monitor and what finds the
// strokes in a recording: shared by the sound-device tests and the sound benchmarks.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <vector>

namespace zerkavi::testing {

constexpr int kRate = 44100;
constexpr double kSamplesPerMs = kRate / 1000.0;

// Runs the real event loop for `ms`: QTest::qWait sleeps 10 ms between rounds and would blur
// every timing measured.
void runFor(int ms);
// Runs the event loop until `done` holds; false after `timeoutMs`.
bool runUntil(const std::function<bool()>& done, int timeoutMs);

// A PulseAudio server of our own, its sockets in a private runtime folder, so it neither meets
// nor disturbs a server of the user. start() points this process at it (XDG_RUNTIME_DIR,
// PULSE_SERVER): call it before the process first asks Qt for an audio device, as Qt connects
// to PulseAudio once.
class PrivateServer {
  public:
    ~PrivateServer() { shutDown(); }
    // False, with the reason, when no server could be started.
    bool start(QString& why);
    const QProcessEnvironment& environment() const { return env_; }
    void shutDown();

  private:
    QTemporaryDir folder_{QDir::tempPath() + QStringLiteral("/zerkavi-pulse-XXXXXX")};
    QProcessEnvironment env_;
    qint64 pid_ = 0;
};

// parec on the monitor of the null sink.
class Recorder {
  public:
    explicit Recorder(const QProcessEnvironment& env);
    ~Recorder() { stop(); }
    // Starts and waits until the monitor delivers: it stays silent for a second or more after
    // parec connects. False when nothing came within 10 s.
    bool startHeard();
    void stop();
    qsizetype sampleCount() const { return bytes_.size() / 2; }
    std::int16_t sample(qsizetype i) const {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes_.constData()) + 2 * i;
        return std::int16_t(p[0] | (p[1] << 8));
    }
    // Milliseconds since the recorder was made, and when (on that clock) the sink mixed the
    // recorded sample `i`.
    double nowMs() const { return wall_.nsecsElapsed() / 1e6; }
    double heardAt(qsizetype i) const { return firstSampleAt_ + i / kSamplesPerMs; }

  private:
    QElapsedTimer wall_;
    QProcess parec_;
    QByteArray bytes_;
    double firstSampleAt_ = 1e300;
};

// Onsets of drum strokes and clicks: where the sound's first difference (its high, sharp part)
// rises well above what it was just before.
std::vector<qsizetype> strokeOnsets(const Recorder& r);

} // namespace zerkavi::testing
