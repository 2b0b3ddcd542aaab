// zerkavi-cli export and export-plan run as a user runs them.
#include "tests/support/golden.h"
#include "tests/support/window_fixture.h"

#include "plans/texts.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>

#include <fstream>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

struct CliRun {
    int exitCode = -1;
    std::string out, err;
};

CliRun cli(const QStringList& args,
           const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ZERKAVI_CLI), args);
    CliRun r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput().toStdString();
    r.err = p.readAllStandardError().toStdString();
    return r;
}

// A program folder with one saved plan, as the plan screen writes it (CR LF lines).
class CliExport : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = makeTemporaryFolder();
        dir = QString::fromStdString(folder.string());
        std::ofstream(folder / "Pesrev.txt", std::ios::binary)
            << "Hane              165   2     4  84     \r\n"
               "Son               38    3     8  84>50  \r\n";
        plan = QString::fromStdString((folder / "Pesrev.txt").string());
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    QString out(const char* name) const { return dir + "/" + name; }
    std::filesystem::path folder;
    QString dir, plan;
};

struct UsageCase {
    QStringList args; // {dir} stands for the folder
    const char* says;
};
class CliExportUsage : public CliExport, public ::testing::WithParamInterface<UsageCase> {};

} // namespace

TEST_P(CliExportUsage, IsRefusedWithTheUsage) {
    QStringList args = GetParam().args;
    args.replaceInStrings(QStringLiteral("{dir}"), dir);
    const CliRun r = cli(args << "--dir" << dir << "--lang"
                              << "en");
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find(GetParam().says), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("usage:"), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "only the plan";
}
INSTANTIATE_TEST_SUITE_P(
    Cases, CliExportUsage,
    ::testing::Values(
        UsageCase{{"export", "38", "--out", "{dir}/a.doc"},
                  "writes .wav .flac .ogg .mp3 .mid .musicxml .ly .png .pdf .svg .jpg"},
        UsageCase{{"export-plan", "{dir}/Pesrev.txt", "--out", "{dir}/a.png"},
                  "export-plan does not write .png"},
        UsageCase{{"export-plan", "{dir}/Pesrev.txt", "--out", "{dir}/a.ly"},
                  "export-plan does not write .ly; it writes .wav .flac .ogg .mp3 .mid"},
        UsageCase{{"export", "38", "--out", "{dir}/a.mid", "--cycles", "0"}, "--cycles takes"},
        UsageCase{{"export", "38", "--out", "{dir}/a.mid", "--unit", "2"}, "--unit takes"},
        UsageCase{{"export", "38", "--out", "{dir}/a.mid", "--dum-key", "128"}, "--dum-key"},
        UsageCase{{"export", "38", "--out", "{dir}/a.mid", "--instrument", "ney"}, "--instrument"},
        UsageCase{{"export", "38"}, "export needs --out FILE"},
        UsageCase{{"export", "38", "39", "--out", "{dir}/a.mid"}, "export takes one SLOT"},
        UsageCase{{"export", "Aksak", "--out", "{dir}/a.mid"}, "SLOT takes a whole number"},
        UsageCase{{"export-plan", "--out", "{dir}/a.mid"}, "export-plan takes one PLANFILE"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(CliExport, WritesEachFormatFromTheExtension) {
    CliRun r = cli(
        {"export", "38", "--dir", dir, "--out", out("Aksak.mid"), "--cycles", "3", "--bpm", "120"});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto mid = readBytes(out("Aksak.mid").toStdString());
    EXPECT_EQ(std::string(mid.data(), 4), "MThd");
    // One marker with the usul's name at each of the three cycles.
    const std::string bytes(mid.begin(), mid.end()), marker = "\xFF\x06\x05"
                                                              "Aksak";
    std::size_t markers = 0;
    for (auto p = bytes.find(marker); p != bytes.npos; p = bytes.find(marker, p + 1))
        ++markers;
    EXPECT_EQ(markers, 3u);

    ASSERT_EQ(cli({"export", "164", "--dir", dir, "--out", out("m.MusicXML")}).exitCode, 0);
    const auto xml = readBytes(out("m.MusicXML").toStdString());
    EXPECT_NE(std::string(xml.begin(), xml.end()).find("<work-title>Muhammes</work-title>"),
              std::string::npos);

    // Without --cycles the sound is one cycle, as Start plays it: 9/8 at 150 eighths.
    ASSERT_EQ(cli({"export", "38", "--dir", dir, "--out", out("a.wav")}).exitCode, 0);
    EXPECT_EQ(readBytes(out("a.wav").toStdString()).size(), 44u + 2u * 158760u);
    ASSERT_EQ(
        cli({"export", "38", "--dir", dir, "--out", out("a.flac"), "--instrument", "def"}).exitCode,
        0);

    r = cli({"export-plan", plan, "--dir", dir, "--out", out("p.ogg")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_GT(readBytes(out("p.ogg").toStdString()).size(), 1000u);
    EXPECT_FALSE(std::filesystem::exists(folder / "zrkv" / "Eser.---"));
    EXPECT_TRUE(cli({"--help"}).out.find("export-plan PLANFILE") != std::string::npos);
}

TEST_F(CliExport, RefusesWhatHasNothingToPlayWithTheProgramsMessage) {
    const std::string noBeats = languageTexts(Language::English).message[Message::noBeats];
    CliRun r = cli({"--lang", "en", "export", "190", "--dir", dir, "--out", out("e.ly")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, noBeats + "\n");
    EXPECT_FALSE(std::filesystem::exists(out("e.ly").toStdString()));

    std::ofstream(folder / "bos.txt", std::ios::binary) << "Bos 190 1 8 90\r\n";
    r = cli({"--lang", "en", "export-plan", out("bos.txt"), "--dir", dir, "--out", out("b.mid")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, noBeats + "\n");
    EXPECT_EQ(cli({"export", "38", "--bpm", "251", "--dir", dir, "--out", out("a.mid")}).exitCode,
              1);
    r = cli({"export-plan", out("none.txt"), "--lang", "en", "--dir", dir, "--out", out("b.mid")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("no such plan file"), std::string::npos);
    r = cli({"export", "38", "--lang", "en", "--dir", dir, "--out", out("no folder/a.mid")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("cannot write"), std::string::npos);
}

TEST_F(CliExport, DrawsPicturesWithoutADisplay) {
    // A display that is not there: the pictures are drawn offscreen all the same.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const char* name : {"a.png", "a.PDF", "a.svg", "a.jpg"}) {
        const CliRun r = cli({"export", "38", "--dir", dir, "--out", out(name)}, env);
        ASSERT_EQ(r.exitCode, 0) << name << r.err;
    }
    // The PNG is the picture the golden test checks.
    EXPECT_TRUE(matchesGolden(QStringLiteral("aksak.png"), QImage(out("a.png"))));
    EXPECT_EQ(readBytes(out("a.PDF").toStdString()).at(1), 'P');
    const auto svg = readBytes(out("a.svg").toStdString());
    EXPECT_NE(std::string(svg.begin(), svg.end()).find("<title>9 / 8        Aksak</title>"),
              std::string::npos);
    EXPECT_EQ(QImage(out("a.jpg")).size(), QSize(520, 210));
    // The sound folder is not made for a picture.
    EXPECT_FALSE(std::filesystem::exists(folder / "zrkv"));

    const CliRun empty =
        cli({"--lang", "en", "export", "190", "--dir", dir, "--out", out("e.svg")});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, languageTexts(Language::English).message[Message::noBeats] + "\n");
    EXPECT_EQ(cli({"export", "38", "--dir", dir, "--out", out("none/a.png")}).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(out("e.svg").toStdString()));
}
