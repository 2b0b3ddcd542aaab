// Plays a stream of cycles (sound/cycle_stream.h) on the default sound device, fed from the
// audio output's own thread, or on a clock where there is no device, so the marker and the
// end behave the same without sound.
#pragma once

#include "platform/audio_output.h"
#include "sound/cycle_stream.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace zerkavi {

class StreamPlayer {
  public:
    using ClockMs = std::function<std::int64_t()>;

    // Starts `stream`, its samples multiplied by `gain` at the output; with `forceClock` (or
    // no device that opens) time runs on `clock`, a steady clock when it is empty.
    void start(std::shared_ptr<CycleStream> stream, bool forceClock, int bufferMs,
               ClockMs clock = {}, double gain = 1.0);
    // Goes on with `stream` where another sound stopped at its sample `atSample`: on `output`,
    // which started at that sample and already plays the stream, or on the clock from there.
    void continueFrom(std::shared_ptr<CycleStream> stream, std::unique_ptr<AudioOutput> output,
                      std::int64_t atSample, ClockMs clock = {});
    // What the output reads of `stream`.
    static AudioOutput::Source sourceOf(std::shared_ptr<CycleStream> stream);
    void stop();
    bool playing() const { return stream_ != nullptr; }
    bool onDevice() const { return output_ != nullptr; }
    // Samples heard since start. On the clock the stream is read up to that point, so
    // its changes of tempo happen as they would on a device.
    std::int64_t heardSamples();
    CycleStream::Place place() {
        return stream_ ? stream_->placeAt(heardSamples()) : CycleStream::Place{};
    }

  private:
    std::int64_t clockMs() const;

    std::shared_ptr<CycleStream> stream_;
    std::unique_ptr<AudioOutput> output_;
    ClockMs clock_;
    std::int64_t startMs_ = 0;     // on the clock, when sample 0 sounded
    std::int64_t startSample_ = 0; // of the stream, when the output started
};

} // namespace zerkavi
