// Export to the files musicians exchange, read back: MIDI by a small reader below, MusicXML
// by its elements, LilyPond by lilypond, MusicXML by musescore3 (both where installed), and
// the sound files by libsndfile.
#include "common/text_codec.h"
#include "exchange/export.h"
#include "exchange/lilypond.h"
#include "exchange/midi.h"
#include "exchange/musicxml.h"
#include "exchange/score.h"
#include "plans/plan_format.h"
#include "sound/sample_bank.h"
#include "usul/library_file.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

using namespace zerkavi;
namespace fs = std::filesystem;

namespace {

constexpr int kAksak = 38, kMuhammes = 164, kMuhammesV = 165, kEmpty = 190;

UsulRecord builtIn(int slot) {
    RecordBytes b{};
    std::copy_n(defaultLibraryImage().begin() + std::ptrdiff_t(slot - 1) * kRecordBytes,
                kRecordBytes, b.begin());
    return decodeRecord(b);
}
std::optional<UsulRecord> readBuiltIn(int slot) {
    if (slot < 1 || slot > kLastUsulSlot) return std::nullopt;
    return builtIn(slot);
}

// Aksak with its groups marked by bar lines after circles 5, 10 and 15: 2 + 2 + 2 + 3.
UsulRecord aksakWithBars() {
    UsulRecord u = builtIn(kAksak);
    for (int c : {5, 10, 15})
        u.circle(c).barLine = 1;
    return u;
}

class Folder {
  public:
    Folder() {
        std::string t = (fs::temp_directory_path() / "zerkavi-exchange-XXXXXX").string();
        path_ = ::mkdtemp(t.data());
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

// ---- a small Standard MIDI File reader ---------------------------------------------
struct MidiEvent {
    int track = 0;
    std::uint32_t tick = 0;
    std::uint8_t status = 0; // 0xFF for meta events
    std::uint8_t type = 0;   // meta type
    std::vector<std::uint8_t> data;
    std::string text() const { return std::string(data.begin(), data.end()); }
};
struct MidiFile {
    int format = -1, division = 0;
    std::vector<MidiEvent> events; // all tracks, each in file order
    std::vector<MidiEvent> where(std::uint8_t status, std::uint8_t type = 0) const {
        std::vector<MidiEvent> out;
        for (const MidiEvent& e : events)
            if ((e.status & 0xF0) == (status & 0xF0) && (status != 0xFF || e.type == type))
                out.push_back(e);
        return out;
    }
    // Seconds from the start at `tick`, through the tempo map of track 1.
    double seconds(std::uint32_t tick) const {
        double s = 0, us = 500000;
        std::uint32_t at = 0;
        for (const MidiEvent& e : where(0xFF, 0x51)) {
            if (e.tick >= tick) break;
            s += (e.tick - at) * us / division / 1e6;
            at = e.tick;
            us = e.data[0] << 16 | e.data[1] << 8 | e.data[2];
        }
        return s + (tick - at) * us / division / 1e6;
    }
};

MidiFile readMidi(const std::vector<std::uint8_t>& b) {
    MidiFile m;
    std::size_t p = 0;
    auto be = [&](int n) {
        std::uint32_t v = 0;
        while (n--)
            v = v << 8 | b.at(p++);
        return v;
    };
    auto vlq = [&] {
        std::uint32_t v = 0;
        std::uint8_t c;
        do {
            c = b.at(p++);
            v = v << 7 | (c & 0x7F);
        } while (c & 0x80);
        return v;
    };
    if (std::string(b.begin(), b.begin() + 4) != "MThd") return m;
    p = 8;
    m.format = int(be(2));
    const int tracks = int(be(2));
    m.division = int(be(2));
    for (int t = 0; t < tracks; ++t) {
        EXPECT_EQ(std::string(b.begin() + std::ptrdiff_t(p), b.begin() + std::ptrdiff_t(p) + 4),
                  "MTrk");
        p += 4;
        const std::size_t end = be(4) + p;
        std::uint32_t tick = 0;
        std::uint8_t running = 0;
        while (p < end) {
            MidiEvent e;
            e.track = t;
            e.tick = tick += vlq();
            if (b.at(p) & 0x80) running = b.at(p++);
            e.status = running;
            if (e.status == 0xFF) {
                e.type = b.at(p++);
                const std::uint32_t n = vlq();
                e.data.assign(b.begin() + std::ptrdiff_t(p), b.begin() + std::ptrdiff_t(p + n));
                p += n;
            } else {
                const int n = (e.status & 0xF0) == 0xC0 || (e.status & 0xF0) == 0xD0 ? 1 : 2;
                e.data.assign(b.begin() + std::ptrdiff_t(p), b.begin() + std::ptrdiff_t(p) + n);
                p += std::size_t(n);
            }
            m.events.push_back(e);
        }
    }
    return m;
}

// (tick, key, velocity) of every note-on, sorted.
std::vector<std::tuple<std::uint32_t, int, int>> notesOf(const MidiFile& m) {
    std::vector<std::tuple<std::uint32_t, int, int>> n;
    for (const MidiEvent& e : m.where(0x90))
        if (e.data[1] > 0) n.emplace_back(e.tick, e.data[0], e.data[1]);
    std::sort(n.begin(), n.end());
    return n;
}

bool have(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}
std::string slurp(const fs::path& f) {
    std::ifstream in(f, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}
void spill(const fs::path& f, const std::string& text) {
    std::ofstream(f, std::ios::binary) << text;
}

std::vector<std::int16_t> decoded(const fs::path& f, SF_INFO& info) {
    info = {};
    SNDFILE* s = sf_open(f.c_str(), SFM_READ, &info);
    if (!s) return {};
    std::vector<std::int16_t> out(std::size_t(info.frames));
    out.resize(std::size_t(sf_read_short(s, out.data(), sf_count_t(out.size()))));
    sf_close(s);
    return out;
}

} // namespace

// ---- MIDI -------------------------------------------------------------------------

TEST(ExchangeMidi, UsulCyclesCarryStrokesVelocitiesMetreTempoAndMarkers) {
    const MidiFile m = readMidi(usulMidi(builtIn(kAksak), 120, 8, 2));
    EXPECT_EQ(m.format, 1);
    EXPECT_EQ(m.division, 480);
    // The strokes of Aksak: Düm 16 f, Düm 8 mf, Tek 8 p, Düm 16 f, Tek 16 mf, Tek 8 p.
    const std::vector<std::tuple<std::uint32_t, int, int>> cycle = {
        {0, 64, 112}, {480, 64, 80}, {720, 63, 56}, {960, 64, 112}, {1440, 63, 80}, {1920, 63, 56}};
    auto expected = cycle;
    for (auto [t, k, v] : cycle)
        expected.emplace_back(t + 2160, k, v);
    EXPECT_EQ(notesOf(m), expected);
    for (const MidiEvent& e : m.where(0x90))
        EXPECT_EQ(e.status & 0x0F, 9) << "percussion channel";
    const auto offs = m.where(0x80);
    ASSERT_EQ(offs.size(), 12u);
    EXPECT_EQ(offs[0].tick, 480u); // the first Düm lasts its 16 64ths

    const auto metre = m.where(0xFF, 0x58);
    ASSERT_EQ(metre.size(), 1u);
    EXPECT_EQ(metre[0].data, (std::vector<std::uint8_t>{9, 3, 12, 8}));
    const auto tempo = m.where(0xFF, 0x51);
    ASSERT_EQ(tempo.size(), 1u);
    EXPECT_EQ(tempo[0].data, (std::vector<std::uint8_t>{0x0F, 0x42, 0x40})); // 1 s a quarter
    const auto markers = m.where(0xFF, 0x06);
    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[1].tick, 2160u);
    EXPECT_EQ(markers[1].text(), "Aksak");

    const MidiFile keys = readMidi(usulMidi(builtIn(kAksak), 120, 8, 1, MidiKeys{36, 38}));
    EXPECT_EQ(std::get<1>(notesOf(keys)[0]), 36);
    EXPECT_EQ(std::get<1>(notesOf(keys)[2]), 38);
}

TEST(ExchangeMidi, PlanTempoMapFollowsTheRenderedSoundSectionBySection) {
    Folder bank;
    ASSERT_FALSE(prepareSampleBank(bank.path(), 0.6f, 0.4f).fatal);
    const std::u32string plan = normalisedPlanLine({U"Hane", U"165", U"2", U"4", U"84"}) + U"\r\n" +
                                normalisedPlanLine({U"Son", U"165", U"49-", U"4", U"84>50"}) +
                                U"\r\n" +
                                normalisedPlanLine({U"Yavas", U"38", U"3", U"8", U"84>50"});
    UsulRecord current;
    SampleReader reader;
    const PlanRenderResult sound = renderPlan(plan, readBuiltIn, current, bank.path(), reader);
    ASSERT_EQ(sound.sectionEndMs.size(), 3u);

    const PlanMidi pm = planMidi(U"Örnek", plan, readBuiltIn);
    EXPECT_EQ(pm.sections, 3);
    const MidiFile m = readMidi(pm.bytes);
    const auto markers = m.where(0xFF, 0x06);
    ASSERT_EQ(markers.size(), 3u);
    EXPECT_EQ(markers[0].text(), "Hane: Muhammes v.");
    EXPECT_EQ(markers[2].text(), "Yavas: Aksak");
    // Every section starts where the sound's section does, within a millisecond.
    EXPECT_EQ(markers[0].tick, 0u);
    for (int s = 1; s < 3; ++s)
        EXPECT_NEAR(m.seconds(markers[std::size_t(s)].tick) * 1000,
                    sound.sectionEndMs[std::size_t(s - 1)], 1.0)
            << "section " << s + 1;
    EXPECT_NEAR(m.seconds(m.where(0x80).back().tick) * 1000, sound.sectionEndMs[2], 1.0);

    // Tempo map: 84 quarters held over the two repetitions of section 1, then slowing.
    const auto tempo = m.where(0xFF, 0x51);
    auto us = [](const MidiEvent& e) { return e.data[0] << 16 | e.data[1] << 8 | e.data[2]; };
    EXPECT_EQ(us(tempo[0]), 714286);
    EXPECT_EQ(tempo[1].tick, markers[1].tick);
    std::vector<int> ramp;
    for (const MidiEvent& e : tempo)
        if (e.tick >= markers[1].tick && e.tick < markers[2].tick) ramp.push_back(us(e));
    EXPECT_TRUE(std::is_sorted(ramp.begin(), ramp.end())) << "slows down stroke by stroke";
    const UsulRecord v = builtIn(kMuhammesV);
    std::size_t strokes = 0;
    for (int c = 49; c <= kCircles; ++c)
        strokes += v.circle(c).hasStroke();
    EXPECT_EQ(ramp.size(), strokes) << "one tempo a stroke";
    EXPECT_NEAR(ramp.back(), 1200000, 30000); // 50 a minute by the end
    // Section 3: three repetitions of Aksak, 84 -> 73 -> 62 -> 51 eighths, 6 strokes each.
    std::vector<MidiEvent> third;
    for (const MidiEvent& e : m.where(0x90))
        if (e.tick >= markers[2].tick) third.push_back(e);
    EXPECT_EQ(third.size(), 18u);
    EXPECT_NEAR(m.seconds(third[6].tick) - m.seconds(third[0].tick),
                9 * (60.0 / 84 + 60.0 / 73) / 2, 0.01);
}

// ---- note values -----------------------------------------------------------------

struct PartsCase {
    int length;
    std::vector<std::pair<int, int>> parts; // value, dots
};
class ExchangeNoteParts : public ::testing::TestWithParam<PartsCase> {};
TEST_P(ExchangeNoteParts, LengthIsWrittenAsTheNotationDrawsIt) {
    std::vector<std::pair<int, int>> got;
    int sum = 0;
    for (const NotePart& p : noteParts(GetParam().length)) {
        got.emplace_back(p.value64ths, p.dots);
        sum += p.length64ths;
    }
    EXPECT_EQ(got, GetParam().parts);
    EXPECT_EQ(sum, GetParam().length);
}
INSTANTIATE_TEST_SUITE_P(Lengths, ExchangeNoteParts,
                         ::testing::Values(PartsCase{16, {{16, 0}}}, PartsCase{3, {{2, 1}}},
                                           PartsCase{7, {{4, 2}}}, PartsCase{12, {{8, 1}}},
                                           PartsCase{112, {{64, 2}}},
                                           PartsCase{5, {{4, 0}, {1, 0}}}, PartsCase{1, {{1, 0}}},
                                           PartsCase{200, {{128, 0}, {64, 0}, {8, 0}}}),
                         [](const auto& info) {
                             return "Length" + std::to_string(info.param.length);
                         });

// ---- MusicXML ---------------------------------------------------------------------

struct XmlNote {
    std::string step, type, lyric, dynamic;
    int duration = 0, dots = 0;
    bool tied = false;
};
std::vector<XmlNote> xmlNotes(const std::string& xml) {
    std::vector<XmlNote> notes;
    std::string pendingDynamic;
    const std::regex item("<dynamics><([a-z]+)/></dynamics>|<note>([\\s\\S]*?)</note>");
    auto field = [](const std::string& s, const char* tag) {
        std::smatch m;
        return std::regex_search(s, m, std::regex(std::string("<") + tag + ">([^<]*)</" + tag))
                   ? m[1].str()
                   : std::string();
    };
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), item); it != std::sregex_iterator();
         ++it) {
        if ((*it)[1].matched) {
            pendingDynamic = (*it)[1];
            continue;
        }
        const std::string n = (*it)[2];
        XmlNote x{field(n, "display-step"),
                  field(n, "type"),
                  field(n, "text"),
                  pendingDynamic,
                  std::stoi(field(n, "duration")),
                  0,
                  n.find("<tie type=\"stop\"") != n.npos};
        for (auto p = n.find("<dot/>"); p != n.npos; p = n.find("<dot/>", p + 1))
            ++x.dots;
        pendingDynamic.clear();
        notes.push_back(x);
    }
    return notes;
}

TEST(ExchangeMusicXml, EveryStrokeKeepsItsLengthLineLyricAndDynamic) {
    UsulRecord u = aksakWithBars();
    u.circle(6).rightDuration = 12; // dotted eighth
    u.circle(9).leftDuration = 4;   // so the cycle still adds up to 9/8
    const std::string xml = usulMusicXml(u, 120, 8);
    EXPECT_NE(xml.find("<score-partwise version=\"3.1\">"), std::string::npos);
    EXPECT_NE(xml.find("<work-title>Aksak</work-title>"), std::string::npos);
    EXPECT_NE(xml.find("<beats>2+2+2+3</beats><beat-type>8</beat-type>"), std::string::npos);
    EXPECT_NE(xml.find("<staff-lines>2</staff-lines>"), std::string::npos);
    const auto notes = xmlNotes(xml);
    struct Want {
        const char *step, *type;
        int duration, dots;
        const char *lyric, *dynamic;
    };
    const Want want[] = {{"F", "quarter", 16, 0, "Düm", "f"},  {"F", "eighth", 12, 1, "Te", "mf"},
                         {"D", "16th", 4, 0, "Ke", "p"},       {"F", "quarter", 16, 0, "Düm", "f"},
                         {"D", "quarter", 16, 0, "Tek", "mf"}, {"D", "eighth", 8, 0, "Tek", "p"}};
    ASSERT_EQ(notes.size(), std::size(want));
    for (std::size_t i = 0; i < notes.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(notes[i].step, want[i].step);
        EXPECT_EQ(notes[i].type, want[i].type);
        EXPECT_EQ(notes[i].duration, want[i].duration);
        EXPECT_EQ(notes[i].dots, want[i].dots);
        EXPECT_EQ(notes[i].lyric, want[i].lyric);
        EXPECT_EQ(notes[i].dynamic, want[i].dynamic);
    }
    // A measure for each group, dashed between them, closed at the end of the cycle.
    EXPECT_EQ(std::regex_search(xml, std::regex("<measure number=\"4\">")), true);
    std::size_t dashed = 0;
    for (auto p = xml.find("dashed"); p != xml.npos; p = xml.find("dashed", p + 1))
        ++dashed;
    EXPECT_EQ(dashed, 3u);

    // A length the notation cannot draw is tied; the plain Aksak has a plain 9/8.
    UsulRecord odd = builtIn(kAksak);
    odd.circle(1).rightDuration = 17;
    const auto tied = xmlNotes(usulMusicXml(odd, 120, 8));
    ASSERT_GE(tied.size(), 2u);
    EXPECT_EQ(tied[0].duration + tied[1].duration, 17);
    EXPECT_TRUE(tied[1].tied);
    EXPECT_EQ(tied[1].lyric, "");
    EXPECT_NE(usulMusicXml(builtIn(kAksak), 120, 8).find("<beats>9</beats>"), std::string::npos);
}

TEST(ExchangeMusicXml, MuseScoreReadsEveryStroke) {
    if (!have("musescore3")) GTEST_SKIP() << "musescore3 is not installed: MusicXML not checked";
    Folder f;
    for (const UsulRecord& u : {aksakWithBars(), builtIn(kMuhammes)}) {
        spill(f / "in.musicxml", usulMusicXml(u, 100, 4));
        const std::string cmd = "QT_QPA_PLATFORM=offscreen musescore3 -o '" +
                                (f / "out.mid").string() + "' '" + (f / "in.musicxml").string() +
                                "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        std::vector<std::uint8_t> bytes;
        ASSERT_TRUE(readFileBytes(f / "out.mid", bytes));
        auto onsets = [](const MidiFile& m) {
            std::vector<std::pair<std::uint32_t, int>> n;
            for (auto [t, k, v] : notesOf(m))
                n.emplace_back(t * 480 / std::uint32_t(m.division), k);
            return n;
        };
        EXPECT_EQ(onsets(readMidi(bytes)), onsets(readMidi(usulMidi(u, 100, 4, 1))))
            << toUtf8(trimmedField(u.name));
    }
}

// ---- LilyPond ---------------------------------------------------------------------

TEST(ExchangeLilyPond, DrumModeOnTwoLinesWithGroupsInTheTimeSignature) {
    const std::string ly = usulLilyPond(aksakWithBars(), 120, 8);
    for (const char* part :
         {"\\version \"2.24.0\"", "title = \"Aksak\"", "\\time 2,2,2,3 9/8",
          "compound-meter #'((2 2 2 3 8))", "line-count = #2",
          "\\stemUp dum4\\f \\bar \"!\"\n  dum8\\mf \\stemDown tek8\\p \\bar \"!\"",
          "\"Düm\" \"Te\" \"Ke\" \"Düm\" \"Tek\" \"Tek\"", "\\tempo 8 = 120"})
        EXPECT_NE(ly.find(part), std::string::npos) << part;
    const std::string muhammes = usulLilyPond(builtIn(kMuhammes), 84, 4);
    EXPECT_NE(muhammes.find("\\time 4,4,4,4,4,4,4,4 32/4"), std::string::npos);
    EXPECT_EQ(muhammes.find("compound-meter"), std::string::npos) << "equal groups print 32/4";
    UsulRecord thirds = builtIn(kAksak);
    thirds.mertebe = 3; // typed by a user; written as the cycle's length
    EXPECT_NE(usulLilyPond(thirds, 120, 8).find("\\time 9/8"), std::string::npos);
}

TEST(ExchangeLilyPond, LilyPondCompilesItWithoutErrorsOrWarnings) {
    if (!have("lilypond")) GTEST_SKIP() << "lilypond is not installed: .ly files not compiled";
    Folder f;
    UsulRecord odd = builtIn(kMuhammesV);
    odd.circle(1).rightDuration = 5; // a tie; the total no longer fits the metre
    spill(f / "a.ly", usulLilyPond(aksakWithBars(), 120, 8));
    spill(f / "b.ly", usulLilyPond(builtIn(kMuhammesV), 84, 4));
    spill(f / "c.ly", usulLilyPond(odd, 84, 16));
    const std::string cmd = "cd '" + f.path().string() + "' && lilypond a.ly b.ly c.ly >log 2>&1";
    const int rc = std::system(cmd.c_str());
    const std::string log = slurp(f / "log");
    EXPECT_EQ(rc, 0) << log;
    EXPECT_EQ(log.find("error"), std::string::npos) << log;
    EXPECT_EQ(log.find("warning"), std::string::npos) << log;
    for (const char* pdf : {"a.pdf", "b.pdf", "c.pdf"})
        EXPECT_TRUE(fs::exists(f / pdf)) << pdf;
}

// ---- sound ------------------------------------------------------------------------

TEST(ExchangeSound, FlacHoldsTheWavSamplesOggAndMp3TheirLength) {
    Folder f;
    ASSERT_FALSE(prepareSampleBank(f / "zrkv", 0.6f, 0.4f).fatal);
    const UsulExportSettings settings{120, 8, "KUDUM", 2, {}};
    for (const char* name : {"u.wav", "u.flac", "u.ogg", "u.mp3"}) {
        SampleReader reader;
        const ExportResult r = exportUsul(builtIn(kAksak), *exportFormatOf(name), settings,
                                          f / "zrkv", reader, f / name);
        EXPECT_TRUE(r.ok()) << name << ' ' << r.error;
    }
    std::vector<std::uint8_t> wav;
    ASSERT_TRUE(readFileBytes(f / "u.wav", wav));
    const std::size_t samples = (wav.size() - kWavHeaderBytes) / 2;
    EXPECT_EQ(samples, 2u * 198450u); // two cycles of 4.5 s
    SF_INFO info;
    const auto flac = decoded(f / "u.flac", info);
    EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_FLAC);
    ASSERT_EQ(flac.size(), samples);
    EXPECT_EQ(0, std::memcmp(flac.data(), wav.data() + kWavHeaderBytes, 2 * samples));
    EXPECT_EQ(decoded(f / "u.ogg", info).size(), samples);
    EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_OGG);
    const auto mp3 = decoded(f / "u.mp3", info);
    EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_MPEG);
    EXPECT_EQ(info.samplerate, 44100);
    EXPECT_EQ(mp3.size(), samples) << "the encoder's gapless tag trims its padding";
}

TEST(ExchangeSound, PlanSoundIsTheRenderedFileAndTheSoundFolderStaysUntouched) {
    Folder f;
    ASSERT_FALSE(prepareSampleBank(f / "zrkv", 0.6f, 0.4f).fatal);
    const std::u32string plan = normalisedPlanLine({U"Bir", U"38", U"2", U"8", U"120>90"}) +
                                U"\r\n" + normalisedPlanLine({U"Yok", U"190", U"1", U"8", U"90"});
    auto listing = [&] {
        std::vector<std::pair<std::string, std::uintmax_t>> l;
        for (const auto& e : fs::directory_iterator(f / "zrkv"))
            l.emplace_back(e.path().filename().string(), e.file_size());
        std::sort(l.begin(), l.end());
        return l;
    };
    const auto folderBefore = listing();
    SampleReader reader;
    const ExportResult r = exportPlan(U"P", plan, ExportFormat::Flac, readBuiltIn, "BENDR", {},
                                      f / "zrkv", reader, f / "p.flac");
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.messages, std::vector<Message>{Message::noBeats}); // the empty slot of section 2
    EXPECT_EQ(listing(), folderBefore);

    UsulRecord current;
    const PlanRenderResult sound = renderPlan(plan, readBuiltIn, current, f / "zrkv", reader);
    std::vector<std::uint8_t> eser;
    ASSERT_TRUE(readFileBytes(f / "zrkv" / kPlanSoundFileName, eser));
    SF_INFO info;
    const auto flac = decoded(f / "p.flac", info);
    ASSERT_EQ(std::int64_t(flac.size()), sound.renderedSamples);
    EXPECT_EQ(0, std::memcmp(flac.data(), eser.data() + kWavHeaderBytes, 2 * flac.size()));

    EXPECT_EQ(exportPlan(U"P", normalisedPlanLine({U"Yok", U"190", U"1", U"8", U"90"}),
                         ExportFormat::Midi, readBuiltIn, "BENDR", {}, f / "zrkv", reader,
                         f / "p.mid")
                  .status,
              ExportStatus::NoStrokes);
    EXPECT_FALSE(fs::exists(f / "p.mid"));
}

TEST(ExchangeFormats, ExtensionsInAnyCaseAndThePlanFileReader) {
    EXPECT_EQ(exportFormatOf("a/Aksak.MusicXML"), ExportFormat::MusicXml);
    EXPECT_EQ(exportFormatOf("x.JPG"), ExportFormat::Jpeg);
    EXPECT_EQ(exportFormatOf("x.midi"), std::nullopt);
    EXPECT_EQ(extensionList(kPlanExportFormats), ".wav .flac .ogg .mp3 .mid");
    Folder f;
    spill(f / "p.txt", "Bir  38  1  8  90\r\n\xDE"
                       "arki 32 1 8 90\n");
    EXPECT_EQ(readStoredPlanFile(f / "p.txt"), U"Bir  38  1  8  90\r\nŞarki 32 1 8 90");
}
