// Export to the files musicians exchange, read back: MIDI by a small reader below, MusicXML
// and LilyPond against golden files and by musescore3 and lilypond (where installed), the
// sound files by libsndfile.
#include "common/text_codec.h"
#include "exchange/export.h"
#include "exchange/lilypond.h"
#include "exchange/midi.h"
#include "exchange/musicxml.h"
#include "exchange/score.h"
#include "plans/plan_format.h"
#include "sound/sample_bank.h"
#include "tests/support/golden.h"
#include "tests/support/support.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <tuple>

using namespace zerkavi;
using namespace zerkavi::testing;
namespace fs = std::filesystem;

namespace {

constexpr int kAksak = 38, kMuhammes = 164, kMuhammesV = 165;

// Aksak with its groups marked by bar lines after circles 5, 10 and 15: 2 + 2 + 2 + 3.
UsulRecord aksakWithBars() {
    UsulRecord u = builtIn(kAksak);
    for (int c : {5, 10, 15})
        u.circle(c).barLine = 1;
    return u;
}

struct MidiEvent {
    std::uint32_t tick = 0;
    std::uint8_t status = 0, type = 0; // type: of a meta event (status 0xFF)
    std::vector<std::uint8_t> data;
    int tempo() const { return data[0] << 16 | data[1] << 8 | data[2]; }
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
    // Seconds from the start at `tick`, through the tempo map.
    double seconds(std::uint32_t tick) const {
        double s = 0, us = 500000;
        std::uint32_t at = 0;
        for (const MidiEvent& e : where(0xFF, 0x51)) {
            if (e.tick >= tick) break;
            s += (e.tick - at) * us / division / 1e6;
            at = e.tick;
            us = e.tempo();
        }
        return s + (tick - at) * us / division / 1e6;
    }
};

// A Standard MIDI File, as far as our exports use it.
MidiFile readMidi(const std::vector<std::uint8_t>& b) {
    MidiFile m;
    std::size_t p = 8;
    auto be = [&](int n) {
        std::uint32_t v = 0;
        while (n--)
            v = v << 8 | b.at(p++);
        return v;
    };
    auto vlq = [&] {
        std::uint32_t v = 0;
        for (std::uint8_t c = 0x80; c & 0x80;)
            v = v << 7 | ((c = b.at(p++)) & 0x7F);
        return v;
    };
    if (b.size() < 14 || std::string(b.begin(), b.begin() + 4) != "MThd") return m;
    m.format = int(be(2));
    const int tracks = int(be(2));
    m.division = int(be(2));
    for (int t = 0; t < tracks; ++t) {
        p += 4; // "MTrk"
        const std::size_t end = be(4) + p;
        std::uint32_t tick = 0;
        std::uint8_t running = 0;
        while (p < end) {
            MidiEvent e;
            e.tick = tick += vlq();
            if (b.at(p) & 0x80) running = b.at(p++);
            e.status = running;
            if (e.status == 0xFF) e.type = b.at(p++);
            const std::size_t n = e.status == 0xFF ? vlq() : (e.status & 0xE0) == 0xC0 ? 1 : 2;
            e.data.assign(b.begin() + std::ptrdiff_t(p), b.begin() + std::ptrdiff_t(p + n));
            p += n;
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

// Every event of a file, one a line: tick, status, meta type and data bytes in hex.
static std::string dump(const MidiFile& m) {
    std::ostringstream out;
    out << "format " << m.format << " division " << m.division << '\n';
    for (const MidiEvent& e : m.events) {
        out << std::dec << e.tick << std::hex << ' ' << int(e.status) << ' ' << int(e.type);
        for (int b : e.data)
            out << ' ' << b;
        out << '\n';
    }
    return out.str();
}

// Two cycles of Aksak at 120 eighths: its strokes with their keys and velocities on the
// percussion channel, metre, tempo and a marker a cycle.
TEST(ExchangeGolden, AksakAsMidi) {
    EXPECT_TRUE(
        matchesGolden("aksak-midi.txt", dump(readMidi(usulMidi(builtIn(kAksak), 120, 8, 2)))));
    const MidiFile keys = readMidi(usulMidi(builtIn(kAksak), 120, 8, 1, MidiKeys{36, 38}));
    EXPECT_EQ(std::get<1>(notesOf(keys)[0]), 36);
    EXPECT_EQ(std::get<1>(notesOf(keys)[2]), 38);
}

// A plan's tempo map: 84 quarters held over section 1, then one tempo a stroke slowing to 50,
// then Aksak three times at 84, 73 and 62 eighths; every section starts where the sound's
// section does, within a millisecond.
TEST(ExchangeGolden, PlanTempoMapFollowsTheRenderedSound) {
    TemporaryFolder bank;
    ASSERT_FALSE(prepareSampleBank(bank.path(), 0.6f, 0.4f).fatal);
    const std::u32string plan = planOf({{U"Hane", U"165", U"2", U"4", U"84"},
                                        {U"Son", U"165", U"49-", U"4", U"84>50"},
                                        {U"Yavas", U"38", U"3", U"8", U"84>50"}});
    UsulRecord current;
    SampleReader reader;
    const PlanRenderResult sound = renderPlan(plan, builtInOrNone, current, bank.path(), reader);
    ASSERT_EQ(sound.sectionEndMs.size(), 3u);
    const PlanMidi pm = planMidi(U"Örnek", plan, builtInOrNone);
    EXPECT_EQ(pm.sections, 3);
    const MidiFile m = readMidi(pm.bytes);
    EXPECT_TRUE(matchesGolden("plan-midi.txt", dump(m)));
    const auto markers = m.where(0xFF, 0x06);
    ASSERT_EQ(markers.size(), 3u);
    for (int s = 1; s < 3; ++s)
        EXPECT_NEAR(m.seconds(markers[std::size_t(s)].tick) * 1000,
                    sound.sectionEndMs[std::size_t(s - 1)], 1.0)
            << "section " << s + 1;
    EXPECT_NEAR(m.seconds(m.where(0x80).back().tick) * 1000, sound.sectionEndMs[2], 1.0);
}

// Aksak in groups, one stroke dotted: lengths, lines, lyrics, dynamics, dashed group lines.
TEST(ExchangeGolden, AksakAsMusicXmlAndLilyPond) {
    UsulRecord dotted = aksakWithBars();
    dotted.circle(6).rightDuration = 12; // dotted eighth
    dotted.circle(9).leftDuration = 4;   // so the cycle still adds up to 9/8
    EXPECT_TRUE(matchesGolden("aksak.musicxml", usulMusicXml(dotted, 120, 8)));
    EXPECT_TRUE(matchesGolden("aksak.ly", usulLilyPond(aksakWithBars(), 120, 8)));
    // A length the notation cannot draw is tied; equal groups and odd mertebes keep one
    // plain time signature.
    UsulRecord odd = builtIn(kAksak);
    odd.circle(1).rightDuration = 17;
    EXPECT_NE(usulMusicXml(odd, 120, 8).find("<tie type=\"stop\"/>"), std::string::npos);
    EXPECT_NE(usulMusicXml(builtIn(kAksak), 120, 8).find("<beats>9</beats>"), std::string::npos);
    const std::string muhammes = usulLilyPond(builtIn(kMuhammes), 84, 4);
    EXPECT_NE(muhammes.find("\\time 4,4,4,4,4,4,4,4 32/4"), std::string::npos);
    EXPECT_EQ(muhammes.find("compound-meter"), std::string::npos);
    odd.mertebe = 3; // typed by a user; written as the cycle's length
    odd.circle(1).rightDuration = 16;
    EXPECT_NE(usulLilyPond(odd, 120, 8).find("\\time 9/8"), std::string::npos);
}

TEST(ExchangeMusicXml, MuseScoreReadsEveryStroke) {
    if (!have("musescore3")) GTEST_SKIP() << "musescore3 is not installed: MusicXML not checked";
    TemporaryFolder f;
    for (const UsulRecord& u : {aksakWithBars(), builtIn(kMuhammes)}) {
        const fs::path in = f.path() / "in.musicxml", out = f.path() / "out.mid";
        std::ofstream(in) << usulMusicXml(u, 100, 4);
        const std::string cmd = "QT_QPA_PLATFORM=offscreen musescore3 -o '" + out.string() + "' '" +
                                in.string() + "' >/dev/null 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        auto onsets = [](const MidiFile& m) {
            std::vector<std::pair<std::uint32_t, int>> n;
            for (auto [t, k, v] : notesOf(m))
                n.emplace_back(t * 480 / std::uint32_t(m.division), k);
            return n;
        };
        EXPECT_EQ(onsets(readMidi(readBytes<std::uint8_t>(out))),
                  onsets(readMidi(usulMidi(u, 100, 4, 1))))
            << toUtf8(trimmedField(u.name));
    }
}

TEST(ExchangeLilyPond, LilyPondCompilesItWithoutErrorsOrWarnings) {
    if (!have("lilypond")) GTEST_SKIP() << "lilypond is not installed: .ly files not compiled";
    TemporaryFolder f;
    UsulRecord odd = builtIn(kMuhammesV);
    odd.circle(1).rightDuration = 5; // a tie; the total no longer fits the metre
    std::ofstream(f.path() / "a.ly") << usulLilyPond(aksakWithBars(), 120, 8);
    std::ofstream(f.path() / "b.ly") << usulLilyPond(builtIn(kMuhammesV), 84, 4);
    std::ofstream(f.path() / "c.ly") << usulLilyPond(odd, 84, 16);
    const std::string cmd = "cd '" + f.path().string() + "' && lilypond a.ly b.ly c.ly >log 2>&1";
    const int rc = std::system(cmd.c_str());
    const std::string log = readText(f.path() / "log");
    EXPECT_EQ(rc, 0) << log;
    EXPECT_EQ(log.find("error"), std::string::npos) << log;
    EXPECT_EQ(log.find("warning"), std::string::npos) << log;
    for (const char* pdf : {"a.pdf", "b.pdf", "c.pdf"})
        EXPECT_TRUE(fs::exists(f.path() / pdf)) << pdf;
}

TEST(ExchangeSound, FlacHoldsTheWavSamplesOggAndMp3TheirLength) {
    TemporaryFolder f;
    const fs::path bank = f.path() / "zrkv";
    ASSERT_FALSE(prepareSampleBank(bank, 0.6f, 0.4f).fatal);
    const UsulExportSettings settings{120, 8, "KUDUM", 2, {}};
    for (const char* name : {"u.wav", "u.flac", "u.ogg", "u.mp3"}) {
        SampleReader reader;
        const ExportResult r = exportUsul(builtIn(kAksak), *exportFormatOf(name), settings, bank,
                                          reader, f.path() / name);
        EXPECT_TRUE(r.ok()) << name << ' ' << r.error;
    }
    const Bytes wav = readBytes<std::uint8_t>(f.path() / "u.wav");
    const std::size_t samples = (wav.size() - kWavHeaderBytes) / 2;
    EXPECT_EQ(samples, 2u * 198450u); // two cycles of 4.5 s
    SF_INFO info;
    const auto flac = decoded(f.path() / "u.flac", info);
    EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_FLAC);
    ASSERT_EQ(flac.size(), samples);
    EXPECT_EQ(0, std::memcmp(flac.data(), wav.data() + kWavHeaderBytes, 2 * samples));
    EXPECT_EQ(decoded(f.path() / "u.ogg", info).size(), samples);
    EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_OGG);
    EXPECT_EQ(decoded(f.path() / "u.mp3", info).size(), samples) << "gapless tag trims padding";
    EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_MPEG);
}

TEST(ExchangeSound, PlanSoundIsTheRenderedFileAndTheSoundFolderStaysUntouched) {
    TemporaryFolder f;
    const fs::path bank = f.path() / "zrkv";
    ASSERT_FALSE(prepareSampleBank(bank, 0.6f, 0.4f).fatal);
    const std::u32string empty = planOf({{U"Yok", U"190", U"1", U"8", U"90"}});
    const std::u32string plan = planOf({{U"Bir", U"38", U"2", U"8", U"120>90"}}) + U"\r\n" + empty;
    auto listing = [&] {
        std::vector<std::pair<std::string, std::uintmax_t>> l;
        for (const auto& e : fs::directory_iterator(bank))
            l.emplace_back(e.path().filename().string(), e.file_size());
        std::sort(l.begin(), l.end());
        return l;
    };
    const auto folderBefore = listing();
    SampleReader reader;
    const ExportResult r = exportPlan(U"P", plan, ExportFormat::Flac, builtInOrNone, "BENDR", {},
                                      bank, reader, f.path() / "p.flac");
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.messages, std::vector<Message>{Message::noBeats}); // the empty slot of section 2
    EXPECT_EQ(listing(), folderBefore);
    UsulRecord current;
    const PlanRenderResult sound = renderPlan(plan, builtInOrNone, current, bank, reader);
    const Bytes eser = readBytes<std::uint8_t>(bank / kPlanSoundFileName);
    SF_INFO info;
    const auto flac = decoded(f.path() / "p.flac", info);
    ASSERT_EQ(std::int64_t(flac.size()), sound.renderedSamples);
    EXPECT_EQ(0, std::memcmp(flac.data(), eser.data() + kWavHeaderBytes, 2 * flac.size()));
    EXPECT_EQ(exportPlan(U"P", empty, ExportFormat::Midi, builtInOrNone, "BENDR", {}, bank, reader,
                         f.path() / "p.mid")
                  .status,
              ExportStatus::NoStrokes);
    EXPECT_FALSE(fs::exists(f.path() / "p.mid"));
}

TEST(ExchangeFormats, ExtensionsInAnyCaseAndThePlanFileReader) {
    EXPECT_EQ(exportFormatOf("a/Aksak.MusicXML"), ExportFormat::MusicXml);
    EXPECT_EQ(exportFormatOf("x.JPG"), ExportFormat::Jpeg);
    EXPECT_EQ(exportFormatOf("x.midi"), std::nullopt);
    EXPECT_EQ(extensionList(kPlanExportFormats), ".wav .flac .ogg .mp3 .mid");
    TemporaryFolder f;
    const Bytes text = {'B', 'i', 'r', ' ', '3', '8', '\r', '\n', 0xDE, 'a', ' ', '1', '\n'};
    EXPECT_EQ(readStoredPlanFile(f.write("p.txt", text)), U"Bir 38\r\nŞa 1");
}
