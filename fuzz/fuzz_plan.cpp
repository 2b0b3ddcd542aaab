// Work plans from any text: Save's checks, the reader of stored plans, the section list and,
// for plans short enough to play, the renderer into a sound file.
#include "common/text_codec.h"
#include "plans/plan_format.h"
#include "plans/plan_render.h"
#include "sound/pasaj_render.h"
#include "sound/sample_bank.h"
#include "usul/library_file.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>

using namespace zerkavi;

namespace {

std::filesystem::path soundFolder;

std::optional<UsulRecord> builtinSlot(int slot) {
    if (slot < 1 || slot > kSlots) return std::nullopt;
    const auto image = defaultLibraryImage();
    return decodeRecord(image.subspan(std::size_t(slot - 1) * kRecordBytes).first<kRecordBytes>());
}

int lastCircle(int slot) {
    const auto r = builtinSlot(slot);
    return r ? MevcutHalka(*r) : 0;
}

// Seconds of sound a plan asks for, counted generously from the slowest tempo of each
// section; a fuzzed plan may ask for hours, which is no fault of the renderer.
double secondsAsked(const MeskPlan& plan) {
    double seconds = 0;
    for (const PlanSection& s : plan.sections) {
        const auto r = builtinSlot(s.usulNo);
        int length = 0;
        if (r)
            for (int k = std::max<int>(1, s.startHalka); k <= std::min<int>(kCircles, s.endHalka);
                 ++k)
                length += r->circle(k).strokeLength();
        int slowest = std::min(s.introBpm, s.finalBpm);
        if (s.repeatCount > 1 && s.introBpm != s.finalBpm) {
            const long step = std::lround(double(s.introBpm - s.finalBpm) / s.repeatCount);
            slowest = int(std::min<long>(slowest, s.introBpm - long(s.repeatCount) * step));
        }
        if (slowest <= 0) slowest = 1;
        const double perPlay =
            std::max(1, length) * 60.0 / slowest * std::max(1, std::abs(int(s.unitNote))) / 64.0;
        seconds += perPlay * std::max(1, int(s.repeatCount));
    }
    return seconds;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    soundFolder = std::filesystem::temp_directory_path() /
                  ("zerkavi-fuzz-plan-" + std::to_string(::getpid()));
    if (prepareSampleBank(soundFolder, 0.6f, 0.4f).fatal) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first line is the plan's name, the rest its text, byte by byte as code page 1254.
    std::u32string name, text;
    std::size_t i = 0;
    for (; i < size && data[i] != '\n'; ++i)
        name += cp1254ToChar(data[i]);
    for (++i; i < size; ++i)
        text += cp1254ToChar(data[i]);

    const PlanSaveResult saved = checkPlanForSave(withCrLf(text), name, lastCircle);
    if (saved.ok()) {
        for (const auto& line : splitPlanLines(saved.normalisedText))
            if (line.size() != kPlanLineChars) std::abort();
        if (saved.fileName.size() < 4) std::abort();
    } else if (planMessageText(saved.message, saved.line, Language::English).empty()) {
        std::abort();
    }

    const MeskPlan plan = parseStoredPlan(name, text, lastCircle);
    if (storedSectionNames(text).size() != plan.sections.size()) std::abort();
    (void)planNameFromFileName(planFileName(name));

    if (secondsAsked(plan) > 3) return 0;
    UsulRecord current = emptyRecord();
    SampleReader reader;
    const PlanRenderResult r = renderPlan(text, builtinSlot, current, soundFolder, reader);
    if (r.sectionEndMs.size() != plan.sections.size()) std::abort();
    for (std::size_t s = 1; s < r.sectionEndMs.size(); ++s)
        if (r.sectionEndMs[s] < r.sectionEndMs[s - 1]) std::abort();
    return 0;
}
