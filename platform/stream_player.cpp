#include "platform/stream_player.h"

#include "sound/wav.h"

#include <QMediaDevices>

#include <vector>

namespace zerkavi {

void StreamPlayer::start(std::shared_ptr<CycleStream> stream, bool forceClock, int bufferMs,
                         ClockMs clock, double gain) {
    stop();
    stream_ = std::move(stream);
    clock_ = std::move(clock);
    startMs_ = clockMs();
    startSample_ = 0;
    const QAudioDevice device = forceClock ? QAudioDevice() : QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return;
    auto output = std::make_unique<AudioOutput>();
    if (output->start(device, AudioOutput::pcmFormat(), sourceOf(stream_), bufferMs, gain))
        output_ = std::move(output);
}

void StreamPlayer::continueFrom(std::shared_ptr<CycleStream> stream,
                                std::unique_ptr<AudioOutput> output, std::int64_t atSample,
                                ClockMs clock) {
    stop();
    stream_ = std::move(stream);
    clock_ = std::move(clock);
    output_ = std::move(output);
    startSample_ = atSample;
    startMs_ = clockMs() - atSample * 1000 / kSampleRate;
}

AudioOutput::Source StreamPlayer::sourceOf(std::shared_ptr<CycleStream> stream) {
    return [s = std::move(stream)](char* bytes, qsizetype size) {
        return qsizetype(2 *
                         s->read({reinterpret_cast<std::int16_t*>(bytes), std::size_t(size / 2)}));
    };
}

void StreamPlayer::stop() {
    if (output_) output_->stop();
    output_.reset();
    stream_.reset();
}

std::int64_t StreamPlayer::clockMs() const {
    if (clock_) return clock_();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t StreamPlayer::heardSamples() {
    if (!stream_) return 0;
    if (output_ && !output_->failed())
        return startSample_ + output_->playedUs() * kSampleRate / 1000000;
    const std::int64_t heard = (clockMs() - startMs_) * kSampleRate / 1000;
    // Nothing plays the stream: read it as far as the clock has come.
    std::vector<std::int16_t> sink(4096);
    for (std::int64_t behind = heard - stream_->samplesRead(); behind > 0;) {
        const std::size_t n =
            stream_->read(std::span(sink).first(std::size_t(std::min<std::int64_t>(behind, 4096))));
        if (n == 0) break;
        behind -= std::int64_t(n);
    }
    return heard;
}

} // namespace zerkavi
