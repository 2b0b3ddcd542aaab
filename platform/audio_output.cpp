#include "platform/audio_output.h"

#include <QAudioSink>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>

#include <pthread.h>
#include <sched.h>

namespace zerkavi {

namespace {

std::int64_t steadyUs() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

// How often the feeder tops the output up and reads its position. Well under any buffer
// that works; on a thread of its own the wake-ups cost next to nothing.
constexpr int kFeedMs = 5;
// The clock carries a report on for at most this long, so a stalled output stops the
// position soon after.
constexpr std::int64_t kCarryUs = 12000;

std::atomic<double> masterLevel{1.0};

} // namespace

// Owns the QAudioSink and writes the samples into it, all on the audio thread.
class AudioFeeder : public QObject {
  public:
    explicit AudioFeeder(std::shared_ptr<AudioOutput::Shared> shared)
        : shared_(std::move(shared)) {}
    ~AudioFeeder() override { release(); }

    bool begin(const QAudioDevice& device, const QAudioFormat& format, const QByteArray& pcm,
               qsizetype fromByte, int bufferMs, AudioOutput::Source source = {}) {
        release();
        pcm_ = pcm;
        next_ = fromByte;
        source_ = std::move(source);
        sourceEnded_ = false;
        shared_->processedUs = 0;
        shared_->reportedAtUs = steadyUs();
        shared_->failed = false;
        const int frame = format.bytesPerFrame();
        auto* sink = new QAudioSink(device, format);
        // Without a request PulseAudio may choose a buffer of up to two seconds.
        sink->setBufferSize(qsizetype(bufferMs) * format.sampleRate() / 1000 * frame);
        QIODevice* input = sink->start();
        if (!input || sink->error() != QAudio::NoError || sink->state() == QAudio::StoppedState) {
            delete sink;
            return false;
        }
        sink_ = sink;
        input_ = input;
        level_ = masterLevel.load();
        sink->setVolume(level_);
        // Samples are written whatever space the output has free: Qt 6.4's pull mode hands
        // PulseAudio whole periods only and stalled for good with buffers of 40 to 50 ms.
        timer_ = new QTimer(this);
        timer_->setTimerType(Qt::PreciseTimer);
        connect(timer_, &QTimer::timeout, this, [this] { tick(); });
        connect(sink, &QAudioSink::stateChanged, this, [this, sink](QAudio::State st) {
            if (st != QAudio::StoppedState || sink_ != sink || sink->error() == QAudio::NoError)
                return;
            publish();
            shared_->running = false;
            using namespace std::chrono;
            shared_->failedAtMs =
                duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
            shared_->failed = true;
            // Inside the sink's own signal: it may not be deleted here.
            release(/*later=*/true);
        });
        paused_ = false;
        shared_->running = true;
        tick();
        timer_->start(kFeedMs);
        return true;
    }

    void suspend() {
        if (!sink_) return;
        // Nothing is written while paused: a write would wake the output up again.
        paused_ = true;
        sink_->suspend();
        publish();
        shared_->running = false;
    }
    void resume() {
        if (!sink_) return;
        paused_ = false;
        sink_->resume();
        publish();
        shared_->running = true;
        tick();
    }
    void release(bool later = false) {
        if (timer_) {
            timer_->stop();
            delete timer_;
            timer_ = nullptr;
        }
        if (!sink_) return;
        QAudioSink* sink = std::exchange(sink_, nullptr);
        input_ = nullptr;
        pending_.clear();
        source_ = {};
        disconnect(sink, nullptr, this, nullptr);
        if (!later) publish(sink);
        shared_->running = false;
        sink->stop();
        if (later)
            sink->deleteLater();
        else
            delete sink;
    }

  private:
    void publish(QAudioSink* sink = nullptr) {
        if (!sink) sink = sink_;
        if (!sink) return;
        shared_->processedUs = sink->processedUSecs();
        shared_->reportedAtUs = steadyUs();
    }
    void tick() {
        if (!sink_) return;
        publish();
        if (const double level = masterLevel.load(); level != level_) {
            level_ = level;
            sink_->setVolume(level);
        }
        if (paused_) return;
        if (source_) {
            // Whole frames only; what the output did not take waits for the next tick.
            const qsizetype frame = sink_->format().bytesPerFrame();
            if (pending_.isEmpty() && !sourceEnded_) {
                const qsizetype want = sink_->bytesFree() / frame * frame;
                if (want > 0) {
                    pending_.resize(want);
                    const qsizetype got = source_(pending_.data(), want);
                    pending_.truncate(std::max<qsizetype>(0, got));
                    sourceEnded_ = got < want;
                }
            }
            if (!pending_.isEmpty()) {
                const qint64 written = input_->write(pending_.constData(), pending_.size());
                if (written > 0) pending_.remove(0, qsizetype(written));
            }
            if (sourceEnded_ && pending_.isEmpty() && sink_->state() == QAudio::IdleState)
                shared_->running = false;
            return;
        }
        const qsizetype n = std::min<qsizetype>(sink_->bytesFree(), pcm_.size() - next_);
        if (n > 0) {
            const qint64 written = input_->write(pcm_.constData() + next_, n);
            if (written > 0) next_ += qsizetype(written);
        }
        // Everything handed over and played: the position stands at the end.
        if (next_ >= pcm_.size() && sink_->state() == QAudio::IdleState) shared_->running = false;
    }

    std::shared_ptr<AudioOutput::Shared> shared_;
    QByteArray pcm_;
    qsizetype next_ = 0;
    AudioOutput::Source source_;
    QByteArray pending_; // from the source, not yet taken by the output
    bool sourceEnded_ = false;
    double level_ = 1.0;
    QAudioSink* sink_ = nullptr;
    QIODevice* input_ = nullptr;
    QTimer* timer_ = nullptr;
    bool paused_ = false;
};

namespace {

// The feeder wakes every few ms and works for microseconds: ahead of busy threads in the
// round-robin class where the system allows it (root, or a real-time limit), an ordinary
// thread elsewhere.
void preferFeederThread() {
    sched_param p{};
    p.sched_priority = std::max(1, sched_get_priority_min(SCHED_RR));
    pthread_setschedparam(pthread_self(), SCHED_RR, &p);
}

} // namespace

AudioOutput::AudioOutput()
    : shared_(std::make_shared<Shared>()), thread_(std::make_unique<QThread>()) {
    thread_->setObjectName(QStringLiteral("audio output"));
    feeder_ = new AudioFeeder(shared_);
    feeder_->moveToThread(thread_.get());
    thread_->start(QThread::HighestPriority);
    QMetaObject::invokeMethod(feeder_, [] { preferFeederThread(); });
}

AudioOutput::~AudioOutput() {
    stop();
    thread_->quit();
    thread_->wait();
    // The thread has ended and the feeder holds no timer or sink any more.
    delete feeder_;
}

bool AudioOutput::start(const QAudioDevice& device, const QAudioFormat& format,
                        const QByteArray& pcm, qsizetype fromByte, int bufferMs) {
    bool ok = false;
    lastPlayedUs_ = 0;
    QMetaObject::invokeMethod(
        feeder_, [&] { ok = feeder_->begin(device, format, pcm, fromByte, bufferMs); },
        Qt::BlockingQueuedConnection);
    return ok;
}

bool AudioOutput::start(const QAudioDevice& device, const QAudioFormat& format, Source source,
                        int bufferMs) {
    bool ok = false;
    lastPlayedUs_ = 0;
    QMetaObject::invokeMethod(
        feeder_,
        [&] { ok = feeder_->begin(device, format, QByteArray(), 0, bufferMs, std::move(source)); },
        Qt::BlockingQueuedConnection);
    return ok;
}

void AudioOutput::setMasterVolume(double level) {
    masterLevel = std::clamp(level, 0.0, 1.0);
}

double AudioOutput::masterVolume() {
    return masterLevel.load();
}

void AudioOutput::suspend() {
    QMetaObject::invokeMethod(
        feeder_, [this] { feeder_->suspend(); }, Qt::BlockingQueuedConnection);
}

void AudioOutput::resume() {
    QMetaObject::invokeMethod(
        feeder_, [this] { feeder_->resume(); }, Qt::BlockingQueuedConnection);
}

void AudioOutput::stop() {
    QMetaObject::invokeMethod(
        feeder_, [this] { feeder_->release(); }, Qt::BlockingQueuedConnection);
}

std::int64_t AudioOutput::playedUs() const {
    std::int64_t us = shared_->processedUs.load();
    if (shared_->running.load() && us > 0)
        us += std::clamp<std::int64_t>(steadyUs() - shared_->reportedAtUs.load(), 0, kCarryUs);
    lastPlayedUs_ = std::max(lastPlayedUs_, us);
    return lastPlayedUs_;
}

} // namespace zerkavi
