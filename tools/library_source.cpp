#include "tools/library_source.h"

#include "common/text_codec.h"
#include "notation/layout.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <sstream>

namespace zerkavi {

namespace {

const char* const kSyllables[] = {"Düm", "Tek", "Te", "Ke", "Kâ", "Dü", "Me", "Hek", "Ta"};
const int kLengths[] = {2, 4, 8, 12, 16, 24, 32, 48, 64};

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool toInt(std::string_view s, int& out) {
    if (s.empty()) return false;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && p == s.data() + s.size();
}

std::vector<std::string_view> words(std::string_view s) {
    std::vector<std::string_view> w;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
            ++i;
        std::size_t j = i;
        while (j < s.size() && s[j] != ' ' && s[j] != '\t')
            ++j;
        if (j > i) w.push_back(s.substr(i, j - i));
        i = j;
    }
    return w;
}

// Turkish lower case, with the circumflex dropped: "Sakîl" and "sakil" are one name.
std::u32string foldName(std::string_view utf8) {
    static const std::pair<char32_t, char32_t> kFold[] = {
        {U'I', U'ı'}, {U'İ', U'i'}, {U'î', U'i'}, {U'â', U'a'}, {U'û', U'u'},
        {U'Ç', U'ç'}, {U'Ğ', U'ğ'}, {U'Ö', U'ö'}, {U'Ş', U'ş'}, {U'Ü', U'ü'}};
    std::u32string out;
    for (char32_t c : fromUtf8(utf8)) {
        for (const auto& [from, to] : kFold)
            if (c == from) c = to;
        if (c >= U'A' && c <= U'Z') c = c - U'A' + U'a';
        out += c;
    }
    return out;
}

std::vector<std::u32string> nameWords(std::string_view name) {
    std::vector<std::u32string> w;
    std::u32string cur;
    for (char32_t c : foldName(name) + U' ') {
        if (c != U' ') {
            cur += c;
        } else if (!cur.empty()) {
            w.push_back(cur);
            cur.clear();
        }
    }
    return w;
}

bool isVelveleMark(const std::u32string& w) {
    return w == U"v." || w == U"vv." || w == U"vvv." || w == U"v";
}

bool isVelveleli(const SourceUsul& u) {
    const auto w = nameWords(u.name);
    return !w.empty() && isVelveleMark(w.back());
}

// The name without its velvele mark, blanks normalised: "Nim çenber  v." -> "nim çenber".
std::u32string baseName(const SourceUsul& u) {
    std::u32string out;
    for (const auto& w : nameWords(u.name)) {
        if (isVelveleMark(w)) continue;
        if (!out.empty()) out += U' ';
        out += w;
    }
    return out;
}

// The name an usul is known by across its mertebes and forms, for telling usuls apart:
// folded to lower case and plain vowels, without the velvele mark, "Ağır", "eski", "yeni",
// "açık", "kapalı", a bracketed alias or a "-2" form number. "Ağır Sakîl (yeni)" and
// "Ağır sakil v." are both "sakil".
std::u32string familyName(const SourceUsul& u) {
    std::u32string out;
    int depth = 0;
    for (auto w : nameWords(u.name)) {
        std::u32string kept;
        for (char32_t c : w) {
            if (c == U'(') ++depth;
            if (depth == 0) kept += c;
            if (c == U')' && depth > 0) --depth;
        }
        while (kept.size() > 2 && kept.back() >= U'0' && kept.back() <= U'9')
            kept.pop_back();
        if (!kept.empty() && kept.back() == U'-') kept.pop_back();
        if (kept.empty() || isVelveleMark(kept) || kept == U"ağır" || kept == U"eski" ||
            kept == U"yeni" || kept == U"açık" || kept == U"kapalı")
            continue;
        if (!out.empty()) out += U' ';
        out += kept;
    }
    return out;
}

// The row whose strokes `u` plays: itself, or the slot it is a copy of.
const SourceUsul& strokeRow(const LibrarySource& source, const SourceUsul& u) {
    for (const SourceUsul& o : source.usuls)
        if (u.copyOf != 0 && o.slot == u.copyOf) return o;
    return u;
}

class Compiler {
  public:
    CompileResult run(std::string_view text) {
        parse(text);
        if (result_.errors.empty()) build();
        if (result_.errors.empty()) checkChains();
        if (result_.errors.empty()) checkGroups();
        if (!result_.errors.empty()) result_.image.clear();
        return std::move(result_);
    }

  private:
    CompileResult result_;
    SourceUsul* current_ = nullptr;

    void error(int line, const std::string& what) {
        std::ostringstream os;
        os << "line " << line << ": " << what;
        result_.errors.push_back(os.str());
    }
    std::string who(const SourceUsul& u) const {
        return "slot " + std::to_string(u.slot) + " \"" + u.name + "\"";
    }

    void parse(std::string_view text) {
        int lineNo = 0;
        std::size_t pos = 0;
        while (pos <= text.size()) {
            std::size_t end = text.find('\n', pos);
            if (end == std::string_view::npos) end = text.size();
            ++lineNo;
            parseLine(trim(text.substr(pos, end - pos)), lineNo);
            pos = end + 1;
        }
    }

    void parseLine(std::string_view line, int no) {
        if (line.empty() || line.front() == '#') return;
        if (line.front() == '[') {
            parseHeader(line, no);
            return;
        }
        if (!current_) {
            error(no, "text outside a slot block");
            return;
        }
        const auto sp = line.find_first_of(" \t");
        const std::string_view key = line.substr(0, sp);
        const std::string_view rest = sp == std::string_view::npos ? "" : trim(line.substr(sp));
        if (key == "spacing") {
            if (!toInt(rest, current_->spacing) || current_->spacing < 1 ||
                current_->spacing > kMaxSpacing)
                error(no, who(*current_) + ": spacing must be 1..63");
        } else if (key == "strokes") {
            parseStrokes(rest, no);
        } else if (key == "copy") {
            if (!toInt(rest, current_->copyOf)) error(no, who(*current_) + ": bad copy slot");
        } else if (key == "groups") {
            parseGroups(rest, no);
        } else if (key == "source") {
            if (rest.empty()) error(no, who(*current_) + ": empty source line");
            current_->source = std::string(rest);
        } else {
            error(no, "unknown key '" + std::string(key) + "'");
        }
    }

    void parseHeader(std::string_view line, int no) {
        current_ = nullptr;
        const auto close = line.find(']');
        int slot = 0;
        if (close == std::string_view::npos || !toInt(line.substr(1, close - 1), slot) ||
            slot < 1 || slot > kSlots) {
            error(no, "bad slot header");
            return;
        }
        for (const SourceUsul& u : result_.source.usuls)
            if (u.slot == slot) error(no, "slot " + std::to_string(slot) + " given twice");
        std::string_view rest = trim(line.substr(close + 1));
        if (slot == kColourSlot) {
            const auto w = words(rest);
            if (w.size() != 4 || w[0] != "colour" || !toInt(w[1], result_.source.colour[0]) ||
                !toInt(w[2], result_.source.colour[1]) || !toInt(w[3], result_.source.colour[2]))
                error(no, "slot 256 takes: colour R G B");
            result_.source.hasColour = true;
            return;
        }
        SourceUsul u;
        u.slot = slot;
        u.line = no;
        const auto q1 = rest.find('"');
        const auto q2 = q1 == std::string_view::npos ? q1 : rest.find('"', q1 + 1);
        if (q2 == std::string_view::npos) {
            error(no, "slot " + std::to_string(slot) + ": name must be quoted");
            return;
        }
        u.name = std::string(rest.substr(q1 + 1, q2 - q1 - 1));
        const std::string_view time = trim(rest.substr(q2 + 1));
        const auto slash = time.find('/');
        if (slash == std::string_view::npos || !toInt(time.substr(0, slash), u.numerator) ||
            !toInt(time.substr(slash + 1), u.mertebe) || u.numerator < 1 || u.numerator > 255 ||
            u.mertebe < 1 || u.mertebe > 255) {
            error(no, who(u) + ": time signature must be N/M");
            return;
        }
        if (fromUtf8(u.name).size() > std::size_t(kNameChars))
            error(no, who(u) + ": name longer than 40 characters");
        result_.source.usuls.push_back(std::move(u));
        current_ = &result_.source.usuls.back();
    }

    void parseStrokes(std::string_view rest, int no) {
        bool bar = false;
        for (std::string_view w : words(rest)) {
            if (w == "|") {
                bar = true;
                continue;
            }
            SourceStroke s;
            s.barBefore = bar;
            bar = false;
            std::vector<std::string_view> parts;
            std::size_t i = 0;
            while (true) {
                const auto c = w.find(':', i);
                parts.push_back(w.substr(i, c == std::string_view::npos ? w.npos : c - i));
                if (c == std::string_view::npos) break;
                i = c + 1;
            }
            const std::string token(w);
            if (parts.size() < 2 || parts.size() > 3 || parts[0].size() < 2 ||
                (parts[0][0] != 'D' && parts[0][0] != 'T')) {
                error(no, who(*current_) + ": bad stroke '" + token + "'");
                continue;
            }
            s.right = parts[0][0] == 'D';
            if (!toInt(parts[0].substr(1), s.length) ||
                std::find(std::begin(kLengths), std::end(kLengths), s.length) == std::end(kLengths))
                error(no, who(*current_) + ": length not allowed in '" + token + "'");
            if (!toInt(parts[1], s.level) || s.level < 0 || s.level > 3)
                error(no, who(*current_) + ": level must be 0..3 in '" + token + "'");
            if (parts.size() == 3) {
                s.syllable = std::string(parts[2]);
                if (std::find(std::begin(kSyllables), std::end(kSyllables), s.syllable) ==
                    std::end(kSyllables))
                    error(no, who(*current_) + ": unknown syllable in '" + token + "'");
            }
            current_->strokes.push_back(std::move(s));
        }
        if (bar) error(no, who(*current_) + ": a bar line must stand before a stroke");
    }

    void parseGroups(std::string_view rest, int no) {
        const auto w = words(rest);
        const std::string_view parts = w.empty() ? "" : w.front();
        std::size_t i = 0;
        while (i <= parts.size()) {
            const auto plus = std::min(parts.find('+', i), parts.size());
            int zaman = 0;
            if (!toInt(parts.substr(i, plus - i), zaman) || zaman < 1) {
                error(no, who(*current_) + ": groups are zaman counts joined by '+'");
                return;
            }
            current_->groups.push_back(zaman);
            i = plus + 1;
        }
        current_->groupsSource = std::string(trim(rest.substr(parts.size())));
        if (current_->groupsSource.empty())
            error(no, who(*current_) + ": groups without the source that publishes them");
    }

    UsulRecord layOut(const SourceUsul& u, const HalvingTable& table) {
        UsulRecord r; // all-zero circles, NUL spares: as a record never touched by the editor
        r.numerator = std::uint8_t(u.numerator);
        r.mertebe = std::uint8_t(u.mertebe);
        r.name = fixedText(fromUtf8(u.name), kNameChars);
        int p = 1, total = 0;
        for (std::size_t i = 0; i < u.strokes.size(); ++i) {
            const SourceStroke& s = u.strokes[i];
            if (p > kCircles) {
                error(u.line, who(u) + ": strokes run past circle 180");
                return r;
            }
            if (s.barBefore) {
                if (i == 0) {
                    error(u.line, who(u) + ": a bar line cannot stand before the first stroke");
                    return r;
                }
                r.circle(p - 1).barLine = 1;
                if (r.circle(p - 1).hasStroke()) {
                    error(u.line, who(u) + ": bar line " + std::to_string(i + 1) +
                                      " has no empty circle before its stroke at this spacing");
                    return r;
                }
            }
            Halka& h = r.circle(p);
            (s.right ? h.rightDuration : h.leftDuration) = std::uint8_t(s.length);
            h.level = std::uint8_t(s.level);
            h.syllable = fixedText(fromUtf8(s.syllable), kSyllableChars);
            total += s.length;
            p += 1 + strokeGap(table, u.spacing, s.length);
        }
        r.totalLength = std::int16_t(total);
        return r;
    }

    // What a student hears must be what the usul is: two different usuls never share a
    // chain, and a velveleli row only adds strokes to its base, never moves or re-hands one.
    void checkChains() {
        std::map<int, const SourceUsul*> bySlot;
        for (const SourceUsul& u : result_.source.usuls)
            bySlot[u.slot] = &u;
        auto strokesOf = [&](const SourceUsul& u) -> const std::vector<SourceStroke>& {
            auto it = u.copyOf != 0 ? bySlot.find(u.copyOf) : bySlot.end();
            return it != bySlot.end() ? it->second->strokes : u.strokes;
        };
        auto onsets = [&](const SourceUsul& u) {
            std::vector<std::pair<int, bool>> o;
            int t = 0;
            for (const SourceStroke& s : strokesOf(u)) {
                o.emplace_back(t, s.right);
                t += s.length;
            }
            return o;
        };
        auto sameChain = [&](const SourceUsul& a, const SourceUsul& b) {
            const auto& x = strokesOf(a);
            const auto& y = strokesOf(b);
            return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                              [](const SourceStroke& p, const SourceStroke& q) {
                                  return p.right == q.right && p.length == q.length &&
                                         p.level == q.level && p.syllable == q.syllable;
                              });
        };
        const auto& all = result_.source.usuls;
        for (std::size_t i = 0; i < all.size(); ++i)
            for (std::size_t j = i + 1; j < all.size(); ++j)
                if (all[i].name != all[j].name && familyName(all[i]) != familyName(all[j]) &&
                    sameChain(all[i], all[j]))
                    error(all[j].line,
                          who(all[j]) + ": same strokes as " + who(all[i]) + ", a different usul");
        for (const SourceUsul& v : all) {
            if (!isVelveleli(v)) continue;
            const int total = expectedLength(v.numerator, v.mertebe);
            std::vector<const SourceUsul*> bases;
            for (int pass = 0; pass < 2 && bases.empty(); ++pass)
                for (const SourceUsul& b : all)
                    if (!isVelveleli(b) && expectedLength(b.numerator, b.mertebe) == total &&
                        (pass == 0 ? baseName(b) == baseName(v) : familyName(b) == familyName(v)))
                        bases.push_back(&b);
            if (bases.empty()) continue; // an excerpt, or a base the library does not hold
            const auto mine = onsets(v);
            std::string lost;
            bool kept = false;
            for (const SourceUsul* b : bases) {
                std::string missing;
                for (const auto& o : onsets(*b))
                    if (std::find(mine.begin(), mine.end(), o) == mine.end() && missing.empty())
                        missing = std::string(o.second ? "the Düm" : "the Tek") + " at " +
                                  std::to_string(o.first) + "/64 of " + who(*b);
                kept = kept || missing.empty();
                if (lost.empty()) lost = missing;
            }
            if (!kept)
                error(v.line,
                      who(v) + ": velvele must keep every stroke of its base; it loses " + lost);
        }
    }

    // A grouping stands in for bar lines, so a row has one or the other; its groups fill
    // the cycle and each starts with a stroke. The click finds it by name and zaman count,
    // so rows that share both must not disagree.
    void checkGroups() {
        const auto& all = result_.source.usuls;
        for (const SourceUsul& u : all) {
            if (u.groups.empty()) continue;
            std::vector<int> onsets;
            int t = 0;
            for (const SourceStroke& k : strokeRow(result_.source, u).strokes) {
                if (k.barBefore) error(u.line, who(u) + ": groups and bar lines both");
                onsets.push_back(t);
                t += k.length;
            }
            int at = 0;
            for (int zaman : u.groups) {
                if (std::find(onsets.begin(), onsets.end(), at * 64 / u.mertebe) == onsets.end())
                    error(u.line, who(u) + ": no stroke where a group starts, at zaman " +
                                      std::to_string(at + 1));
                at += zaman;
            }
            if (u.groups.size() < 2 || at != u.numerator || 64 % u.mertebe != 0)
                error(u.line, who(u) + ": groups must split the " + std::to_string(u.numerator) +
                                  " zaman in two or more");
            for (const SourceUsul& o : all)
                if (&o < &u && !o.groups.empty() && o.name == u.name &&
                    o.numerator == u.numerator && o.groups != u.groups)
                    error(u.line, who(u) + ": other groups than " + who(o));
        }
    }

    void build() {
        const HalvingTable table = TabloYap();
        std::map<int, UsulRecord> records;
        for (const SourceUsul& u : result_.source.usuls) {
            if (u.source.empty()) error(u.line, who(u) + ": no source line (provenance)");
            if (u.copyOf != 0) continue;
            if (u.strokes.empty()) {
                error(u.line, who(u) + ": no strokes");
                continue;
            }
            if (u.spacing == 0) {
                error(u.line, who(u) + ": no spacing");
                continue;
            }
            UsulRecord r = layOut(u, table);
            const int expected = expectedLength(u.numerator, u.mertebe);
            if (r.totalLength != expected)
                error(u.line, who(u) + ": strokes add up to " + std::to_string(r.totalLength) +
                                  " 64ths, the time signature asks for " +
                                  std::to_string(expected));
            records[u.slot] = r;
        }
        for (const SourceUsul& u : result_.source.usuls) {
            if (u.copyOf == 0) continue;
            auto it = records.find(u.copyOf);
            if (it == records.end()) {
                error(u.line, who(u) + ": copy of a slot without strokes");
                continue;
            }
            UsulRecord r = it->second;
            r.numerator = std::uint8_t(u.numerator);
            r.mertebe = std::uint8_t(u.mertebe);
            r.name = fixedText(fromUtf8(u.name), kNameChars);
            if (r.totalLength != expectedLength(u.numerator, u.mertebe))
                error(u.line, who(u) + ": copied strokes do not match its time signature");
            records[u.slot] = r;
        }
        if (!result_.errors.empty()) return;

        auto& image = result_.image;
        image.assign(kLibraryBytes, 0);
        const RecordBytes empty = encodeRecord(emptyRecord());
        for (int slot = 1; slot <= kLastUsulSlot; ++slot) {
            auto it = records.find(slot);
            const RecordBytes b = it == records.end() ? empty : encodeRecord(it->second);
            std::copy(b.begin(), b.end(), image.begin() + std::ptrdiff_t(slot - 1) * kRecordBytes);
        }
        ColourRecord colour;
        colour.red = std::uint8_t(result_.source.colour[0]);
        colour.green = std::uint8_t(result_.source.colour[1]);
        colour.blue = std::uint8_t(result_.source.colour[2]);
        const RecordBytes c = encodeColour(colour);
        std::copy(c.begin(), c.end(), image.end() - kRecordBytes);
    }
};

} // namespace

CompileResult compileLibrary(std::string_view text) {
    return Compiler().run(text);
}

namespace {

// A bar line inside a table cell must not end the cell.
std::string cell(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '|') out += '\\';
        out += c;
    }
    return out;
}

} // namespace

std::string libraryDocument(const CompileResult& compiled) {
    std::map<std::string, int> count;
    for (const SourceUsul& u : compiled.source.usuls)
        ++count[sourceKind(u.source)];
    std::ostringstream md;
    md << "# The built-in usuls\n\n"
          "Generated from `assets/library/usuls.txt` at build time; edit that file, not this "
          "one.\n\n"
          "Strokes: D = Düm (right hand, upper line), T = Tek (left hand, lower line), the "
          "length in 64th notes, the loudness level (3 strong, 2 medium, 1 weak) and the "
          "syllable; `|` is a bar line between sections. *Spacing* is the layout parameter "
          "and *circles* the last circle used on the notation.\n\n"
          "*Trust* says how sure we are of a row, and *Source* what it rests on:\n\n"
          "- **given** ("
       << count["given"]
       << "): the program's own telling rows, reproduced exactly.\n"
          "- **sourced** ("
       << count["sourced"]
       << "): the strokes of a published listing, named by its code; the confidence of the "
          "listing is in brackets.\n"
          "- **derived** ("
       << count["derived"]
       << "): another row of the library at another mertebe, every length scaled; as sure as "
          "that row.\n"
          "- **compound** ("
       << count["compound"]
       << "): put together from library rows as a published composition says.\n"
          "- **reconstructed** ("
       << count["reconstructed"]
       << "): no published strokes were found; the zaman count, grouping and composition "
          "named in the source are known, the single strokes are our reading. Teach the "
          "shape, not every stroke.\n"
          "- **example** ("
       << count["example"]
       << "): demonstration and user-area rows.\n\n"
          "*Groups* are where the usul's smaller usuls meet, in zaman, as the beat click "
          "accents them: from the bar lines, or, for a row without bar lines, the published "
          "grouping and its source. An usul on screen without bar lines takes the grouping of "
          "the row of the same name and zaman count.\n\n"
          "| Slot | Name | Time | Trust | Spacing | Circles | Strokes | Groups | Source |\n"
          "|---|---|---|---|---|---|---|---|---|\n";
    for (const SourceUsul& u : compiled.source.usuls) {
        RecordBytes b{};
        std::copy_n(compiled.image.begin() + std::ptrdiff_t(u.slot - 1) * kRecordBytes,
                    kRecordBytes, b.begin());
        const UsulRecord r = decodeRecord(b);
        const SourceUsul* strokes = &strokeRow(compiled.source, u);
        const std::string kind = sourceKind(u.source);
        std::string rest = u.source.substr(kind.size());
        if (!rest.empty() && rest.front() == ':') rest.erase(0, 1);
        md << "| " << u.slot << " | " << u.name << " | " << u.numerator << '/' << u.mertebe << " | "
           << kind << " | " << strokes->spacing << " | " << MevcutHalka(r) << " | "
           << cell(strokeChain(*strokes)) << " | " << groupingText(compiled, u)
           << (u.groupsSource.empty() ? "" : " (" + cell(u.groupsSource) + ")") << " | "
           << cell(std::string(trim(rest))) << " |\n";
    }
    return md.str();
}

std::string groupingText(const CompileResult& compiled, const SourceUsul& u) {
    std::vector<int> groups = u.groups;
    if (groups.empty()) {
        int t = 0, last = 0;
        for (const SourceStroke& k : strokeRow(compiled.source, u).strokes) {
            if (k.barBefore) {
                groups.push_back(t - last);
                last = t;
            }
            t += k.length;
        }
        if (groups.empty()) return {};
        groups.push_back(t - last);
        for (int& g : groups) {
            if (g * u.mertebe % 64 != 0) return {}; // a group of part of a zaman
            g = g * u.mertebe / 64;
        }
    }
    std::string out;
    for (int g : groups)
        out += (out.empty() ? "" : "+") + std::to_string(g);
    return out;
}

std::string sourceKind(const std::string& source) {
    for (const char* kind :
         {"given", "sourced", "derived", "compound", "reconstructed", "example"}) {
        const std::string k = kind;
        if (source.compare(0, k.size(), k) == 0 &&
            (source.size() == k.size() || source[k.size()] == ':' || source[k.size()] == ' '))
            return k;
    }
    return {};
}

std::string strokeChain(const SourceUsul& u) {
    std::string out;
    for (const SourceStroke& s : u.strokes) {
        if (!out.empty()) out += ' ';
        if (s.barBefore) out += "| ";
        out += s.right ? 'D' : 'T';
        out += std::to_string(s.length) + ':' + std::to_string(s.level);
        if (!s.syllable.empty()) out += ':' + s.syllable;
    }
    return out;
}

} // namespace zerkavi
