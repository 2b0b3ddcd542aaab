// zerkavi-cli list, render, export and export-plan run as a user runs them.
#include "plans/library_texts.h"
#include "tests/support/cli_run.h"
#include "tests/support/golden.h"
#include "tests/support/support.h"

#include "usul/library_file.h"

#include <QImage>

#include <algorithm>

using namespace zerkavi;
using namespace zerkavi::testing;
namespace fs = std::filesystem;

namespace {

// A program folder with one saved plan, as the plan screen writes it (CR LF lines), and
// plans the checks refuse.
class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ofstream(folder / "Pesrev.txt", std::ios::binary)
            << "Hane              165   2     4  84     \r\n"
               "Son               38    3     8  84>50  \r\n";
        std::ofstream(folder / "bos.txt", std::ios::binary) << "Bos 190 1 8 90\r\n"; // no beats
        for (const auto& [name, plan] : {std::pair{"blank.txt", "\n  \n"},
                                         {"dash.txt", "A 32 1 4 84\nB 32 1-2 4 84"},
                                         {"ramp.txt", "A 32 1 4 84\n\nB 32 1 4 84>\n"},
                                         {"a:b.txt", "A 1 1 4 84"}})
            std::ofstream(folder / name) << plan;
    }
    void TearDown() override { fs::remove_all(folder); }
    QString out(const char* name) const { return dir + "/" + name; }
    // Runs with --dir the folder; "{dir}" in an argument stands for the folder.
    CliRun run(QStringList args,
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) const {
        return runCli(args.replaceInStrings(QStringLiteral("{dir}"), dir) << "--dir" << dir, env);
    }
    fs::path folder = makeTemporaryFolder();
    QString dir = QString::fromStdString(folder.string());
};

} // namespace

// Refusals in both languages, against tests/golden/cli-refusals.txt (a plan's lines are
// named: the core tests hold every check): each command line, its exit code and all it says (a
// usage error, 2, goes on with the usage, not copied there); nothing on the standard output and
// nothing written.
TEST_F(Cli, RefusalsGolden) {
    const QStringList refused[] = {
        {"play"},
        {"--lang", "en", "play"},
        {"render", "201", "--out", "{dir}/x.wav"},
        {"export", "190", "--out", "{dir}/x.ly", "--lang", "en"},
        {"export-plan", "{dir}/bos.txt", "--out", "{dir}/x.mid"},
        {"render-plan", "{dir}/bos.txt", "--out", "{dir}/x.wav"},
        {"render", "32"},
        {"render", "x", "--out", "{dir}/x.wav", "--lang", "en"},
        {"list", "--medium", "65", "--lang", "en"},
        {"list", "--cycles", "2"},
        {"export", "38", "--out", "{dir}/x.doc", "--lang", "en"},
        {"export-plan", "{dir}/Pesrev.txt", "--out", "{dir}/x.png"},
        {"render", "256", "--out", "{dir}/x.wav", "--lang", "en"},
        {"export", "38", "--bpm", "251", "--out", "{dir}/x.mid", "--lang", "en"},
        {"export-plan", "{dir}/no.txt", "--out", "{dir}/x.mid"},
        {"export", "38", "--out", "{dir}/no/x.mid", "--lang", "en"},
        {"export", "38", "--out", "{dir}/no/x.png"},
        {"check-plan", "{dir}/no.txt"},
        {"check-plan", "{dir}/blank.txt"},
        {"render-plan", "{dir}/blank.txt", "--out", "{dir}/x.wav", "--lang", "en"},
        {"check-plan", "{dir}/dash.txt", "--lang", "en"},
        {"render-plan", "{dir}/dash.txt", "--out", "{dir}/x.wav"},
        {"check-plan", "{dir}/ramp.txt"},
        {"render-plan", "{dir}/a:b.txt", "--out", "{dir}/x.wav", "--lang", "en"},
        {"render", "32", "--out", "{dir}/x.wav", "--cycles", "0"},
        {"render", "32", "--out", "{dir}/x.wav", "--count-in", "9"},
        {"render", "32", "--out", "{dir}/x.wav", "--mute", "both", "--lang", "en"},
        {"render", "32", "--out", "{dir}/x.wav", "--speed-trainer", "80:4:2"},
        {"render", "32", "--out", "{dir}/x.wav", "--speed-trainer", "80:-4:2:120"},
        {"render", "32", "--out", "{dir}/x.wav", "--looped", "--cycles", "2"},
        {"render", "32", "--out", "{dir}/x.wav", "--looped", "--speed-trainer", "80:4:1:90"},
        {"render", "32", "--out", "{dir}/x.wav", "--schedule", "--click", "--lang", "en"}};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir); // no note from Qt where it is unset
    QString said;
    for (const QStringList& args : refused) {
        const CliRun r = run(args, env);
        const QString err = QString::fromUtf8(r.err).replace(dir, QStringLiteral("{dir}"));
        const qsizetype usage = err.indexOf(QStringLiteral("\n\nusage:"));
        said += args.join(' ') + "\n  " + QString::number(r.exitCode) + ' ' +
                (usage < 0 ? err : err.left(usage) + " [and the usage]\n");
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
    }
    for (const auto& f : fs::directory_iterator(folder))
        EXPECT_NE(f.path().stem(), "x") << "nothing written";
    EXPECT_TRUE(matchesGolden("cli-refusals.txt", said.toStdString()));
}

TEST_F(Cli, AFailedWriteLeavesTheFileThatWasThere) {
    const fs::path old = folder / "x.wav";
    std::ofstream(old) << "old";
    const QStringList args{"render", "32", "--looped", "--out", out("x.wav"), "--dir", dir};
    // A full disk, as a file-size limit below the sound's two minutes.
    const auto env = QProcessEnvironment::systemEnvironment();
    CliRun r = runCli(args + QStringList{"--lang", "en"}, env, 1000);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.toStdString(),
              "cannot write " + old.string() + "; a file that was there is left as it was\n");
    r = runCli(args, env, 1000);
    EXPECT_EQ(r.err.toStdString(),
              "yazılamıyor: " + old.string() + "; orada olan dosya olduğu gibi kaldı\n");
    EXPECT_EQ(readBytes(old), std::vector<char>({'o', 'l', 'd'}));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 8) << "no scratch file left";
    ASSERT_EQ(runCli(args).exitCode, 0); // all written: the file is replaced
    // A device is written through, never removed or replaced.
    r = run({"render", "32", "--out", "/dev/full"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST_F(Cli, ListAndRender) {
    CliRun r = run({"list"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 255);
    EXPECT_EQ(lines[31], QString::fromUtf8(" 32    8/8   Düyek") + QString(35, ' '));
    EXPECT_TRUE(readBytes<std::uint8_t>(folder / "usuller.usl") == libraryImage());
    r = run({"render", "32", "--bpm", "120", "--unit", "4", "--out", out("d.wav"), "--schedule",
             "--medium", "20", "--weak", "90"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(),
              "1 40 1 250\n2 100 1 750\n3 220 1 1000\n4 280 1 1500\n5 400 1 2000\n");
    EXPECT_EQ(fs::file_size(out("d.wav").toStdString()), 44u + 2u * 88200u);
    // Each instrument word plays its own drum; without one the bendir plays.
    const auto drum = [&](const QStringList& more) {
        EXPECT_EQ(run(QStringList{"render", "32", "--out", out("i.wav")} + more).exitCode, 0);
        return readBytes(out("i.wav").toStdString());
    };
    EXPECT_EQ(drum({}), drum({"--instrument", "bendir"}));
    EXPECT_NE(drum({"--instrument", "kudum"}), drum({}));
    EXPECT_NE(drum({"--instrument", "def"}), drum({}));
    EXPECT_NE(drum({"--instrument", "def"}), drum({"--instrument", "kudum"}));
}

// A name with a NUL inside, as a hand-made library may hold: the list shows a blank there.
// A library one slot short, with a NUL and an escape in a name: the listing keeps one line a
// slot, and the file's shape is told once.
TEST_F(Cli, ListShowsControlCharactersAsBlanksAndTellsAShortFile) {
    UsulRecord duyek = builtIn(32);
    duyek.name[1] = U'\0';
    duyek.name[2] = U'\x1B';
    Bytes image = libraryImage();
    const RecordBytes record = encodeRecord(duyek);
    std::copy(record.begin(), record.end(), image.begin() + 31 * kRecordBytes);
    image.resize(255 * kRecordBytes);
    writeFile(folder / kLibraryFileName, image);
    const CliRun r = run({"list"});
    EXPECT_EQ(QString::fromUtf8(r.out).split('\n').value(31),
              QString::fromUtf8(" 32    8/8   D  ek") + QString(35, ' '));
    const LibraryState shortFile{LibraryShape::Short, image.size(), 255};
    EXPECT_EQ(r.err.toStdString(), libraryProblemText(shortFile, Language::Turkish) + '\n');
}

TEST_F(Cli, ExportWritesEachFormatFromTheExtension) {
    ASSERT_EQ(
        run({"export", "38", "--out", out("A.mid"), "--cycles", "3", "--bpm", "120"}).exitCode, 0);
    const auto mid = readBytes(out("A.mid").toStdString());
    const QByteArray marker = QByteArray("\xFF\x06\x05") + "Aksak"; // one per cycle
    EXPECT_EQ(QByteArray(mid.data(), qsizetype(mid.size())).count(marker), 3);
    // Without --cycles the sound is one cycle, as Start plays it: 9/8 at 150 eighths.
    ASSERT_EQ(run({"export", "38", "--out", out("a.wav")}).exitCode, 0);
    EXPECT_EQ(fs::file_size(out("a.wav").toStdString()), 44u + 2u * 158760u);
    ASSERT_EQ(run({"export-plan", out("Pesrev.txt"), "--out", out("p.ogg")}).exitCode, 0);
    EXPECT_GT(fs::file_size(out("p.ogg").toStdString()), 1000u);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment(); // no display needed
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const char* name : {"a.png", "a.PDF", "a.svg", "a.jpg"})
        ASSERT_EQ(runCli({"export", "38", "--dir", dir, "--out", out(name)}, env).exitCode, 0);
    EXPECT_TRUE(matchesGolden(QStringLiteral("aksak.png"), QImage(out("a.png"))));
    EXPECT_EQ(QImage(out("a.jpg")).size(), QSize(520, 210));
    EXPECT_FALSE(fs::exists(folder / "zrkv")); // the sample bank went with its own folder
}
