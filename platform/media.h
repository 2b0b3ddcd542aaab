// The media layer: a device that takes text commands for sound files opened under an
// alias, and plays WAV files from memory through Qt's audio output. A file opens when the
// sample reader of sound/wav.h reads it, and plays the samples that reader reads.
//
// Commands (keywords in any case; an alias is one word):
//   open <path> type WaveAudio alias <alias>   reads the whole file
//   play <alias> [from <ms>]                   from the given or the current position
//   status <alias> position | length | mode    replies with decimal ms, or the mode word
//   pause <alias>, resume <alias>, stop <alias>, close <alias>
//
// File names are carried unquoted, exactly as the program writes them, so they may contain
// blanks: the path of "open" is everything between "open " and the last " type ". Surrounding
// double quotes are removed. Relative paths refer to folder() (the process's working
// directory when it is empty).
//
// Positions are what has been heard: the start position plus the time the audio output
// reports as played. When there is no sound device, or the output cannot be opened or fails
// while playing, the device keeps time on a clock instead, so positions, pause and resume
// behave as if the sound played and nothing blocks.
#pragma once

#include "platform/audio_output.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace zerkavi {

struct MediaReply {
    bool ok = false;
    // The answer of a status command; a short reason when `ok` is false.
    QString text;
};

class MediaDevice {
  public:
    MediaDevice();
    ~MediaDevice();
    MediaDevice(const MediaDevice&) = delete;
    MediaDevice& operator=(const MediaDevice&) = delete;

    // Interprets one command string; every string passed here is logged.
    MediaReply send(const QString& command);

    // ---- the operations the window uses --------------------------------------------
    // "open <file> type WaveAudio alias <alias>", then, if it worked,
    // "play <alias> from <playFromMs>". Sends nothing when the file does not exist.
    void MciOpenPlay(const QString& file, const QString& alias, std::int32_t playFromMs);
    // "status <alias> position": the reply as a whole number of ms, 0 when it fails.
    std::int32_t MciPosition(const QString& alias);
    void MciPause(const QString& alias);
    void MciResume(const QString& alias);
    // "stop <alias>", then "close <alias>"; their results do not matter.
    void MciStopClose(const QString& alias);

    // ---- inspection and set-up -------------------------------------------------------
    const QStringList& sentCommands() const { return sent_; }
    void clearSentCommands() { sent_.clear(); }

    // Relative file names of "open" and of MciOpenPlay refer to this folder.
    void setFolder(const QString& folder) { folder_ = folder; }
    const QString& folder() const { return folder_; }

    // A source of milliseconds for the clock; any monotonic count will do.
    using ClockMs = std::function<std::int64_t()>;
    // Never uses a sound device: every play runs on the clock. With a `clock`, time moves
    // only when that source says so, which makes positions exact in tests; without one
    // the clock is a steady wall clock.
    void forceClock(ClockMs clock = {});
    bool clockForced() const { return clockForced_; }

    // Size of the audio output's buffer in ms. It is filled at once, so its size does not
    // delay the start, and positions count what was heard, not what was handed over. The
    // output is fed from a thread of its own, so the window's event loop may stall without
    // a gap; the buffer rides out the moments a busy machine keeps that thread waiting
    // (60 ms was not enough at a load of 13 on two cores). Without a request PulseAudio
    // may choose up to two seconds.
    void setBufferMs(int ms) { bufferMs_ = ms; }
    int bufferMs() const { return bufferMs_; }

    // The position of the file under `alias` in ms, as "status position" answers it but
    // without sending a command; -1 when nothing is open under it. For timers that keep
    // to the sound.
    std::int64_t heardMs(const QString& alias) const;

    // Closes the file playing under `alias` without a stop of its sound: the output, if it
    // plays on one, goes on with what `next` makes of the file's sample that would have come
    // next, keeping at most `aheadMs` queued. `atSample` is the file's sample where the output
    // started, or on the clock the position reached. Nothing happens (`ok` false) unless the file
    // is playing.
    struct HandOver {
        bool ok = false;
        std::unique_ptr<AudioOutput> output; // empty on the clock
        std::int64_t atSample = 0;
    };
    HandOver handOver(const QString& alias,
                      const std::function<AudioOutput::Source(std::int64_t sample)>& next,
                      int aheadMs);

    bool isOpen(const QString& alias) const;
    // True while the file under `alias` is played by a sound device, false while its
    // time runs on the clock or nothing plays.
    bool soundsOnDevice(const QString& alias) const;

  private:
    struct Stream;
    MediaReply open(const QString& path, const QString& type, const QString& alias);
    MediaReply play(Stream& s, std::int64_t fromMs);
    void startOnClock(Stream& s, std::int64_t fromMs);
    void takeOverFailedDevice(Stream& s);
    void releaseSink(Stream& s);
    std::int64_t position(const Stream& s) const;
    std::int64_t nowMs() const;
    QString resolve(const QString& path) const;
    Stream* find(const QString& alias);

    QStringList sent_;
    QString folder_;
    std::map<QString, std::unique_ptr<Stream>> streams_; // by lower-case alias
    bool clockForced_ = false;
    ClockMs clock_;
    int bufferMs_ = 200;
};

} // namespace zerkavi
