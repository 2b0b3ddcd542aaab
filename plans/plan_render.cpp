#include "plans/plan_render.h"

#include "common/rounding.h"
#include "sound/pasaj_render.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <system_error>

namespace zerkavi {

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

std::int32_t msOfSamples(std::int64_t samples) {
    return std::int32_t(roundHalfEven(double(samples) / 44.1));
}

// Renders one passage of a section and appends its samples to the file. The slot is loaded
// again for every passage, as the usul on screen is.
void renderPassage(PlanRenderResult& out, std::FILE* file, int section, const PlanSection& s,
                   int repeat, int introBpm, int finalBpm, const UsulOfSlot& readSlot,
                   UsulRecord& currentUsul, const std::filesystem::path& soundFolder,
                   SampleReader& reader, const std::string& instrumentCode,
                   std::vector<std::int16_t>& passageBuffer) {
    if (readSlot)
        if (auto r = readSlot(s.usulNo)) currentUsul = std::move(*r);

    PassageRequest request;
    request.firstHalka = s.startHalka;
    request.lastHalka = s.endHalka;
    request.repeat = repeat;
    request.unitNote = s.unitNote;
    request.introBpm = introBpm;
    request.finalBpm = finalBpm;
    request.instrumentCode = instrumentCode;
    const PassageResult r = DataYapPasaj(currentUsul, request, soundFolder, reader, passageBuffer);
    out.readerMessages.insert(out.readerMessages.end(), r.messages.begin(), r.messages.end());

    PlanPassage p{section, s.startHalka, s.endHalka, repeat, introBpm, finalBpm, 0};
    if (r.status == PassageStatus::NoBeats) out.messages.push_back(kMessageNoBeats);
    // A passage that rendered nothing leaves the buffer holding the previous passage; that
    // sound belongs to another usul, so nothing is written for it.
    if (r.status != PassageStatus::NoBeats && r.status != PassageStatus::BadTempo) {
        p.samples = std::int64_t(passageBuffer.size());
        out.renderedSamples += p.samples;
        if (file && out.fileOk && !passageBuffer.empty()) {
            std::vector<std::uint8_t> bytes;
            bytes.reserve(passageBuffer.size() * 2);
            appendSampleBytes(bytes, passageBuffer);
            out.fileOk = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        }
    }
    out.passages.push_back(p);
}

} // namespace

PlanRenderResult renderPlan(std::u32string_view planText, const UsulOfSlot& readSlot,
                            UsulRecord& currentUsul, const std::filesystem::path& soundFolder,
                            SampleReader& reader, const std::string& instrumentCode) {
    PlanRenderResult out;

    // The fields of every line, each slot loaded in line order for its last circle.
    const LastCircleOfSlot lastCircle = [&](int slot) {
        if (readSlot)
            if (auto r = readSlot(slot)) currentUsul = std::move(*r);
        return MevcutHalka(currentUsul);
    };
    out.sections = parseStoredPlan(U"", planText, lastCircle).sections;
    for (const PlanSection& s : out.sections) {
        out.sectionNames.push_back(s.sectionName);
        out.sectionUsul.push_back(s.usulNo);
    }

    const std::filesystem::path path = soundFolder / kPlanSoundFileName;
    std::error_code ec;
    std::filesystem::remove(path, ec); // a file that will not go is overwritten below
    File file(std::fopen(path.c_str(), "wb"), &std::fclose);
    out.fileOk = file != nullptr;
    // The samples start after the header, which is known only at the end.
    if (file) out.fileOk = std::fseek(file.get(), kWavHeaderBytes, SEEK_SET) == 0;

    std::vector<std::int16_t> passageBuffer;
    for (std::size_t i = 0; i < out.sections.size(); ++i) {
        const PlanSection& s = out.sections[i];
        const int section = int(i) + 1;
        if (s.repeatCount <= 1 || s.introBpm == s.finalBpm) {
            renderPassage(out, file.get(), section, s, s.repeatCount, s.introBpm, s.finalBpm,
                          readSlot, currentUsul, soundFolder, reader, instrumentCode,
                          passageBuffer);
        } else {
            // Equal whole-number steps: the last repetition ends where the steps lead, which
            // may miss the final value by the rounding of the step.
            const int step = int(roundHalfEven(double(s.introBpm - s.finalBpm) / s.repeatCount));
            const int repetitions = std::min<int>(s.repeatCount, kMaxRampRepetitions);
            std::array<std::int16_t, kMaxRampRepetitions + 1> from{};
            std::array<std::int16_t, kMaxRampRepetitions + 1> to{};
            for (int r = 1; r <= repetitions; ++r) {
                from[std::size_t(r)] = std::int16_t(s.introBpm - (r - 1) * step);
                to[std::size_t(r)] = std::int16_t(s.introBpm - r * step);
            }
            for (int r = 1; r <= repetitions; ++r)
                renderPassage(out, file.get(), section, s, 1, from[std::size_t(r)],
                              to[std::size_t(r)], readSlot, currentUsul, soundFolder, reader,
                              instrumentCode, passageBuffer);
        }
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
