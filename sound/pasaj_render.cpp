#include "sound/pasaj_render.h"

#include "common/rounding.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace zerkavi {

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// The repetitions as the scratch file gives them back: written one after the other from
// the start of "Pasaj.dat", then read from its start. Returns false when the file cannot be
// used, leaving `out` untouched.
bool repeatThroughScratchFile(const std::filesystem::path& file,
                              const std::vector<std::int16_t>& passage, int repeat,
                              std::vector<std::int16_t>& out) {
    // Opened for update, not truncated: an earlier, longer content keeps its tail.
    File f(std::fopen(file.c_str(), "r+b"), &std::fclose);
    if (!f) f.reset(std::fopen(file.c_str(), "w+b"));
    if (!f) return false;
    std::vector<std::uint8_t> bytes;
    appendSampleBytes(bytes, passage);
    for (int k = 0; k < repeat; ++k)
        if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size())
            return false;
    if (std::fflush(f.get()) != 0 || std::fseek(f.get(), 0, SEEK_SET) != 0) return false;

    const std::size_t total = passage.size() * std::size_t(repeat);
    std::vector<std::uint8_t> back(2 * total, 0);
    const std::size_t got = std::fread(back.data(), 1, back.size(), f.get());
    if (got < back.size() && std::ferror(f.get())) return false;
    out.assign(total, 0);
    for (std::size_t i = 0; i < total; ++i)
        out[i] = std::int16_t(std::uint16_t(back[2 * i] | (back[2 * i + 1] << 8)));
    return true;
}

} // namespace

PassageTempo passageTempo(int length64ths, int unitNote, int introBpm, int finalBpm) {
    PassageTempo t;
    t.length64ths = length64ths;
    t.a = float(60.0 / introBpm * unitNote / 64 * kSampleRate);
    t.b = float(60.0 / finalBpm * unitNote / 64 * kSampleRate);
    // One 64th has no step to the next: the passage just plays at the intro tempo.
    if (length64ths > 1) t.delta = float((double(t.b) - double(t.a)) / (length64ths - 1));
    t.bufferSamples = std::max<std::int64_t>(
        0, std::int64_t(roundHalfEven((double(t.b) + double(t.a)) / 2 * length64ths)));
    return t;
}

std::int64_t passagePosition(const PassageTempo& t, std::int64_t e) {
    return std::int64_t(roundHalfEven(double(t.a) * double(e))) +
           std::int64_t(roundHalfEven(double((e - 1) * e) / 2 * double(t.delta))) + 1;
}

PassageResult DataYapPasaj(const UsulRecord& usul, const PassageRequest& request,
                           const std::filesystem::path& soundFolder, SampleReader& reader,
                           std::vector<std::int16_t>& passageBuffer) {
    PassageResult result;
    if (usul.totalLength == 0) {
        result.status = PassageStatus::NoBeats;
        return result;
    }
    if (request.introBpm <= 0 || request.finalBpm <= 0 || request.unitNote <= 0) {
        result.status = PassageStatus::BadTempo;
        return result;
    }
    const int first = std::clamp(request.firstHalka, 1, kCircles);
    const int last = std::clamp(request.lastHalka, 1, kCircles);
    int length = 0;
    for (int i = first; i <= last; ++i)
        length += usul.circle(i).strokeLength();
    result.tempo = passageTempo(length, request.unitNote, request.introBpm, request.finalBpm);
    const PassageTempo& t = result.tempo;

    std::vector<std::int16_t> passage(std::size_t(t.bufferSamples), 0);
    StrokeReader strokes(soundFolder, request.instrumentCode, reader);
    std::int64_t e = 0; // 64ths elapsed before the next stroke
    std::int64_t p = 1; // 1-based sample where it starts
    for (int i = first; i <= last; ++i) {
        const Halka& h = usul.circle(i);
        if (h.hasStroke()) result.strokeStarts.push_back(p - 1);
        if (h.rightDuration != 0) {
            layStroke(passage, p - 1, strokes.read(Hand::Dum, h.level, result.messages), Hand::Dum);
            if (h.leftDuration == 0) {
                e += h.rightDuration;
                p = passagePosition(t, e);
            }
        }
        if (h.leftDuration != 0) {
            layStroke(passage, p - 1, strokes.read(Hand::Tek, h.level, result.messages), Hand::Tek);
            e += h.leftDuration;
            p = passagePosition(t, e);
        }
    }
    strokes.finish(reader);

    if (request.repeat > 1) {
        std::vector<std::int16_t> repeated;
        if (!repeatThroughScratchFile(soundFolder / kPassageScratchFileName, passage,
                                      request.repeat, repeated)) {
            result.status = PassageStatus::ScratchFileError;
            repeated.clear();
            repeated.reserve(passage.size() * std::size_t(request.repeat));
            for (int k = 0; k < request.repeat; ++k)
                repeated.insert(repeated.end(), passage.begin(), passage.end());
        }
        passage = std::move(repeated);
    }
    passageBuffer = std::move(passage);
    return result;
}

} // namespace zerkavi
