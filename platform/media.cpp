#include "platform/media.h"

#include "platform/audio_output.h"
#include "sound/loudness.h"
#include "sound/wav.h"

#include <QAudioDevice>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMediaDevices>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <limits>

namespace zerkavi {

namespace {

bool isWord(const QString& s, const char* word) {
    return s.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

MediaReply fail(const char* why) {
    return {false, QString::fromLatin1(why)};
}
MediaReply done(QString text = {}) {
    return {true, std::move(text)};
}

} // namespace

struct MediaDevice::Stream {
    enum class Mode { Stopped, Playing, Paused };

    // The file stays mapped while it is open: opening a long file costs no copy, so the
    // first samples reach the output at once whatever its length.
    std::unique_ptr<QFile> file;
    QByteArray bytes; // the whole file: a view of the mapping, or a copy where mapping fails
    QByteArray pcm;   // a view into `bytes`
    int bytesPerFrame = 2;
    std::int64_t lengthMs = 0;

    Mode mode = Mode::Stopped;
    // The position while stopped or paused on the clock, and where the clock last started.
    std::int64_t heldMs = 0;
    std::int64_t clockStartedAt = 0;
    // The sound device's output, made at the first play that finds a device; `onDevice`
    // while it plays this stream, from position `sinkStartMs`.
    std::unique_ptr<AudioOutput> output;
    bool onDevice = false;
    std::int64_t sinkStartMs = 0;
    double gain = 0; // at the output, found at the first play on a device
};

MediaDevice::MediaDevice() = default;

MediaDevice::~MediaDevice() {
    for (auto& [alias, stream] : streams_)
        releaseSink(*stream);
}

std::int64_t MediaDevice::nowMs() const {
    if (clock_) return clock_();
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void MediaDevice::forceClock(ClockMs clock) {
    clockForced_ = true;
    clock_ = std::move(clock);
}

QString MediaDevice::resolve(const QString& path) const {
    if (folder_.isEmpty() || QDir::isAbsolutePath(path)) return path;
    return QDir(folder_).filePath(path);
}

MediaDevice::Stream* MediaDevice::find(const QString& alias) {
    const auto it = streams_.find(alias.toLower());
    return it == streams_.end() ? nullptr : it->second.get();
}

bool MediaDevice::isOpen(const QString& alias) const {
    return streams_.count(alias.toLower()) != 0;
}

std::int64_t MediaDevice::heardMs(const QString& alias) const {
    const auto it = streams_.find(alias.toLower());
    return it == streams_.end() ? -1 : position(*it->second);
}

MediaDevice::HandOver
MediaDevice::handOver(const QString& alias,
                      const std::function<AudioOutput::Source(std::int64_t sample)>& next,
                      int aheadMs) {
    HandOver h;
    Stream* s = find(alias);
    if (!s || s->mode != Stream::Mode::Playing) return h;
    takeOverFailedDevice(*s);
    if (s->onDevice) {
        h.atSample = s->sinkStartMs * kSampleRate / 1000;
        s->output->continueWith([&](std::int64_t handed) { return next(h.atSample + handed); },
                                aheadMs);
        h.output = std::move(s->output);
    } else {
        h.atSample = position(*s) * kSampleRate / 1000;
    }
    h.ok = true;
    streams_.erase(alias.toLower());
    return h;
}

bool MediaDevice::soundsOnDevice(const QString& alias) const {
    const auto it = streams_.find(alias.toLower());
    return it != streams_.end() && it->second->onDevice && !it->second->output->failed();
}

std::int64_t MediaDevice::position(const Stream& s) const {
    std::int64_t ms = s.heldMs;
    if (s.onDevice) {
        ms = s.sinkStartMs + s.output->playedUs() / 1000;
        // A failed device not yet handed over to the clock: the clock runs from then.
        if (s.output->failed() && s.mode == Stream::Mode::Playing)
            ms += nowMs() - s.output->failedAtMs();
    } else if (s.mode == Stream::Mode::Playing)
        ms = s.heldMs + (nowMs() - s.clockStartedAt);
    return std::clamp<std::int64_t>(ms, 0, s.lengthMs);
}

void MediaDevice::releaseSink(Stream& s) {
    if (!s.onDevice) return;
    s.onDevice = false;
    s.output->stop();
}

void MediaDevice::takeOverFailedDevice(Stream& s) {
    if (!s.onDevice || !s.output->failed()) return;
    // The device failed while playing (the server went away): the clock carries on from
    // what was heard, as if it had taken over at that moment.
    const std::int64_t heard =
        std::clamp<std::int64_t>(s.sinkStartMs + s.output->playedUs() / 1000, 0, s.lengthMs);
    const std::int64_t failedAt = s.output->failedAtMs();
    releaseSink(s);
    s.heldMs = heard;
    s.clockStartedAt = clock_ ? nowMs() : failedAt;
}

void MediaDevice::startOnClock(Stream& s, std::int64_t fromMs) {
    s.heldMs = fromMs;
    s.clockStartedAt = nowMs();
}

MediaReply MediaDevice::open(const QString& path, const QString& type, const QString& alias) {
    if (!isWord(type, "waveaudio")) return fail("unknown device type");
    if (alias.isEmpty()) return fail("missing alias");
    if (isOpen(alias)) return fail("alias already in use");
    auto s = std::make_unique<Stream>();
    s->file = std::make_unique<QFile>(resolve(path));
    if (!s->file->open(QIODevice::ReadOnly)) return fail("cannot open the file");
    if (uchar* mapped = s->file->map(0, s->file->size()))
        s->bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(mapped),
                                           qsizetype(s->file->size()));
    else
        s->bytes = s->file->readAll();
    // The renderers' reader decides what is played: the same files, the same samples, at
    // the program's one sample rate.
    const auto* data = reinterpret_cast<const std::uint8_t*>(s->bytes.constData());
    const DataChunk wav = findDataChunk({data, std::size_t(s->bytes.size())});
    if (const WavStatus st = wavStatus(wav); st != WavStatus::Ok) {
        const char* text = wavStatusMessage(st);
        return fail(text ? text : "two channels");
    }
    s->bytesPerFrame = 2;
    const qsizetype claimed = 2 * qsizetype(wav.sampleCount);
    const qsizetype offset =
        qsizetype(std::min<std::uint64_t>(wav.sampleOffset, std::uint64_t(s->bytes.size())));
    const qsizetype present = std::min(claimed, s->bytes.size() - offset);
    if (present == claimed) {
        s->pcm = QByteArray::fromRawData(s->bytes.constData() + offset, claimed);
    } else {
        // Samples the header claims past the end of the file are silence, as the reader
        // reads them.
        s->pcm = QByteArray(s->bytes.constData() + offset, present);
        s->pcm.resize(claimed, '\0');
    }
    s->lengthMs = s->pcm.size() / s->bytesPerFrame * 1000 / kSampleRate;
    streams_[alias.toLower()] = std::move(s);
    return done();
}

MediaReply MediaDevice::play(Stream& s, std::int64_t fromMs) {
    if (fromMs < 0 || fromMs > s.lengthMs) return fail("position out of range");
    releaseSink(s);
    s.mode = Stream::Mode::Playing;

    const QAudioDevice device = clockForced_ ? QAudioDevice() : QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        startOnClock(s, fromMs);
        return done();
    }
    // The samples are fed from the output's own thread, so that nothing this thread does
    // can make the sound stumble.
    if (!s.output) s.output = std::make_unique<AudioOutput>();
    const qsizetype fromByte = qsizetype(fromMs * kSampleRate / 1000) * s.bytesPerFrame;
    // The louder default: one gain for the whole file, from its loudest sample.
    if (s.gain == 0)
        s.gain = playbackGain(peakOf({reinterpret_cast<const std::int16_t*>(s.pcm.constData()),
                                      std::size_t(s.pcm.size() / 2)}));
    if (!s.output->start(device, AudioOutput::pcmFormat(), s.pcm, fromByte, bufferMs_, s.gain)) {
        // No server, or the device refused the stream: keep time as if it played.
        startOnClock(s, fromMs);
        return done();
    }
    s.onDevice = true;
    s.sinkStartMs = fromMs;
    return done();
}

MediaReply MediaDevice::send(const QString& command) {
    sent_ << command;
    const QStringList words = command.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty()) return fail("empty command");
    const QString& verb = words[0];

    if (isWord(verb, "open")) {
        // The path may hold blanks: it ends at the last " type ".
        const qsizetype from = command.indexOf(verb) + verb.size() + 1;
        const qsizetype typeAt =
            command.lastIndexOf(QLatin1String(" type "), -1, Qt::CaseInsensitive);
        if (typeAt < from) return fail("open needs a type");
        QString path = command.mid(from, typeAt - from);
        if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) &&
            path.endsWith(QLatin1Char('"')))
            path = path.mid(1, path.size() - 2);
        const QStringList tail = command.mid(typeAt).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (tail.size() != 4 || !isWord(tail[2], "alias")) return fail("open needs an alias");
        return open(path, tail[1], tail[3]);
    }

    if (words.size() < 2) return fail("missing alias");
    Stream* s = find(words[1]);
    if (!s) return fail("alias not open");
    takeOverFailedDevice(*s);

    if (isWord(verb, "play")) {
        if (words.size() == 2)
            return play(*s, s->mode == Stream::Mode::Stopped ? s->heldMs : position(*s));
        bool ok = false;
        const qint64 fromMs =
            words.size() == 4 && isWord(words[2], "from") ? words[3].toLongLong(&ok) : 0;
        if (!ok) return fail("play takes: from <ms>");
        return play(*s, fromMs);
    }
    if (isWord(verb, "status")) {
        if (words.size() != 3) return fail("status takes one item");
        if (isWord(words[2], "position")) return done(QString::number(position(*s)));
        if (isWord(words[2], "length")) return done(QString::number(s->lengthMs));
        if (isWord(words[2], "mode")) {
            if (s->mode == Stream::Mode::Paused) return done(QStringLiteral("paused"));
            const bool playing = s->mode == Stream::Mode::Playing && position(*s) < s->lengthMs;
            return done(playing ? QStringLiteral("playing") : QStringLiteral("stopped"));
        }
        return fail("unknown status item");
    }
    if (words.size() != 2) return fail("too many words");
    if (isWord(verb, "pause")) {
        if (s->mode != Stream::Mode::Playing) return done();
        if (s->onDevice)
            s->output->setPaused(true);
        else
            s->heldMs = position(*s);
        s->mode = Stream::Mode::Paused;
        return done();
    }
    if (isWord(verb, "resume")) {
        if (s->mode != Stream::Mode::Paused) return done();
        s->mode = Stream::Mode::Playing;
        if (s->onDevice) {
            s->output->setPaused(false);
        } else {
            s->clockStartedAt = nowMs();
        }
        return done();
    }
    if (isWord(verb, "stop") || isWord(verb, "close")) {
        s->heldMs = position(*s);
        releaseSink(*s);
        s->mode = Stream::Mode::Stopped;
        if (isWord(verb, "close")) streams_.erase(words[1].toLower());
        return done();
    }
    return fail("unknown command");
}

void MediaDevice::MciOpenPlay(const QString& file, const QString& alias, std::int32_t playFromMs) {
    // A file that does not exist is never named in a command.
    if (!QFileInfo::exists(resolve(file))) return;
    if (!send(QStringLiteral("open ") + file + QStringLiteral(" type WaveAudio alias ") + alias).ok)
        return;
    send(QStringLiteral("play ") + alias + QStringLiteral(" from ") + QString::number(playFromMs));
}

std::int32_t MediaDevice::MciPosition(const QString& alias) {
    const MediaReply r = send(QStringLiteral("status ") + alias + QStringLiteral(" position"));
    if (!r.ok) return 0;
    bool ok = false;
    const double ms = r.text.toDouble(&ok);
    if (!ok) return 0;
    const double limit = std::numeric_limits<std::int32_t>::max();
    return std::int32_t(std::nearbyint(std::clamp(ms, -limit, limit)));
}

void MediaDevice::MciPause(const QString& alias) {
    send(QStringLiteral("pause ") + alias);
}

void MediaDevice::MciResume(const QString& alias) {
    send(QStringLiteral("resume ") + alias);
}

void MediaDevice::MciStopClose(const QString& alias) {
    send(QStringLiteral("stop ") + alias);
    send(QStringLiteral("close ") + alias);
}

} // namespace zerkavi
