// The guides written at start-up and the guide offered after the Help message.
#include "tests/support/window_fixture.h"
#include "window/guide_offer.h"
#include "window/guides.h"

#include <QAction>

namespace zerkavi::testing {
namespace {

namespace fs = std::filesystem;

std::string text(const fs::path& p) {
    const std::vector<char> b = readBytes(p);
    return {b.begin(), b.end()};
}

void write(const fs::path& p, const std::string& s) {
    std::ofstream(p, std::ios::binary) << s;
}

const fs::path kGuides = fs::path(ZERKAVI_SOURCE_DIR) / "assets/guides";

// The desktop's viewer is replaced by a recorder.
class GuideTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        setUrlOpener([this](const QUrl& url) {
            opened << url;
            return viewerTakesIt;
        });
    }
    void TearDown() override {
        setUrlOpener({});
        WindowTest::TearDown();
    }
    QList<QUrl> opened;
    bool viewerTakesIt = true;
};

TEST_F(GuideTest, StartUpWritesOnlyTheMissingGuides) {
    write(folder / "BeniOku", ""); // the user's (empty) copy
    ASSERT_TRUE(start());
    EXPECT_EQ(text(folder / "ReadMe.doc"), text(kGuides / "ReadMe.doc"));
    EXPECT_EQ(text(folder / "BeniOku"), "");
    EXPECT_FALSE(fs::exists(folder / "ReadMe.doc.part"));

    // Written again after a removal, never over an edited copy.
    fs::remove(folder / "BeniOku");
    write(folder / "ReadMe.doc", "my notes");
    placeGuidesIfMissing(folder);
    EXPECT_EQ(text(folder / "BeniOku"), text(kGuides / "BeniOku"));
    EXPECT_EQ(text(folder / "ReadMe.doc"), "my notes");
}

TEST_F(GuideTest, HelpOffersTheGuideOfTheLanguageOnScreen) {
    ASSERT_TRUE(start());
    window->Mn_yardm->trigger();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0], QString::fromStdString(window->messageText(Message::helpText)));
    ASSERT_EQ(messages.asked.size(), 1);
    EXPECT_TRUE(messages.asked[0].contains(QStringLiteral("BeniOku")));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toLocalFile().toStdString(), (folder / "BeniOku").string());

    // In English, after the guide was deleted: it is written again and opened.
    fs::remove(folder / "ReadMe.doc");
    window->Mn_Lisanlar->trigger();
    window->Mn_yardm->trigger();
    EXPECT_TRUE(messages.asked.last().contains(QStringLiteral("ReadMe.doc")));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[1].toLocalFile().toStdString(), (folder / "ReadMe.doc").string());
    EXPECT_EQ(text(folder / "ReadMe.doc"), text(kGuides / "ReadMe.doc"));
}

TEST_F(GuideTest, DecliningOpensNothingAndAFailedViewerNamesTheFile) {
    ASSERT_TRUE(start());
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

} // namespace
} // namespace zerkavi::testing
