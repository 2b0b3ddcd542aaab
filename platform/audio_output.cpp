#include "platform/audio_output.h"

#include "sound/loudness.h"
#include "sound/wav.h"

#include <QAudioSink>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <limits>

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
// Silence before the first sample of every start. PulseAudio lets a new stream in at the
// sink's next block and drops what falls before it: up to 9 ms of the first stroke's attack
// went missing on a null sink. Positions leave this lead out.
constexpr int kLeadMs = 20;

std::atomic<double> masterLevel{1.0};

} // namespace

// Owns the QAudioSink and writes the samples into it, all on the audio thread.
class AudioFeeder : public QObject {
  public:
    explicit AudioFeeder(std::shared_ptr<AudioOutput::Shared> shared)
        : shared_(std::move(shared)) {}
    ~AudioFeeder() override { release(); }

    bool begin(const QAudioDevice& device, const QAudioFormat& format, AudioOutput::Source source,
               int bufferMs, double gain) {
        release();
        source_ = std::move(source);
        gain_ = format.sampleFormat() == QAudioFormat::Int16 ? gain : 1.0;
        sourceEnded_ = false;
        leadBytes_ = qsizetype(kLeadMs) * format.sampleRate() / 1000 * format.bytesPerFrame();
        leadUs_ = kLeadMs * 1000;
        framesHanded_ = 0;
        aheadBytes_ = std::numeric_limits<qsizetype>::max();
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
        shared_->running = true;
        setPaused(false);
        timer_->start(kFeedMs);
        return true;
    }

    void continueWith(const AudioOutput::Successor& next, int aheadMs) {
        if (!sink_) return;
        source_ = next(framesHanded_);
        const QAudioFormat f = sink_->format();
        aheadBytes_ = qsizetype(aheadMs) * f.sampleRate() / 1000 * f.bytesPerFrame();
        sourceEnded_ = false;
    }

    void setPaused(bool paused) {
        if (!sink_) return;
        // Nothing is written while paused: a write would wake the output up again.
        paused_ = paused;
        if (paused)
            sink_->suspend();
        else if (sink_->state() == QAudio::SuspendedState)
            sink_->resume();
        publish();
        shared_->running = !paused;
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
        shared_->processedUs = std::max<std::int64_t>(0, sink->processedUSecs() - leadUs_);
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
        // Whole frames only; what the output did not take waits for the next tick.
        const qsizetype frame = sink_->format().bytesPerFrame();
        if (pending_.isEmpty() && !sourceEnded_) {
            const qsizetype free = sink_->bytesFree();
            const qsizetype room = std::min(free, aheadBytes_ - (sink_->bufferSize() - free));
            const qsizetype want = std::max<qsizetype>(0, room) / frame * frame;
            if (want > 0) {
                pending_.resize(want);
                const qsizetype lead = std::min(want, leadBytes_);
                std::memset(pending_.data(), 0, std::size_t(lead));
                leadBytes_ -= lead;
                const qsizetype got =
                    lead + std::max<qsizetype>(0, source_(pending_.data() + lead, want - lead));
                pending_.truncate(got);
                framesHanded_ += (got - lead) / frame;
                sourceEnded_ = got < want;
                applyGain({reinterpret_cast<std::int16_t*>(pending_.data()), std::size_t(got / 2)},
                          gain_);
            }
        }
        if (!pending_.isEmpty()) {
            const qint64 written = input_->write(pending_.constData(), pending_.size());
            if (written > 0) pending_.remove(0, qsizetype(written));
        }
        // Everything handed over and played: the position stands at the end.
        if (sourceEnded_ && pending_.isEmpty() && sink_->state() == QAudio::IdleState)
            shared_->running = false;
    }

    std::shared_ptr<AudioOutput::Shared> shared_;
    AudioOutput::Source source_;
    double gain_ = 1.0;
    qsizetype leadBytes_ = 0; // of the lead, still to be written
    std::int64_t leadUs_ = 0;
    std::int64_t framesHanded_ = 0; // by the sources, since begin
    qsizetype aheadBytes_ = 0;      // at most this much is kept queued in the output
    QByteArray pending_;            // from the source, not yet taken by the output
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

bool AudioOutput::start(const QAudioDevice& device, const QAudioFormat& format, Source source,
                        int bufferMs, double gain) {
    bool ok = false;
    lastPlayedUs_ = 0;
    QMetaObject::invokeMethod(
        feeder_, [&] { ok = feeder_->begin(device, format, std::move(source), bufferMs, gain); },
        Qt::BlockingQueuedConnection);
    return ok;
}

bool AudioOutput::start(const QAudioDevice& device, const QAudioFormat& format,
                        const QByteArray& pcm, qsizetype fromByte, int bufferMs, double gain) {
    auto fromBuffer = [&pcm, next = fromByte](char* bytes, qsizetype size) mutable {
        const qsizetype n = std::clamp<qsizetype>(pcm.size() - next, 0, size);
        std::memcpy(bytes, pcm.constData() + next, std::size_t(n));
        next += n;
        return n;
    };
    return start(device, format, fromBuffer, bufferMs, gain);
}

QAudioFormat AudioOutput::pcmFormat() {
    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

void AudioOutput::setMasterVolume(double level) {
    masterLevel = std::clamp(level, 0.0, 1.0);
}

double AudioOutput::masterVolume() {
    return masterLevel.load();
}

void AudioOutput::continueWith(const Successor& next, int aheadMs) {
    QMetaObject::invokeMethod(
        feeder_, [&] { feeder_->continueWith(next, aheadMs); }, Qt::BlockingQueuedConnection);
}

void AudioOutput::setPaused(bool paused) {
    QMetaObject::invokeMethod(
        feeder_, [this, paused] { feeder_->setPaused(paused); }, Qt::BlockingQueuedConnection);
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
