#include "exchange/midi.h"

#include "common/rounding.h"
#include "common/text_codec.h"
#include "exchange/score.h"
#include "sound/pasaj_render.h"

#include <algorithm>
#include <bit>

namespace zerkavi {

namespace {

struct Event {
    std::uint32_t tick = 0;
    int order = 0; // at the same tick: meta first, then note-offs, then note-ons
    std::vector<std::uint8_t> data;
};

class Track {
  public:
    void meta(std::uint32_t tick, std::uint8_t type, std::vector<std::uint8_t> body) {
        std::vector<std::uint8_t> d = {0xFF, type};
        appendLength(d, std::uint32_t(body.size()));
        d.insert(d.end(), body.begin(), body.end());
        add(tick, 0, std::move(d));
    }
    void text(std::uint32_t tick, std::uint8_t type, std::u32string_view t) {
        const std::string s = toUtf8(t);
        meta(tick, type, std::vector<std::uint8_t>(s.begin(), s.end()));
    }
    void tempo(std::uint32_t tick, std::uint32_t us) {
        us = std::clamp<std::uint32_t>(us, 1, 0xFFFFFF);
        meta(tick, 0x51, {std::uint8_t(us >> 16), std::uint8_t(us >> 8), std::uint8_t(us)});
    }
    // Only a mertebe that is a power of two can be written.
    void timeSignature(std::uint32_t tick, int numerator, int mertebe) {
        if (numerator < 1 || numerator > 255 || mertebe < 1 || mertebe > 64 ||
            !std::has_single_bit(unsigned(mertebe)))
            return;
        const int clocks = std::max(1, 96 / mertebe); // one mertebe note, 24 clocks a quarter
        meta(tick, 0x58,
             {std::uint8_t(numerator), std::uint8_t(std::countr_zero(unsigned(mertebe))),
              std::uint8_t(std::min(clocks, 255)), 8});
    }
    void note(std::uint32_t tick, std::uint32_t length, int key, int velocity) {
        const std::uint8_t ch = kMidiPercussionChannel;
        add(tick, 2, {std::uint8_t(0x90 | ch), std::uint8_t(key), std::uint8_t(velocity)});
        add(tick + length, 1, {std::uint8_t(0x80 | ch), std::uint8_t(key), 0});
    }

    std::vector<std::uint8_t> chunk() {
        std::stable_sort(events_.begin(), events_.end(), [](const Event& a, const Event& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        std::vector<std::uint8_t> body;
        std::uint32_t at = 0;
        for (const Event& e : events_) {
            appendLength(body, e.tick - at);
            body.insert(body.end(), e.data.begin(), e.data.end());
            at = e.tick;
        }
        body.insert(body.end(), {0x00, 0xFF, 0x2F, 0x00}); // end of track
        std::vector<std::uint8_t> out = {'M', 'T', 'r', 'k'};
        appendBigEndian(out, std::uint32_t(body.size()), 4);
        out.insert(out.end(), body.begin(), body.end());
        return out;
    }

    static void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
        for (int i = bytes - 1; i >= 0; --i)
            out.push_back(std::uint8_t(v >> (8 * i)));
    }

  private:
    static void appendLength(std::vector<std::uint8_t>& out, std::uint32_t v) {
        std::uint8_t buf[5];
        int n = 0;
        buf[n++] = std::uint8_t(v & 0x7F);
        while (v >>= 7)
            buf[n++] = std::uint8_t(0x80 | (v & 0x7F));
        while (n > 0)
            out.push_back(buf[--n]);
    }
    void add(std::uint32_t tick, int order, std::vector<std::uint8_t> data) {
        events_.push_back({tick, order, std::move(data)});
    }

    std::vector<Event> events_;
};

std::vector<std::uint8_t> smf(Track& conductor, Track& drums) {
    std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 2};
    Track::appendBigEndian(out, kMidiTicksPerQuarter, 2);
    for (Track* t : {&conductor, &drums}) {
        const auto c = t->chunk();
        out.insert(out.end(), c.begin(), c.end());
    }
    return out;
}

void strokeNotes(Track& drums, std::uint32_t tick, const ScoreStroke& s, const MidiKeys& keys) {
    const int velocity = velocityOfLevel(s.level);
    if (s.dumLength != 0)
        drums.note(tick, std::uint32_t(s.dumLength * kMidiTicksPer64th), keys.dum, velocity);
    if (s.tekLength != 0)
        drums.note(tick, std::uint32_t(s.tekLength * kMidiTicksPer64th), keys.tek, velocity);
}

void drumTrackStart(Track& drums) {
    drums.text(0, 0x03, U"Düm Tek");
}

} // namespace

std::uint32_t microsecondsPerQuarter(int bpm, int unitNote) {
    return std::uint32_t(roundHalfEven(60e6 * unitNote / (4.0 * bpm)));
}

std::vector<std::uint8_t> usulMidi(const UsulRecord& usul, int bpm, int unitNote, int cycles,
                                   const MidiKeys& keys) {
    const UsulScore score = usulScore(usul);
    // A cycle lasts as long as the rendered one: the strokes' total, Düm first.
    const std::uint32_t cycleTicks = std::uint32_t(sumOfStrokes(usul) * kMidiTicksPer64th);
    Track conductor, drums;
    conductor.text(0, 0x03, score.name);
    conductor.timeSignature(0, score.numerator, score.mertebe);
    conductor.tempo(0, microsecondsPerQuarter(bpm, unitNote));
    drumTrackStart(drums);
    for (int c = 0; c < cycles; ++c) {
        const std::uint32_t start = cycleTicks * std::uint32_t(c);
        conductor.text(start, 0x06, score.name);
        for (const ScoreStroke& s : score.strokes) {
            const std::uint32_t at = std::uint32_t(s.onset64ths * kMidiTicksPer64th);
            if (at < cycleTicks) strokeNotes(drums, start + at, s, keys); // cut as the sound is
        }
    }
    return smf(conductor, drums);
}

PlanMidi planMidi(std::u32string_view planName, std::u32string_view planText,
                  const UsulOfSlot& readSlot, const MidiKeys& keys) {
    PlanMidi out;
    // Slots are loaded as the renderer loads them; one that cannot be read leaves the usul
    // loaded before it.
    UsulRecord current;
    const auto load = [&](int slot) {
        if (readSlot)
            if (auto r = readSlot(slot)) current = std::move(*r);
    };
    const MeskPlan plan = parseStoredPlan(planName, planText, [&](int slot) {
        load(slot);
        return MevcutHalka(current);
    });

    Track conductor, drums;
    conductor.text(0, 0x03, plan.name);
    drumTrackStart(drums);
    std::uint32_t tick = 0;
    std::uint32_t lastTempo = 0;
    const auto setTempo = [&](std::uint32_t at, std::uint32_t us) {
        if (us != lastTempo) conductor.tempo(at, us);
        lastTempo = us;
    };
    for (const PlanSection& section : plan.sections) {
        bool sounded = false;
        for (const PassageCall& call : sectionPassages(section)) {
            load(section.usulNo);
            if (current.totalLength == 0) { // the passage renderer refuses it
                out.messages.push_back(Message::noBeats);
                continue;
            }
            if (call.introBpm <= 0 || call.finalBpm <= 0 || section.unitNote <= 0) continue;
            const UsulScore score = usulScore(current);
            const int first = std::clamp<int>(section.startHalka, 1, kCircles);
            const int last = std::clamp<int>(section.endHalka, 1, kCircles);
            std::vector<ScoreStroke> strokes;
            for (const ScoreStroke& s : score.strokes)
                if (s.circle >= first && s.circle <= last) strokes.push_back(s);
            int length = 0;
            for (int i = first; i <= last; ++i)
                length += current.circle(i).strokeLength();
            const PassageTempo t =
                passageTempo(length, section.unitNote, call.introBpm, call.finalBpm);
            if (!sounded) {
                conductor.text(tick, 0x06, section.sectionName + U": " + score.name);
                conductor.timeSignature(tick, score.numerator, score.mertebe);
                sounded = true;
            }
            const int base = strokes.empty() ? 0 : strokes.front().onset64ths;
            const bool ramp = call.introBpm != call.finalBpm;
            if (!ramp) setTempo(tick, microsecondsPerQuarter(call.introBpm, section.unitNote));
            for (int r = 0; r < std::max(1, call.repeat); ++r) {
                for (std::size_t k = 0; k < strokes.size(); ++k) {
                    const int e = strokes[k].onset64ths - base;
                    const std::uint32_t at = tick + std::uint32_t(e * kMidiTicksPer64th);
                    if (ramp) {
                        // The stroke lasts from its sample to the next stroke's, or to the
                        // end of the passage.
                        const bool lastStroke = k + 1 == strokes.size();
                        const int next = lastStroke ? length : strokes[k + 1].onset64ths - base;
                        const std::int64_t samples =
                            (lastStroke ? t.bufferSamples + 1 : passagePosition(t, next)) -
                            passagePosition(t, e);
                        const int ticks = (next - e) * kMidiTicksPer64th;
                        if (ticks > 0 && samples > 0)
                            setTempo(at, std::uint32_t(
                                             roundHalfEven(double(samples) * 1e6 / kSampleRate *
                                                           kMidiTicksPerQuarter / ticks)));
                    }
                    strokeNotes(drums, at, strokes[k], keys);
                }
                tick += std::uint32_t(length * kMidiTicksPer64th);
            }
        }
        if (sounded) ++out.sections;
    }
    out.bytes = smf(conductor, drums);
    return out;
}

} // namespace zerkavi
