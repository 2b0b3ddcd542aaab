#include "sound/usul_render.h"

#include "common/rounding.h"
#include "notation/geometry.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <memory>
#include <utility>

namespace zerkavi {

namespace {

// v ÷ 2^shift rounded to nearest, ties to even, in integers: the mix runs once per sample
// of every stroke, and this is exact where the double expression needs a floor and a fmod.
inline int divRoundHalfEven(int v, int shift) {
    const int d = 1 << shift;
    int q = v >> shift; // floor for negative values too
    const int twiceRest = 2 * (v - q * d);
    if (twiceRest > d || (twiceRest == d && (q & 1) != 0)) ++q;
    return q;
}

} // namespace

std::int16_t mixDum(std::int16_t stroke, std::int16_t under) {
    return std::int16_t(divRoundHalfEven(int(stroke) + int(under), 1));
}

std::int16_t mixTek(std::int16_t stroke, std::int16_t under) {
    return std::int16_t(divRoundHalfEven(int(stroke) + 2 * int(under), 2));
}

void layStroke(std::span<std::int16_t> mix, std::int64_t start,
               std::span<const std::int16_t> stroke, Hand hand) {
    // Only the part of the stroke that falls inside the buffer sounds.
    const std::int64_t first = std::max<std::int64_t>(0, -start);
    const std::int64_t end =
        std::min<std::int64_t>(std::int64_t(stroke.size()), std::int64_t(mix.size()) - start);
    if (first >= end) return;
    std::int16_t* m = mix.data() + (start + first);
    const std::int16_t* s = stroke.data() + first;
    const std::int64_t n = end - first;
    if (hand == Hand::Dum) {
        for (std::int64_t j = 0; j < n; ++j)
            m[j] = std::int16_t(divRoundHalfEven(s[j] + m[j], 1));
    } else {
        for (std::int64_t j = 0; j < n; ++j)
            m[j] = std::int16_t(divRoundHalfEven(s[j] + 2 * m[j], 2));
    }
}

StrokeReader::StrokeReader(std::filesystem::path soundFolder, std::string instrumentCode,
                           const SampleReader& reader)
    : folder_(std::move(soundFolder)), code_(std::move(instrumentCode)),
      previous_(reader.sampleBuffer), current_(&previous_) {}

std::span<const std::int16_t> StrokeReader::read(Hand hand, int level,
                                                 std::vector<WavStatus>& messages) {
    const std::string name = sampleFileName(code_, hand, level);
    auto it = files_.find(name);
    if (it == files_.end()) it = files_.emplace(name, ReadWav(folder_ / name)).first;
    const WavReadResult& r = it->second;
    lastHeader_ = &r.header;
    if (r.status == WavStatus::Ok)
        current_ = &r.samples;
    else if (wavStatusMessage(r.status))
        messages.push_back(r.status);
    return *current_;
}

void StrokeReader::finish(SampleReader& reader) const {
    if (lastHeader_) reader.sampleHeader = *lastHeader_;
    if (current_ != &previous_) reader.sampleBuffer = *current_;
}

UsulTiming usulTiming(int totalLength64ths, int bpm, int unitNote) {
    UsulTiming t;
    t.totalLength64ths = totalLength64ths;
    // Left to right in double precision, each result rounded to nearest with ties to even.
    t.cycleMs = std::int32_t(roundHalfEven(60000.0 / bpm * unitNote / 64 * totalLength64ths));
    t.cycleSamples = std::int32_t(roundHalfEven(double(t.cycleMs) / 1000 * kSampleRate));
    t.samplesPer64th = std::int32_t(roundHalfEven(double(t.cycleSamples) / totalLength64ths));
    t.msPer64th = float(double(t.cycleMs) / totalLength64ths);
    return t;
}

std::vector<ScheduledStroke> strokeList(const UsulRecord& usul) {
    std::vector<ScheduledStroke> list;
    for (int i = 1; i <= kCircles; ++i) {
        const Halka& h = usul.circle(i);
        if (!h.hasStroke()) continue;
        ScheduledStroke s;
        s.row = std::int16_t(rowOfCircle(i));
        s.x = std::int16_t(circleCentreX(positionInRow(i)));
        s.length64ths = std::int16_t(h.strokeLength());
        list.push_back(s);
    }
    return list;
}

void setStrokeEnds(std::vector<ScheduledStroke>& strokes, float msPer64th) {
    // The product uses the single-precision msPer64th as stored; the sum is exact in double.
    double previous = 0;
    for (ScheduledStroke& s : strokes) {
        s.endMs = std::int32_t(roundHalfEven(double(s.length64ths) * double(msPer64th) + previous));
        previous = s.endMs;
    }
}

int loopedCycles(std::int32_t cycleSamples) {
    const double cycleMs = roundHalfEven(double(cycleSamples) / 44.1);
    if (cycleMs <= 0) return 1;
    const int r = int(std::floor(kLoopTargetMs / cycleMs));
    return r >= 2 ? r : 1;
}

UsulRender placeUsul(const UsulRecord& usul, const UsulRenderSettings& settings,
                     const std::filesystem::path& soundFolder, SampleReader& reader) {
    UsulRender out;
    std::vector<ScheduledStroke> cycle = strokeList(usul);
    int total = 0;
    for (const ScheduledStroke& s : cycle)
        total += s.length64ths;
    if (total == 0) {
        out.status = UsulRenderStatus::NoStrokes;
        return out;
    }
    if (settings.bpm <= 0 || settings.unitNote <= 0) {
        out.status = UsulRenderStatus::BadTempo;
        return out;
    }
    out.status = UsulRenderStatus::Ok;
    out.timing = usulTiming(total, settings.bpm, settings.unitNote);
    setStrokeEnds(cycle, out.timing.msPer64th);

    auto sounds = std::make_shared<StrokeReader>(soundFolder, settings.instrumentCode, reader);
    const std::int64_t step = out.timing.samplesPer64th;
    std::int64_t p = 1; // 1-based sample where the next stroke starts
    for (int i = 1; i <= kCircles; ++i) {
        const Halka& h = usul.circle(i);
        if (!h.hasStroke()) continue;
        out.startSamples.push_back(std::int32_t(p));
        if (h.rightDuration != 0) {
            out.placed.push_back(
                {p - 1, Hand::Dum, sounds->read(Hand::Dum, h.level, out.messages)});
            if (h.leftDuration == 0) p += step * h.rightDuration + 1;
        }
        if (h.leftDuration != 0) {
            out.placed.push_back(
                {p - 1, Hand::Tek, sounds->read(Hand::Tek, h.level, out.messages)});
            p += step * h.leftDuration + 1;
        }
    }
    sounds->finish(reader);
    out.sounds = std::move(sounds);

    out.cycles = settings.looped ? loopedCycles(out.timing.cycleSamples) : 1;
    out.strokes.reserve(cycle.size() * std::size_t(out.cycles));
    for (int k = 0; k < out.cycles; ++k) {
        for (ScheduledStroke s : cycle) {
            s.endMs += out.timing.cycleMs * k;
            out.strokes.push_back(s);
        }
    }
    out.playLengthMs = double(2 * out.sampleCount()) / 88.2;
    return out;
}

void mixUsul(const UsulRender& r, std::int64_t first, std::span<std::int16_t> out) {
    // Strokes are laid in the order of the cycle, so every sample sees the same sequence of
    // strokes whatever stretch is mixed; only the part of the cycle asked for is touched.
    const std::int64_t last =
        std::min<std::int64_t>(first + std::int64_t(out.size()), r.timing.cycleSamples);
    if (last <= first) return;
    const std::span<std::int16_t> inCycle = out.first(std::size_t(last - first));
    for (const PlacedStroke& s : r.placed) {
        if (s.start >= last || s.start + std::int64_t(s.samples.size()) <= first) continue;
        layStroke(inCycle, s.start - first, s.samples, s.hand);
    }
}

UsulRender renderUsul(const UsulRecord& usul, const UsulRenderSettings& settings,
                      const std::filesystem::path& soundFolder, SampleReader& reader) {
    UsulRender r = placeUsul(usul, settings, soundFolder, reader);
    if (r.status != UsulRenderStatus::Ok) return r;
    r.usulMix.assign(std::size_t(r.timing.cycleSamples), 0);
    mixUsul(r, 0, r.usulMix);
    return r;
}

WavHeader usulFileHeader(const UsulRender& r) {
    // In looped mode this is the header rebuilt for N × r samples once all cycles are in.
    return BuildWavHeader(std::uint32_t(r.sampleCount()), 1, kSampleRate, kBitsPerSample);
}

namespace {

// The cycle in memory: the rendering's own mix, or one made for the occasion.
std::span<const std::int16_t> wholeCycle(const UsulRender& r, std::vector<std::int16_t>& made) {
    if (r.usulMix.size() == std::size_t(r.timing.cycleSamples)) return r.usulMix;
    made.assign(std::size_t(r.timing.cycleSamples), 0);
    mixUsul(r, 0, made);
    return made;
}

// Samples written per call when a single cycle is streamed to the file.
constexpr std::size_t kStreamSamples = 1 << 15;

} // namespace

std::vector<std::uint8_t> usulFileImage(const UsulRender& r) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kWavHeaderBytes + 2 * r.sampleCount());
    const auto h = encodeWavHeader(usulFileHeader(r));
    bytes.assign(h.begin(), h.end());
    std::vector<std::int16_t> made;
    const std::span<const std::int16_t> cycle = wholeCycle(r, made);
    for (int k = 0; k < r.cycles; ++k)
        appendSampleBytes(bytes, cycle);
    return bytes;
}

bool writeUsulFile(const std::filesystem::path& file, const UsulRender& r) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(file.c_str(), "wb"), &std::fclose);
    if (!f) return false;
    std::vector<std::uint8_t> bytes;
    auto put = [&](std::span<const std::int16_t> samples) {
        if (samples.empty()) return true;
        if constexpr (std::endian::native == std::endian::little)
            return std::fwrite(samples.data(), 2, samples.size(), f.get()) == samples.size();
        bytes.clear();
        appendSampleBytes(bytes, samples);
        return std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    };
    const auto h = encodeWavHeader(usulFileHeader(r));
    bool ok = std::fwrite(h.data(), 1, h.size(), f.get()) == h.size();
    if (r.cycles == 1 && r.usulMix.empty()) {
        // Nothing repeats: mix and write a stretch at a time through one small buffer, so a
        // long cycle never needs memory of its own size.
        std::vector<std::int16_t> stretch(kStreamSamples);
        for (std::int64_t at = 0; ok && at < r.timing.cycleSamples;) {
            const auto n = std::size_t(
                std::min<std::int64_t>(std::int64_t(kStreamSamples), r.timing.cycleSamples - at));
            const std::span<std::int16_t> part(stretch.data(), n);
            std::fill(part.begin(), part.end(), std::int16_t(0));
            mixUsul(r, at, part);
            ok = put(part);
            at += std::int64_t(n);
        }
    } else {
        // The loop is the one cycle copied r times, not mixed again.
        std::vector<std::int16_t> made;
        const std::span<const std::int16_t> cycle = wholeCycle(r, made);
        for (int k = 0; ok && k < r.cycles; ++k)
            ok = put(cycle);
    }
    return std::fclose(f.release()) == 0 && ok;
}

UsulRender renderUsulToFile(const UsulRecord& usul, const UsulRenderSettings& settings,
                            const std::filesystem::path& soundFolder, SampleReader& reader,
                            bool* written) {
    UsulRender r = placeUsul(usul, settings, soundFolder, reader);
    const bool ok =
        r.status == UsulRenderStatus::Ok && writeUsulFile(soundFolder / kUsulFileName, r);
    if (written) *written = ok;
    return r;
}

} // namespace zerkavi
