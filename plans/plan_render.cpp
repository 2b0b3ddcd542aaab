#include "plans/plan_render.h"

#include "common/messages.h"
#include "common/rounding.h"
#include "sound/pasaj_render.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
#include <memory>
#include <system_error>

namespace zerkavi {

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

std::int32_t msOfSamples(std::int64_t samples) {
    return std::int32_t(roundHalfEven(double(samples) / 44.1));
}

// The passages of a section, in order. A section whose metronome changes over several
// repetitions is played repetition by repetition, so the tempo moves in equal whole-number
// steps; the last repetition ends where the steps lead, which may miss the final value by
// the rounding of the step.
std::vector<PassageCall> passagesOf(int section, const PlanSection& s) {
    if (s.repeatCount <= 1 || s.introBpm == s.finalBpm)
        return {{section, s.repeatCount, s.introBpm, s.finalBpm}};
    const int step = int(roundHalfEven(double(s.introBpm - s.finalBpm) / s.repeatCount));
    const int repetitions = std::min<int>(s.repeatCount, kMaxRampRepetitions);
    std::array<std::int16_t, kMaxRampRepetitions + 1> from{};
    std::array<std::int16_t, kMaxRampRepetitions + 1> to{};
    for (int r = 1; r <= repetitions; ++r) {
        from[std::size_t(r)] = std::int16_t(s.introBpm - (r - 1) * step);
        to[std::size_t(r)] = std::int16_t(s.introBpm - r * step);
    }
    std::vector<PassageCall> calls;
    for (int r = 1; r <= repetitions; ++r)
        calls.push_back({section, 1, from[std::size_t(r)], to[std::size_t(r)]});
    return calls;
}

// The slot of a passage loaded as the renderer loads it: a slot that cannot be read leaves
// the usul loaded before.
void loadSlot(const UsulOfSlot& readSlot, int slot, UsulRecord& currentUsul) {
    if (readSlot)
        if (auto r = readSlot(slot)) currentUsul = std::move(*r);
}

// Samples one passage call adds, worked out from its tempo alone.
std::int64_t passageSamples(const UsulRecord& usul, const PlanSection& s, const PassageCall& c) {
    if (usul.totalLength == 0 || c.introBpm <= 0 || c.finalBpm <= 0 || s.unitNote <= 0) return 0;
    const int first = std::clamp<int>(s.startHalka, 1, kCircles);
    const int last = std::clamp<int>(s.endHalka, 1, kCircles);
    int length = 0;
    for (int i = first; i <= last; ++i)
        length += usul.circle(i).strokeLength();
    const PassageTempo t = passageTempo(length, s.unitNote, c.introBpm, c.finalBpm);
    return t.bufferSamples * std::max(c.repeat, 1);
}

// Circles holding a stroke before circle `first`: the stroke number of the stretch's first.
int strokesBefore(const UsulRecord& usul, int first) {
    int n = 0;
    for (int i = 1; i < std::clamp(first, 1, kCircles + 1); ++i)
        n += usul.circle(i).hasStroke();
    return n;
}

struct Writer {
    std::FILE* file = nullptr;
    std::int64_t total = 0;
    const PlanProgress* progress = nullptr;
};

// Renders one passage call and appends its samples to the file, repetition after
// repetition. The slot is loaded again for every passage, as the usul on screen is.
void renderPassage(PlanRenderResult& out, Writer& w, const PlanSection& s, const PassageCall& c,
                   const UsulOfSlot& readSlot, UsulRecord& currentUsul,
                   const std::filesystem::path& soundFolder, SampleReader& reader,
                   const std::string& instrumentCode, std::vector<std::int16_t>& passageBuffer) {
    loadSlot(readSlot, s.usulNo, currentUsul);

    PassageRequest request;
    request.firstHalka = s.startHalka;
    request.lastHalka = s.endHalka;
    request.repeat = 1; // the repetitions are written one by one below
    request.unitNote = s.unitNote;
    request.introBpm = c.introBpm;
    request.finalBpm = c.finalBpm;
    request.instrumentCode = instrumentCode;
    const PassageResult r = DataYapPasaj(currentUsul, request, soundFolder, reader, passageBuffer);
    out.readerMessages.insert(out.readerMessages.end(), r.messages.begin(), r.messages.end());

    PlanPassage p{c.section + 1, s.startHalka, s.endHalka, c.repeat, c.introBpm, c.finalBpm, 0};
    if (r.status == PassageStatus::NoBeats) out.messages.push_back(Message::noBeats);
    // A passage that rendered nothing leaves the buffer holding the previous passage; that
    // sound belongs to another usul, so nothing is written for it.
    if (r.status != PassageStatus::NoBeats && r.status != PassageStatus::BadTempo) {
        std::vector<std::uint8_t> bytes;
        bytes.reserve(passageBuffer.size() * 2);
        appendSampleBytes(bytes, passageBuffer);
        const int first = strokesBefore(currentUsul, request.firstHalka);
        for (int k = 0; k < std::max(c.repeat, 1); ++k) {
            for (std::size_t j = 0; j < r.strokeStarts.size(); ++j)
                out.strokes.push_back(
                    {out.renderedSamples + r.strokeStarts[j], c.section, first + int(j) + 1});
            out.renderedSamples += std::int64_t(passageBuffer.size());
            p.samples += std::int64_t(passageBuffer.size());
            if (w.file && out.fileOk && !bytes.empty())
                out.fileOk = std::fwrite(bytes.data(), 1, bytes.size(), w.file) == bytes.size();
            if (*w.progress) (*w.progress)(out.renderedSamples, w.total);
        }
    }
    out.passages.push_back(p);
}

} // namespace

std::vector<PassageCall> sectionPassages(const PlanSection& s) {
    return passagesOf(0, s);
}

PlanSoundSize planSoundSize(std::int64_t samples, std::uintmax_t availableBytes) {
    PlanSoundSize size;
    size.samples = samples;
    const std::uint64_t bytes = kWavHeaderBytes + 2 * std::uint64_t(samples);
    // The RIFF size field holds the file size less 8 bytes.
    if (bytes - 8 > std::numeric_limits<std::uint32_t>::max())
        size.refusal = Message::planTooLong;
    else if (bytes > availableBytes)
        size.refusal = Message::planNoDiskSpace;
    return size;
}

PlanRenderResult renderPlan(std::u32string_view planText, const UsulOfSlot& readSlot,
                            UsulRecord& currentUsul, const std::filesystem::path& soundFolder,
                            SampleReader& reader, const std::string& instrumentCode,
                            const std::filesystem::path& outFile, const PlanProgress& progress) {
    PlanRenderResult out;
    const std::filesystem::path path = outFile.empty() ? soundFolder / kPlanSoundFileName : outFile;

    // The fields of every line, each slot loaded in line order for its last circle.
    const LastCircleOfSlot lastCircle = [&](int slot) {
        loadSlot(readSlot, slot, currentUsul);
        return MevcutHalka(currentUsul);
    };
    const std::vector<PlanSection> sections = parseStoredPlan(U"", planText, lastCircle).sections;
    std::vector<PassageCall> calls;
    for (std::size_t i = 0; i < sections.size(); ++i)
        for (const PassageCall& c : passagesOf(int(i), sections[i]))
            calls.push_back(c);

    // The size first, on a copy of the usul: nothing is written for a refused sound.
    std::int64_t total = 0;
    {
        UsulRecord usul = currentUsul;
        for (const PassageCall& c : calls) {
            const PlanSection& s = sections[std::size_t(c.section)];
            loadSlot(readSlot, s.usulNo, usul);
            total += passageSamples(usul, s, c);
        }
        std::error_code ec;
        std::uintmax_t available =
            std::filesystem::space(
                path.parent_path().empty() ? std::filesystem::path(".") : path.parent_path(), ec)
                .available;
        if (ec) available = std::numeric_limits<std::uintmax_t>::max();
        const auto replaced = std::filesystem::file_size(path, ec);
        if (!ec) available += replaced;
        out.refusal = planSoundSize(total, available).refusal;
        if (out.refusal != Message::none) {
            out.fileOk = false;
            return out;
        }
    }

    out.sections = sections;
    for (const PlanSection& s : out.sections) {
        out.sectionNames.push_back(s.sectionName);
        out.sectionUsul.push_back(s.usulNo);
    }

    std::error_code ec;
    std::filesystem::remove(path, ec); // a file that will not go is overwritten below
    File file(std::fopen(path.c_str(), "wb"), &std::fclose);
    out.fileOk = file != nullptr;
    // The samples start after the header, which is known only at the end.
    if (file) out.fileOk = std::fseek(file.get(), kWavHeaderBytes, SEEK_SET) == 0;

    Writer w{file.get(), total, &progress};
    std::vector<std::int16_t> passageBuffer;
    std::size_t next = 0;
    for (std::size_t i = 0; i < out.sections.size(); ++i) {
        for (; next < calls.size() && calls[next].section == int(i); ++next)
            renderPassage(out, w, out.sections[i], calls[next], readSlot, currentUsul, soundFolder,
                          reader, instrumentCode, passageBuffer);
        out.sectionEndMs.push_back(msOfSamples(out.renderedSamples));
    }

    // A bank of another channel count has no plan header; the file keeps zeros there.
    if (file && reader.sampleHeader.channels == 1) {
        const WavHeaderBytes h = encodeWavHeader(
            BuildWavHeader(std::uint32_t(out.renderedSamples), 1, kSampleRate, kBitsPerSample));
        const bool ok = std::fseek(file.get(), 0, SEEK_SET) == 0 &&
                        std::fwrite(h.data(), 1, h.size(), file.get()) == h.size();
        out.headerWritten = ok;
        out.fileOk = out.fileOk && ok;
    }
    if (file) out.fileOk = (std::fclose(file.release()) == 0) && out.fileOk;

    const auto size = std::filesystem::file_size(path, ec);
    if (!ec) out.playLengthMs = (double(size) - kWavHeaderBytes) / 88.2;
    return out;
}

std::int32_t playFromMsFor(int selectedIndex, const std::vector<std::int32_t>& sectionEndMs) {
    if (selectedIndex <= 0 || sectionEndMs.empty()) return 0;
    const std::size_t i = std::min(std::size_t(selectedIndex), sectionEndMs.size());
    return sectionEndMs[i - 1];
}

} // namespace zerkavi
