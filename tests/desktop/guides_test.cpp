// The guides written at start-up, the guide offered by Help, and the data folder of an
// installed program.
#include "app/platform/message_boxes.h"
#include "app/window/arayuz_kalip.h"
#include "desktop/data_folder.h"
#include "desktop/guide_offer.h"
#include "desktop/guides.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace zerkavi {
namespace {

namespace fs = std::filesystem;

class Recorder : public MessageBoxes {
  public:
    void inform(const QString& text) override { shown << text; }
    bool confirm(const QString& text) override {
        asked << text;
        return answer;
    }
    QStringList shown, asked;
    bool answer = true;
};

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

class Desktop : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/zerkavi-desktop-XXXXXX";
        folder = ::mkdtemp(pattern);
        setUrlOpener([this](const QUrl& url) {
            opened << url;
            return viewerTakesIt;
        });
    }
    void TearDown() override {
        window.reset();
        setUrlOpener({});
        fs::remove_all(folder);
    }
    void start() {
        window = std::make_unique<ArayüzKalıp>(folder, messages, QSize(1280, 1024));
        ASSERT_TRUE(window->startUp());
    }
    fs::path folder;
    Recorder messages;
    std::unique_ptr<ArayüzKalıp> window;
    QList<QUrl> opened;
    bool viewerTakesIt = true;
};

TEST_F(Desktop, StartUpWritesOnlyTheMissingGuides) {
    writeFile(folder / "BeniOku", ""); // the user's (empty) copy
    start();
    EXPECT_EQ(readFile(folder / "ReadMe.doc"),
              readFile(fs::path(ZERKAVI_SOURCE_DIR) / "assets/guides/ReadMe.doc"));
    EXPECT_EQ(readFile(folder / "BeniOku"), "");
    EXPECT_FALSE(fs::exists(folder / "ReadMe.doc.part"));

    // Placed again after a removal, and never over an edited copy.
    fs::remove(folder / "BeniOku");
    writeFile(folder / "ReadMe.doc", "my notes");
    placeGuidesIfMissing(folder);
    EXPECT_EQ(readFile(folder / "BeniOku"),
              readFile(fs::path(ZERKAVI_SOURCE_DIR) / "assets/guides/BeniOku"));
    EXPECT_EQ(readFile(folder / "ReadMe.doc"), "my notes");
}

TEST_F(Desktop, HelpOffersTheGuideOfTheLanguageOnScreen) {
    start();
    window->Mn_yardm->trigger();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0], QString::fromStdString(window->messageText(23)));
    ASSERT_EQ(messages.asked.size(), 1);
    EXPECT_TRUE(messages.asked[0].contains(QStringLiteral("BeniOku")));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0],
              QUrl::fromLocalFile(QString::fromStdString((folder / "BeniOku").string())));

    // In English, after the guide was deleted: it is written again and opened.
    fs::remove(folder / "ReadMe.doc");
    window->Mn_Lisanlar->trigger();
    window->Mn_yardm->trigger();
    EXPECT_TRUE(messages.asked.last().contains(QStringLiteral("ReadMe.doc")));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1].toLocalFile().toStdString(), (folder / "ReadMe.doc").string());
    EXPECT_TRUE(fs::exists(folder / "ReadMe.doc"));
}

TEST_F(Desktop, DecliningOpensNothingAndAFailedViewerNamesTheFile) {
    start();
    messages.answer = false;
    window->Mn_yardm->trigger();
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(messages.shown.size(), 1); // the Help text only

    messages.answer = true;
    viewerTakesIt = false;
    window->Mn_yardm->trigger();
    ASSERT_EQ(messages.shown.size(), 3);
    EXPECT_TRUE(messages.shown[2].endsWith(QString::fromStdString((folder / "BeniOku").string())));
}

TEST_F(Desktop, OnlyAnInstalledProgramUsesThePerUserDataFolder) {
    const fs::path prefix = folder / "prefix";
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share/applications");
    ::setenv("HOME", (folder / "home").c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(installedDataFolder(prefix / "bin"), std::nullopt); // no menu entry: portable

    writeFile(prefix / "share/applications" / kDesktopEntryName, "");
    EXPECT_EQ(installedDataFolder(prefix / "bin"), folder / "home/.local/share/zerkavi");
    EXPECT_TRUE(fs::is_directory(folder / "home/.local/share/zerkavi"));
    EXPECT_EQ(installedDataFolder(prefix / "share"), std::nullopt); // not a bin folder

    ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    EXPECT_EQ(installedDataFolder(prefix / "bin"), folder / "data/zerkavi");
    ::setenv("XDG_DATA_HOME", "relative", 1); // ignored, as the XDG rules say
    EXPECT_EQ(installedDataFolder(prefix / "bin"), folder / "home/.local/share/zerkavi");
}

} // namespace
} // namespace zerkavi

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    std::fflush(nullptr);
    std::_Exit(rc);
}
