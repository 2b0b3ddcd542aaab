#include "exchange/musicxml.h"

#include "common/text_codec.h"
#include "exchange/score.h"

#include <sstream>

namespace zerkavi {

namespace {

std::string xmlEscaped(std::u32string_view text) {
    std::string out;
    for (char c : toUtf8(text)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

const char* typeName(int value64ths) {
    switch (value64ths) {
    case 128:
        return "breve";
    case 64:
        return "whole";
    case 32:
        return "half";
    case 16:
        return "quarter";
    case 8:
        return "eighth";
    case 4:
        return "16th";
    case 2:
        return "32nd";
    default:
        return "64th";
    }
}

const char* dynamicOfLevel(int level) {
    switch (level) {
    case 3:
        return "f";
    case 2:
        return "mf";
    case 1:
        return "p";
    default:
        return nullptr;
    }
}

void writeNote(std::ostream& o, bool dum, bool chord, const NotePart& part, bool tieFrom,
               bool tieTo, const ScoreStroke* lyricOf) {
    o << "      <note>\n";
    if (chord) o << "        <chord/>\n";
    o << "        <unpitched><display-step>" << (dum ? kMusicXmlDumStep : kMusicXmlTekStep)
      << "</display-step><display-octave>" << kMusicXmlOctave << "</display-octave></unpitched>\n"
      << "        <duration>" << part.length64ths << "</duration>\n";
    if (tieFrom) o << "        <tie type=\"stop\"/>\n";
    if (tieTo) o << "        <tie type=\"start\"/>\n";
    o << "        <instrument id=\"P1-I" << (dum ? 1 : 2) << "\"/>\n"
      << "        <voice>1</voice>\n"
      << "        <type>" << typeName(part.value64ths) << "</type>\n";
    for (int d = 0; d < part.dots; ++d)
        o << "        <dot/>\n";
    o << "        <stem>" << (dum ? "up" : "down") << "</stem>\n";
    if (tieFrom || tieTo) {
        o << "        <notations>";
        if (tieFrom) o << "<tied type=\"stop\"/>";
        if (tieTo) o << "<tied type=\"start\"/>";
        o << "</notations>\n";
    }
    if (lyricOf && !lyricOf->syllable.empty())
        o << "        <lyric number=\"1\"><syllabic>single</syllabic><text>"
          << xmlEscaped(lyricOf->syllable) << "</text></lyric>\n";
    o << "      </note>\n";
}

void writeStroke(std::ostream& o, const ScoreStroke& s) {
    if (const char* d = dynamicOfLevel(s.level))
        o << "      <direction placement=\"above\"><direction-type><dynamics><" << d
          << "/></dynamics></direction-type></direction>\n";
    // Both hands on one circle are a chord that lasts as long as the stroke.
    const std::vector<NotePart> parts = noteParts(s.length64ths);
    for (std::size_t k = 0; k < parts.size(); ++k) {
        const bool tieFrom = k > 0, tieTo = k + 1 < parts.size();
        bool chord = false;
        for (bool dum : {true, false}) {
            if ((dum ? s.dumLength : s.tekLength) == 0) continue;
            writeNote(o, dum, chord, parts[k], tieFrom, tieTo, k == 0 && !chord ? &s : nullptr);
            chord = true;
        }
    }
}

} // namespace

std::string usulMusicXml(const UsulRecord& usul, int bpm, int unitNote, const MidiKeys& keys) {
    const UsulScore score = usulScore(usul);
    std::ostringstream o;
    o << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
         "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 3.1 Partwise//EN\" "
         "\"http://www.musicxml.org/dtds/partwise.dtd\">\n"
         "<score-partwise version=\"3.1\">\n"
      << "  <work><work-title>" << xmlEscaped(score.name) << "</work-title></work>\n"
      << "  <identification><encoding><software>Zerkavi</software></encoding>"
         "</identification>\n"
         "  <part-list>\n"
         "    <score-part id=\"P1\">\n"
         "      <part-name>Usul</part-name>\n"
         "      <score-instrument id=\"P1-I1\"><instrument-name>Düm</instrument-name>"
         "</score-instrument>\n"
         "      <score-instrument id=\"P1-I2\"><instrument-name>Tek</instrument-name>"
         "</score-instrument>\n";
    // MIDI numbers keys from 1.
    for (int i : {1, 2})
        o << "      <midi-instrument id=\"P1-I" << i
          << "\"><midi-channel>10</midi-channel><midi-unpitched>"
          << (i == 1 ? keys.dum : keys.tek) + 1 << "</midi-unpitched></midi-instrument>\n";
    o << "    </score-part>\n  </part-list>\n  <part id=\"P1\">\n";

    std::string beats = std::to_string(score.numerator);
    if (printsGroups(score)) {
        beats.clear();
        for (std::size_t g = 0; g < score.groups.size(); ++g)
            beats += (g ? "+" : "") + std::to_string(score.groups[g]);
    }
    std::size_t next = 0;
    const std::size_t measures = score.barsAt64ths.size() + 1;
    for (std::size_t m = 0; m < measures; ++m) {
        const int end = m < score.barsAt64ths.size() ? score.barsAt64ths[m] : score.length64ths;
        o << "    <measure number=\"" << m + 1 << "\">\n";
        if (m == 0) {
            o << "      <attributes>\n"
              << "        <divisions>" << kMusicXmlDivisions << "</divisions>\n"
              << "        <key print-object=\"no\"><fifths>0</fifths></key>\n"
              << "        <time><beats>" << beats << "</beats><beat-type>" << int(score.mertebe)
              << "</beat-type></time>\n"
              << "        <clef><sign>percussion</sign></clef>\n"
              << "        <staff-details><staff-lines>2</staff-lines></staff-details>\n"
              << "      </attributes>\n";
            const NotePart beat = noteParts(64 / unitNote).front();
            o << "      <direction placement=\"above\"><direction-type><metronome><beat-unit>"
              << typeName(beat.value64ths) << "</beat-unit><per-minute>" << bpm
              << "</per-minute></metronome></direction-type><sound tempo=\""
              << double(bpm) * 4 / unitNote << "\"/></direction>\n";
        }
        for (; next < score.strokes.size() && score.strokes[next].onset64ths < end; ++next)
            writeStroke(o, score.strokes[next]);
        o << "      <barline location=\"right\"><bar-style>"
          << (m + 1 < measures ? "dashed" : "light-heavy") << "</bar-style></barline>\n"
          << "    </measure>\n";
    }
    o << "  </part>\n</score-partwise>\n";
    return o.str();
}

} // namespace zerkavi
