// zerkavi-cli run as a user runs it.
#include "tests/support/window_fixture.h"

#include "plans/texts.h"
#include "usul/library_file.h"

#include <QProcess>

#include <fstream>
#include <map>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

struct CliRun {
    int exitCode = -1;
    QString out, err;
};

CliRun cli(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(ZERKAVI_CLI), args);
    CliRun r;
    if (!p.waitForFinished(60000)) return r;
    r.exitCode = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

class CliTest : public ::testing::Test {
  protected:
    void SetUp() override { dir = QString::fromStdString(makeTemporaryFolder().string()); }
    void TearDown() override { std::filesystem::remove_all(dir.toStdString()); }
    QString dir;
};

} // namespace

TEST_F(CliTest, ListMakesTheLibraryAndPrintsEverySlot) {
    const CliRun r = cli({"list", "--dir", dir});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 255);
    EXPECT_EQ(lines[31], QString::fromUtf8(" 32    8/8   Düyek") + QString(35, ' '));
    EXPECT_EQ(lines[182], QString::fromUtf8("183   88/4   Darb-ı fetih") + QString(28, ' '));
    for (const QString& l : lines)
        EXPECT_EQ(l.size(), 53);
    const auto bytes = readBytes(std::filesystem::path(dir.toStdString()) / "usuller.usl");
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(),
                           reinterpret_cast<const char*>(defaultLibraryImage().data())));
    // Global options may also follow the command.
    EXPECT_EQ(cli({"--dir", dir, "list"}).out, r.out);
}

TEST_F(CliTest, RenderWritesTheFileAndItsSchedule) {
    const QString out = dir + "/Düyek 120.wav";
    const CliRun r = cli(
        {"render", "32", "--dir", dir, "--bpm", "120", "--unit", "4", "--out", out, "--schedule"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("1 40 1 250\n2 100 1 750\n3 220 1 1000\n4 280 1 1500\n"
                                    "5 400 1 2000\n"));
    const auto wav = readBytes(out.toStdString());
    EXPECT_EQ(wav.size(), 44u + 2u * 88200u);
    EXPECT_EQ(std::string(wav.data(), 4), "RIFF");
    // The sample bank was made in a folder of its own and went with it.
    EXPECT_FALSE(std::filesystem::exists(dir.toStdString() + "/zrkv"));
}

TEST_F(CliTest, RefusalsAndUsageErrors) {
    const std::string en3 = languageTexts(Language::English).message[Message::noBeats];
    CliRun r = cli({"--lang", "en", "render", "201", "--dir", dir, "--out", dir + "/x.wav"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.toStdString(), en3 + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir.toStdString() + "/x.wav"));
    r = cli({"render", "201", "--dir", dir, "--out", dir + "/x.wav"});
    EXPECT_EQ(r.err.toStdString(),
              languageTexts(Language::Turkish).message[Message::noBeats] + "\n");

    EXPECT_EQ(cli({"render", "0", "--dir", dir, "--out", dir + "/x.wav"}).exitCode, 1);
    EXPECT_EQ(cli({"render", "256", "--dir", dir, "--out", dir + "/x.wav"}).exitCode, 1);
    EXPECT_EQ(cli({"render", "32", "--bpm", "19", "--dir", dir, "--out", dir + "/x.wav"}).exitCode,
              1);
    EXPECT_EQ(cli({"render", "32", "--bpm", "251", "--dir", dir, "--out", dir + "/x.wav"}).exitCode,
              1);
    r = cli({"render", "32", "--dir", dir, "--out", dir + "/no such folder/x.wav"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QString::fromUtf8("yazılamıyor")));
    r = cli({"render", "32", "--lang", "en", "--dir", dir, "--out", dir + "/no such folder/x.wav"});
    EXPECT_TRUE(r.err.contains("cannot write"));

    for (const QStringList& bad :
         {QStringList{}, QStringList{"play"}, QStringList{"render", "32"},
          QStringList{"render", "32", "--out"}, QStringList{"render", "x", "--out", "a"},
          QStringList{"list", "--unit", "5"}, QStringList{"list", "--medium", "65"},
          QStringList{"list", "--lang", "de"}, QStringList{"list", "--bogus"}}) {
        r = cli(bad);
        EXPECT_EQ(r.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("usage:")) << bad.join(' ').toStdString();
    }
    r = cli({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("render SLOT"));

    // A damaged library is read, not repaired; nothing in it changes.
    { std::ofstream(dir.toStdString() + "/usuller.usl", std::ios::binary) << "short"; }
    r = cli({"render", "32", "--dir", dir, "--out", dir + "/x.wav"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.toStdString(),
              languageTexts(Language::Turkish).message[Message::loadError] + "\n");
    EXPECT_EQ(readBytes(dir.toStdString() + "/usuller.usl").size(), 5u);
}

TEST_F(CliTest, EachInstrumentWordPlaysItsOwnDrum) {
    std::map<QString, std::vector<char>> sound;
    for (const QString drum : {"kudum", "bendir", "def"}) {
        const QString out = dir + "/" + drum + ".wav";
        ASSERT_EQ(cli({"render", "32", "--dir", dir, "--instrument", drum, "--out", out}).exitCode,
                  0);
        sound[drum] = readBytes(out.toStdString());
    }
    EXPECT_NE(sound["kudum"], sound["bendir"]);
    EXPECT_NE(sound["def"], sound["bendir"]);
    EXPECT_NE(sound["def"], sound["kudum"]);
    // Without the option the bendir plays.
    const QString plain = dir + "/plain.wav";
    ASSERT_EQ(cli({"render", "32", "--dir", dir, "--out", plain}).exitCode, 0);
    EXPECT_EQ(readBytes(plain.toStdString()), sound["bendir"]);
}
