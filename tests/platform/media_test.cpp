// The media layer's command strings and its clock. (The window timers and the plan end timer
// are driven by the playback and plan tests.)
#include "platform/media.h"
#include "tests/support/window_fixture.h"

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

// 16-bit mono 44.1 kHz silence of `lengthMs`.
Bytes silentWav(int lengthMs, const Bytes& between = {}) {
    return wavFile(std::vector<int>(std::size_t(lengthMs) * 441 / 10),
                   {.between = between, .riffSize = true});
}

void writeAt(const QString& path, const Bytes& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path.toStdString()).parent_path());
    writeFile(path.toStdString(), bytes);
}

const QString kivo = QStringLiteral("kivo");

// A media device on a clock that moves only when the test says so.
class MediaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        media.forceClock([this] { return nowMs; });
        writeAt(file, silentWav(3000));
    }
    QString say(const QString& command) { return media.send(command).text; }
    QString openCommand(const QString& path) const {
        return "open " + path + " type WaveAudio alias kivo";
    }

    QTemporaryDir folder;
    std::int64_t nowMs = 1000;
    MediaDevice media;
    QString file = folder.filePath(QStringLiteral("Shablon.---"));
};

} // namespace

TEST_F(MediaTest, EveryOperationSendsItsExactCommandStrings) {
    media.MciOpenPlay(file, kivo, 1500);
    EXPECT_EQ(media.MciPosition(kivo), 1500);
    media.MciPause(kivo);
    media.MciResume(kivo);
    media.MciStopClose(kivo);
    EXPECT_EQ(media.sentCommands(),
              QStringList({openCommand(file), "play kivo from 1500", "status kivo position",
                           "pause kivo", "resume kivo", "stop kivo", "close kivo"}));
}

TEST_F(MediaTest, OpensAWavFileUnderAnyNameAndNothingElse) {
    const QString odd = folder.filePath(QString::fromUtf8("x y/Şarkı ğ.---"));
    writeAt(odd, silentWav(2500, chunk("LIST", 5)));
    media.MciOpenPlay(odd, kivo, 0);
    EXPECT_EQ(media.sentCommands(), QStringList({openCommand(odd), "play kivo from 0"}));
    EXPECT_EQ(say("status kivo length"), QStringLiteral("2500"));
    media.MciStopClose(kivo);
    media.clearSentCommands();
    writeAt(odd, Bytes{'n', 'o', ' ', 'W', 'A', 'V'});
    media.MciOpenPlay(odd, kivo, 0); // opened, not played
    EXPECT_EQ(media.sentCommands(), QStringList{openCommand(odd)});
    EXPECT_EQ(media.MciPosition(kivo), 0); // an error reply reads as 0
    media.clearSentCommands();
    media.MciOpenPlay(folder.filePath(QStringLiteral("yok.---")), kivo, 0);
    EXPECT_TRUE(media.sentCommands().isEmpty()) << "a missing file sends nothing";
}

TEST_F(MediaTest, CommandsThatCannotWorkFailWithoutEffect) {
    EXPECT_FALSE(media.send(QStringLiteral("play kivo from 0")).ok) << "nothing open";
    ASSERT_TRUE(media.send(openCommand(file)).ok);
    for (const char* refused : {"open x type WaveAudio alias kivo", "play kivo from 3001",
                                "play kivo from x", "rewind kivo", "open x type Sequencer alias o"})
        EXPECT_FALSE(media.send(QString::fromUtf8(refused)).ok) << refused;
    EXPECT_EQ(say("status kivo mode"), QStringLiteral("stopped"));
    EXPECT_TRUE(media.send(QStringLiteral("PLAY Kivo FROM 10")).ok) << "keywords in any case";
    EXPECT_EQ(say("status kivo mode"), QStringLiteral("playing"));
    media.MciStopClose(QStringLiteral("other")); // harmless, as at shutdown
    EXPECT_TRUE(media.isOpen(kivo));
}

TEST_F(MediaTest, ThePositionFollowsTheClockPausesStopsAndEnds) {
    media.MciOpenPlay(file, kivo, 0);
    EXPECT_FALSE(media.soundsOnDevice(kivo));
    nowMs += 250;
    EXPECT_EQ(media.MciPosition(kivo), 250);
    media.MciPause(kivo);
    nowMs += 1000;
    media.MciPause(kivo); // a second pause changes nothing
    EXPECT_EQ(media.MciPosition(kivo), 250);
    EXPECT_EQ(say("status kivo mode"), QStringLiteral("paused"));
    media.MciResume(kivo);
    nowMs += 100;
    EXPECT_EQ(media.MciPosition(kivo), 350);
    nowMs += 10'000;
    EXPECT_EQ(media.MciPosition(kivo), 3000) << "the position ends with the file";
    EXPECT_EQ(say("status kivo mode"), QStringLiteral("stopped"));
    ASSERT_TRUE(media.send(QStringLiteral("play kivo from 100")).ok);
    nowMs += 5;
    EXPECT_EQ(media.MciPosition(kivo), 105);
    ASSERT_TRUE(media.send(QStringLiteral("stop kivo")).ok);
    nowMs += 700;
    EXPECT_EQ(media.MciPosition(kivo), 105);
    ASSERT_TRUE(media.send(QStringLiteral("close kivo")).ok);
    EXPECT_FALSE(media.isOpen(kivo));
}
