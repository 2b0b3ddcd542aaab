#include "plans/plan_format.h"

#include "common/text_codec.h"

#include "common/rounding.h"
#include "plans/plan_store.h"
#include "usul/browser.h"
#include "usul/library_file.h"
#include "usul/record.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zerkavi {

namespace {

constexpr std::u32string_view kCrLf = U"\r\n";

// Val of a field. Characters beyond ASCII can never be part of a number, so they are handed
// to the number reader as a character that stops it.
double val(std::u32string_view field) {
    std::string narrow;
    narrow.reserve(field.size());
    for (char32_t c : field)
        narrow += c < 0x80 ? char(c) : '?';
    return numericPrefix(narrow);
}

// A number rounded ties to even into 16 bits. Rendering takes unchecked text, where a
// number may be far too large; it saturates instead of wrapping.
std::int16_t toInt16(double x) {
    if (std::isnan(x)) return 0;
    const double r = roundHalfEven(x);
    if (r >= std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    if (r <= std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    return std::int16_t(r);
}

int slotOf(double usulNo) {
    return toInt16(usulNo);
}

std::size_t countOf(std::u32string_view s, char32_t c) {
    std::size_t n = 0;
    for (char32_t x : s)
        n += x == c;
    return n;
}

std::vector<std::u32string> splitAt(std::u32string_view s, char32_t sep) {
    std::vector<std::u32string> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = s.find(sep, from);
        parts.emplace_back(s.substr(from, at == std::u32string_view::npos ? at : at - from));
        if (at == std::u32string_view::npos) return parts;
        from = at + 1;
    }
}

// Checks of one non-empty, collapsed line; returns the refusal or Message::none.
Message lineRefusal(const std::vector<std::u32string>& f, const LastCircleOfSlot& lastCircle) {
    if (f.size() != 5) return Message::fieldCount;

    const double usulNo = val(f[1]);
    if (!(usulNo >= kPlanFirstUsul && usulNo <= kPlanLastUsul)) return Message::usulNumber;

    const std::u32string& repeat = f[2];
    if (countOf(repeat, U'-') > 0) {
        if (countOf(repeat, U'-') > 1) return Message::dash;
        // The slot is read before the dash position is looked at: reading it changes the
        // usul on screen, and that happens even when the dash then turns out misplaced.
        const int last = lastCircle ? lastCircle(slotOf(usulNo)) : 0;
        if (repeat.front() != U'-' && repeat.back() != U'-') return Message::dash;
        if (std::fabs(val(repeat)) > last) return Message::circleNumber;
    }

    const double unit = val(f[3]);
    if (unit != 2 && unit != 4 && unit != 8 && unit != 16) return Message::unitNote;

    const std::u32string& bpm = f[4];
    if (countOf(bpm, U'>') == 0) {
        const double b = val(bpm);
        if (b > kPlanMaxBpm) return Message::bpmTooHigh;
        if (b < kPlanMinBpm) return Message::bpmTooLow;
        return Message::none;
    }
    if (countOf(bpm, U'>') > 1) return Message::greaterThan;
    const std::size_t gt = bpm.find(U'>');
    const double intro = val(std::u32string_view(bpm).substr(0, gt));
    const double final = val(std::u32string_view(bpm).substr(gt + 1));
    if (intro > kPlanMaxBpm) return Message::introBpmTooHigh;
    if (intro < kPlanMinBpm) return Message::introBpmTooLow;
    if (final > kPlanMaxBpm) return Message::finalBpmTooHigh;
    if (final < kPlanMinBpm) return Message::finalBpmTooLow;
    return Message::none;
}

void put(std::u32string& line, std::size_t column, std::size_t width, std::u32string_view field) {
    line.replace(column - 1, std::min(width, field.size()), field.substr(0, width));
}

} // namespace

LastCircleOfSlot lastCircleReader(const LibraryFile& library) {
    return [&library](int slot) {
        const auto r = library.readUsul(slot);
        return r ? MevcutHalka(*r) : 0;
    };
}

std::u32string collapseBlanks(std::u32string_view line) {
    std::u32string out;
    for (char32_t c : trimBlanks(line))
        if (c != U' ' || out.empty() || out.back() != U' ') out += c;
    return out;
}

std::vector<std::u32string> storedLineFields(std::u32string_view line) {
    std::u32string collapsed;
    for (char32_t c : line)
        if (c != U' ' || collapsed.empty() || collapsed.back() != U' ') collapsed += c;
    return splitAt(collapsed, U' ');
}

std::u32string normalisedPlanLine(const std::vector<std::u32string>& fields) {
    static constexpr struct {
        std::size_t column, width;
    } kColumns[5] = {{1, 17}, {20, 4}, {26, 4}, {32, 3}, {37, 7}};
    std::u32string line(kPlanLineChars, U' ');
    for (std::size_t i = 0; i < 5 && i < fields.size(); ++i)
        put(line, kColumns[i].column, kColumns[i].width, fields[i]);
    return line;
}

std::vector<std::u32string> splitPlanLines(std::u32string_view text) {
    std::vector<std::u32string> lines;
    if (text.empty()) return lines;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(kCrLf, from);
        if (at == std::u32string_view::npos) {
            lines.emplace_back(text.substr(from));
            return lines;
        }
        lines.emplace_back(text.substr(from, at - from));
        from = at + kCrLf.size();
    }
}

std::u32string withCrLf(std::u32string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\r') {
            out += kCrLf;
            if (i + 1 < text.size() && text[i + 1] == U'\n') ++i;
        } else if (text[i] == U'\n') {
            out += kCrLf;
        } else {
            out += text[i];
        }
    }
    return out;
}

PlanSaveResult checkPlanForSave(std::u32string_view planText, std::u32string_view planName,
                                const LastCircleOfSlot& lastCircle) {
    PlanSaveResult result;
    const auto refuse = [&](Message message, int line) {
        PlanSaveResult r;
        r.message = message;
        r.line = line;
        return r;
    };
    if (planText.empty()) return refuse(Message::noSections, 0);
    if (planName.empty()) return refuse(Message::planNameMissing, 0);

    std::vector<std::vector<std::u32string>> kept;
    int lineNo = 0;
    for (const std::u32string& raw : splitPlanLines(planText)) {
        const std::u32string line = collapseBlanks(raw);
        if (line.empty()) continue;
        ++lineNo;
        std::vector<std::u32string> fields = splitAt(line, U' ');
        if (const Message m = lineRefusal(fields, lastCircle); m != Message::none)
            return refuse(m, lineNo);
        kept.push_back(std::move(fields));
    }
    // Neither case can be stored sensibly: no section to play, or a file named ".txt".
    if (kept.empty()) return refuse(Message::noSections, 0);
    if (trimBlanks(planName).empty()) return refuse(Message::planNameMissing, 0);
    if (const Message m = planNameRefusal(planName); m != Message::none) return refuse(m, 0);

    for (std::size_t i = 0; i < kept.size(); ++i) {
        if (i > 0) result.normalisedText += kCrLf;
        result.normalisedText += normalisedPlanLine(kept[i]);
        result.sectionNames.push_back(kept[i][0]);
    }
    result.fileName = planFileName(planName);
    return result;
}

std::string planMessageText(Message message, int line, Language lang) {
    std::string text = languageTexts(lang).message[message];
    if (text.empty()) return {}; // no message, or no text for it
    if (line > 0) text += std::to_string(line);
    return text;
}

MeskPlan parseStoredPlan(std::u32string_view name, std::u32string_view text,
                         const LastCircleOfSlot& lastCircle) {
    MeskPlan plan;
    plan.name = std::u32string(name);
    for (const std::u32string& line : splitPlanLines(text)) {
        std::vector<std::u32string> f = storedLineFields(line);
        f.resize(std::max<std::size_t>(f.size(), 5)); // a hand-edited line may be short
        PlanSection s;
        s.sectionName = f[0];
        s.usulNo = toInt16(val(f[1]));
        const int last = lastCircle ? lastCircle(s.usulNo) : 0;
        const std::u32string& repeat = f[2];
        const double r = val(repeat);
        if (countOf(repeat, U'-') == 0) {
            s.startHalka = 1;
            s.endHalka = toInt16(last);
            s.repeatCount = toInt16(r);
        } else if (repeat.front() == U'-') {
            s.startHalka = 1;
            s.endHalka = toInt16(std::fabs(r));
            s.repeatCount = 1;
        } else if (repeat.back() == U'-') {
            s.startHalka = toInt16(r);
            s.endHalka = toInt16(last);
            s.repeatCount = 1;
        } else {
            // A dash inside the field never passes Save; a hand-edited one plays the whole
            // usul once rather than an undefined stretch.
            s.startHalka = 1;
            s.endHalka = toInt16(last);
            s.repeatCount = 1;
        }
        s.unitNote = toInt16(val(f[3]));
        const std::u32string& bpm = f[4];
        const std::size_t gt = bpm.find(U'>');
        if (gt == std::u32string::npos) {
            s.introBpm = s.finalBpm = toInt16(val(bpm));
        } else {
            const std::size_t next = bpm.find(U'>', gt + 1);
            const std::u32string_view after = std::u32string_view(bpm).substr(
                gt + 1, next == std::u32string::npos ? std::u32string_view::npos : next - gt - 1);
            s.introBpm = toInt16(val(std::u32string_view(bpm).substr(0, gt)));
            s.finalBpm = toInt16(val(after));
        }
        plan.sections.push_back(std::move(s));
    }
    return plan;
}

std::vector<std::u32string> storedSectionNames(std::u32string_view text) {
    std::vector<std::u32string> names;
    for (const std::u32string& line : splitPlanLines(text))
        names.push_back(storedLineFields(line)[0]);
    return names;
}

std::u32string foldPlanName(std::u32string_view name) {
    return foldTurkishLetters(trimBlanks(name));
}

std::u32string planFileName(std::u32string_view name) {
    return foldPlanName(name) + U".txt";
}

std::u32string planNameFromFileName(std::u32string_view fileName) {
    // One left-to-right pass, as a text replace does: "a.txt.txt" becomes "a".
    constexpr std::u32string_view kExtension = U".txt";
    std::u32string out;
    std::size_t from = 0;
    for (std::size_t at = fileName.find(kExtension); at != std::u32string_view::npos;
         at = fileName.find(kExtension, from)) {
        out += fileName.substr(from, at - from);
        from = at + kExtension.size();
    }
    out += fileName.substr(from);
    return out;
}

} // namespace zerkavi
