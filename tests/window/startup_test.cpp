// Start-up and shut-down: the library, the sound folder and its sample bank, the screen,
// a second instance, the user's last choices and the guides.
#include "tests/support/window_fixture.h"

#include "usul/library_file.h"
#include "window/guide_offer.h"

#include <fstream>

using namespace zerkavi;
using namespace zerkavi::testing;
namespace fs = std::filesystem;

TEST_F(WindowTest, FirstStartInAnEmptyFolder) {
    ASSERT_TRUE(start());
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(readBytes<std::uint8_t>(folder / "usuller.usl") == libraryImage());
    EXPECT_EQ(window->workingFolder(), folder / "zrkv");
    EXPECT_EQ(window->geometry(), QRect(128, 128, 1024, 768)); // centred on 1280 x 1024
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(200, 185, 130));
    EXPECT_FALSE(window->But_Dur->isEnabled());
    // The sample bank is made at start and remade when a loudness menu changes a level.
    const auto medium60 = readBytes(folder / "zrkv" / "BENDRD21.---");
    window->Mn_Oseviye[5]->trigger();
    EXPECT_FALSE(window->Mn_Oseviye[6]->isChecked());
    EXPECT_NE(readBytes(folder / "zrkv" / "BENDRD21.---"), medium60);
}

TEST_F(WindowTest, TheNextStartHasTheLastChoices) {
    ASSERT_TRUE(start());
    EXPECT_EQ(window->Label5->text(), QStringLiteral("=150"));
    window->Mn_Lisanlar->trigger();
    window->Option1[3]->click();
    window->VScroll1->setValue(270 - 96);
    window->PicBirimNota_Click();
    window->Option3->click();
    window->Mn_Oseviye[8]->trigger();
    window->Mn_Zseviye[3]->trigger();
    window.reset();
    ASSERT_TRUE(start());
    EXPECT_EQ(window->language, Language::English);
    EXPECT_TRUE(window->Option1[3]->isChecked());
    EXPECT_EQ(window->Label5->text(), QStringLiteral("=96"));
    EXPECT_EQ(window->unitNote, 16);
    EXPECT_TRUE(window->Option3->isChecked());
    EXPECT_FLOAT_EQ(window->mediumFactor, 0.8f);
    EXPECT_FLOAT_EQ(window->weakFactor, 0.3f);
}

TEST_F(WindowTest, ASecondInstanceEndsWithItsMessageOnly) {
    ASSERT_TRUE(start());
    RecordingMessages second;
    ArayüzKalıp other(folder, second, QSize(1280, 1024));
    EXPECT_FALSE(other.startUp());
    EXPECT_EQ(second.shown, QStringList{QString::fromUtf8("Zerkavi editörü zaten çalışıyor.")});
}

namespace {

struct ScreenCase {
    QSize screen;
    const char* refusal; // empty: accepted
};
class ScreenTest : public WindowTest, public ::testing::WithParamInterface<ScreenCase> {};

} // namespace

TEST_P(ScreenTest, TooSmallAScreenIsRefusedBeforeAnythingIsWritten) {
    const ScreenCase& c = GetParam();
    EXPECT_EQ(start(c.screen), *c.refusal == '\0');
    if (*c.refusal == '\0') {
        EXPECT_EQ(window->pos(), QPoint(0, 0));
        EXPECT_TRUE(messages.shown.isEmpty());
    } else {
        EXPECT_EQ(messages.shown, QStringList{QString::fromUtf8(c.refusal)});
        EXPECT_FALSE(fs::exists(folder / "usuller.usl"));
        EXPECT_FALSE(fs::exists(folder / "zrkv"));
    }
}
INSTANTIATE_TEST_SUITE_P(
    Sizes, ScreenTest,
    ::testing::Values(ScreenCase{{1024, 768}, ""},
                      ScreenCase{{1023, 768}, "Ekran genişliğinin en az 1024 olması gerekir."},
                      ScreenCase{{1024, 767}, "Ekran yüksekliğinin en az 768 olması gerekir."}));

TEST_F(WindowTest, ShutdownStopsTheSoundDeletesRenderedFilesAndKeepsTheRest) {
    ASSERT_TRUE(start());
    const auto sound = folder / "zrkv";
    for (const char* name : {"Shablon.---", "Eser.---", "plan.txt"})
        std::ofstream(sound / name) << "x";
    window->media.clearSentCommands();
    window->close(); // never asks
    EXPECT_TRUE(messages.asked.isEmpty());
    EXPECT_EQ(window->media.sentCommands(), QStringList({"stop kivo", "close kivo"}));
    EXPECT_FALSE(fs::exists(sound / "Shablon.---"));
    EXPECT_FALSE(fs::exists(sound / "Eser.---"));
    EXPECT_FALSE(fs::exists(sound / "BENDRD31.---"));
    EXPECT_TRUE(fs::exists(sound / "plan.txt"));
    EXPECT_TRUE(readBytes<std::uint8_t>(folder / "usuller.usl") == libraryImage());
    EXPECT_FALSE(fs::exists(folder / "zerkavi.lock"));
}

TEST_F(WindowTest, ASoundFolderThatCannotBeWrittenEndsTheProgramWithMessage13) {
    std::ofstream(folder / "zrkv") << "in the way";
    EXPECT_FALSE(start());
    EXPECT_EQ(messages.shown, QStringList{msg(Message::soundFileError)});
    EXPECT_TRUE(readBytes<std::uint8_t>(folder / "usuller.usl") == libraryImage());
}

TEST_F(WindowTest, StartUpWritesTheMissingGuidesAndHelpOffersTheOneOfTheLanguage) {
    const fs::path guides = fs::path(ZERKAVI_SOURCE_DIR) / "assets/guides";
    std::ofstream(folder / "BeniOku", std::ios::binary); // the user's (empty) copy
    ASSERT_TRUE(start());
    EXPECT_EQ(readText(folder / "ReadMe.doc"), readText(guides / "ReadMe.doc"));
    EXPECT_EQ(readText(folder / "BeniOku"), "");

    // The desktop's viewer is replaced by a recorder.
    QStringList opened;
    bool viewerTakesIt = false; // a failed viewer names the file
    setUrlOpener([&](const QUrl& url) {
        opened << url.toLocalFile();
        return viewerTakesIt;
    });
    const QString beniOku = QString::fromStdString((folder / "BeniOku").string());
    messages.answer = false;
    window->Mn_yardm->trigger(); // declined: nothing opens
    messages.answer = true;
    window->Mn_yardm->trigger();
    EXPECT_EQ(opened, QStringList{beniOku});
    EXPECT_TRUE(messages.shown.last().endsWith(beniOku));
    // In English, after the guide was deleted: it is written again and opened.
    fs::remove(folder / "ReadMe.doc");
    window->Mn_Lisanlar->trigger();
    viewerTakesIt = true;
    window->Mn_yardm->trigger();
    setUrlOpener({});
    EXPECT_EQ(opened.last().toStdString(), (folder / "ReadMe.doc").string());
    EXPECT_EQ(readText(folder / "ReadMe.doc"), readText(guides / "ReadMe.doc"));
}
