#include "exchange/lilypond.h"

#include "common/text_codec.h"
#include "exchange/score.h"

#include <sstream>

namespace zerkavi {

namespace {

std::string quoted(std::u32string_view text) {
    std::string out = "\"";
    for (char c : toUtf8(text)) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string duration(const NotePart& p) {
    std::string d = p.value64ths == 128 ? "\\breve" : std::to_string(64 / p.value64ths);
    return d + std::string(std::size_t(p.dots), '.');
}

const char* dynamicOfLevel(int level) {
    switch (level) {
    case 3:
        return "\\f";
    case 2:
        return "\\mf";
    case 1:
        return "\\p";
    default:
        return "";
    }
}

} // namespace

std::string usulLilyPond(const UsulRecord& usul, int bpm, int unitNote) {
    const UsulScore score = usulScore(usul);
    std::ostringstream o;
    o << "\\version \"" << kLilyPondVersion << "\"\n"
      << "\\header {\n  title = " << quoted(score.name) << "\n  tagline = ##f\n}\n\n"
      << "% Düm and Tek as drum notes on the two lines of the staff.\n"
         "drumPitchNames.dum = #'dum\n"
         "drumPitchNames.tek = #'tek\n"
         "usulStyle = #(alist->hash-table '((dum default #f 1) (tek default #f -1)))\n\n";

    o << "usul = \\drummode {\n  ";
    if (printsGroups(score)) {
        // Printed as the sum of its groups, as musicians write additive meters.
        o << "\\once \\override Staff.TimeSignature.stencil = #(lambda (grob) "
             "(grob-interpret-markup grob #{ \\markup \\compound-meter #'((";
        for (int g : score.groups)
            o << g << ' ';
        o << int(score.mertebe) << ")) #}))\n  ";
    }
    if (!score.groups.empty()) {
        o << "\\time ";
        for (std::size_t g = 0; g < score.groups.size(); ++g)
            o << (g ? "," : "") << score.groups[g];
        o << ' ' << score.numerator << '/' << int(score.mertebe) << "\n  ";
    } else
        o << "\\time " << score.numerator << '/' << int(score.mertebe) << "\n  ";
    o << "\\tempo " << duration(noteParts(64 / unitNote).front()) << " = " << bpm << "\n  ";

    // Without bar lines inside the cycle a long cycle may still break at its beats.
    const int beat = score.mertebe > 0 && 64 % score.mertebe == 0 ? 64 / score.mertebe : 0;
    std::size_t bar = 0;
    int stem = 0; // 1 up, -1 down
    for (const ScoreStroke& s : score.strokes) {
        const int want = s.dumLength != 0 ? 1 : -1;
        if (want != stem) o << (want > 0 ? "\\stemUp " : "\\stemDown ");
        stem = want;
        const std::string pitch = s.dumLength != 0 && s.tekLength != 0 ? "<dum tek>"
                                  : s.dumLength != 0                   ? "dum"
                                                                       : "tek";
        const std::vector<NotePart> parts = noteParts(s.length64ths);
        for (std::size_t k = 0; k < parts.size(); ++k) {
            o << pitch << duration(parts[k]);
            if (k == 0) o << dynamicOfLevel(s.level);
            if (k + 1 < parts.size()) o << '~';
            o << ' ';
        }
        const int end = s.onset64ths + s.length64ths;
        if (bar < score.barsAt64ths.size() && end >= score.barsAt64ths[bar]) {
            o << "\\bar \"!\"\n  ";
            while (bar < score.barsAt64ths.size() && end >= score.barsAt64ths[bar])
                ++bar;
        } else if (score.barsAt64ths.empty() && beat > 0 && end % beat == 0 &&
                   end < score.length64ths) {
            o << "\\bar \"\" ";
        }
    }
    o << "\\bar \"|.\"\n}\n\n";

    o << "syllables = \\lyricmode {\n  ";
    for (const ScoreStroke& s : score.strokes)
        o << quoted(s.syllable) << ' ';
    o << "\n}\n\n";

    o << "\\score {\n"
         "  <<\n"
         "    \\new DrumStaff \\with {\n"
         "      \\override StaffSymbol.line-count = #2\n"
         "      drumStyleTable = #usulStyle\n"
         "    } \\new DrumVoice = \"usul\" { \\autoBeamOff \\dynamicUp \\usul }\n"
         "    \\new Lyrics \\lyricsto \"usul\" \\syllables\n"
         "  >>\n"
         "  \\layout { ragged-right = ##f }\n"
         "}\n";
    return o.str();
}

} // namespace zerkavi
