// PCM from memory to a sound device, fed from a thread of its own. The window's thread
// only starts, pauses and stops it; drawing, dialogs or a busy event loop there cannot
// starve the output, and the position comes from what the output reports as played.
#pragma once

#include <QAudioDevice>
#include <QAudioFormat>
#include <QByteArray>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class QThread;

namespace zerkavi {

class AudioFeeder;

class AudioOutput {
  public:
    AudioOutput();
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Fills `bytes` (a whole number of frames) with what plays next and returns how many
    // it filled; fewer means the sound ends there. Called on the output's own thread.
    using Source = std::function<qsizetype(char* bytes, qsizetype size)>;
    // Plays what `source` gives, asked for a little at a time as the output needs it, 16-bit
    // samples multiplied by `gain` (sound/loudness.h). False when the device cannot be
    // opened (no server, or the stream is refused).
    bool start(const QAudioDevice& device, const QAudioFormat& format, Source source, int bufferMs,
               double gain = 1.0);
    // Plays `pcm` from byte `fromByte`; `pcm` must stay valid until stop().
    bool start(const QAudioDevice& device, const QAudioFormat& format, const QByteArray& pcm,
               qsizetype fromByte, int bufferMs, double gain = 1.0);
    // From the next sample the output asks for, plays the source `next` makes of how many
    // frames the source so far has handed over since start(): no gap, no new start. From
    // then on at most `aheadMs` are kept queued, so what the new source says is heard sooner.
    using Successor = std::function<Source(std::int64_t framesHanded)>;
    void continueWith(const Successor& next, int aheadMs);
    // Pausing holds the sound and its position; nothing is fed until it goes on.
    void setPaused(bool paused);
    void stop();

    // Microseconds of sound played since start(), as the output reports it, carried on
    // by the clock for the few ms since its last report. Never goes back while playing.
    std::int64_t playedUs() const;
    // The output failed while playing (the sound server went away). playedUs() then
    // holds what was heard; failedAtMs() is when, on the steady clock.
    bool failed() const { return shared_->failed.load(); }
    std::int64_t failedAtMs() const { return shared_->failedAtMs.load(); }

    // The level of every output of the program, 0..1; applied within a few ms, to what
    // plays as well. Rendered files keep their samples.
    // What every sound of the program is played as: mono 16-bit samples at its one rate.
    static QAudioFormat pcmFormat();
    static void setMasterVolume(double level);
    static double masterVolume();

    // What the feeder publishes and the window's thread reads.
    struct Shared {
        std::atomic<std::int64_t> processedUs{0};
        std::atomic<std::int64_t> reportedAtUs{0}; // steady clock, when processedUs was read
        std::atomic<bool> running{false};          // sound moving: not paused, not ended
        std::atomic<bool> failed{false};
        std::atomic<std::int64_t> failedAtMs{0};
    };

  private:
    std::shared_ptr<Shared> shared_;
    std::unique_ptr<QThread> thread_;
    AudioFeeder* feeder_ = nullptr; // lives on thread_
    mutable std::int64_t lastPlayedUs_ = 0;
};

} // namespace zerkavi
