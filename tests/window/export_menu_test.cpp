// The Export menu: one press per item writes the file the dialog names.
#include "tests/support/window_fixture.h"
#include "window/export_menu.h"

#include <algorithm>
#include <cstring>
#include <fstream>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

std::size_t filesIn(const std::filesystem::path& folder) {
    return std::size_t(std::distance(std::filesystem::directory_iterator(folder), {}));
}

struct Asked {
    QWidget* parent = nullptr;
    QString caption, proposed, filter;
};

class ExportMenuTest : public StartedWindowTest {
  protected:
    void SetUp() override {
        StartedWindowTest::SetUp();
        menu = window->exportMenu;
        ASSERT_NE(menu, nullptr);
        // The dialog answers the file named by `answer` in the test's folder.
        menu->chooseFile = [this](QWidget* parent, const QString& caption, const QString& proposed,
                                  const QString& filter) {
            asked = {parent, caption, proposed, filter};
            return answer.isEmpty() ? QString() : out(answer);
        };
        window->currentSlot = 38; // Aksak
        window->loadCurrentSlot();
    }
    QString out(const QString& name) const {
        return QString::fromStdString((folder / "out").string()) + QChar('/') + name;
    }
    std::string head(const QString& name, std::size_t n) const {
        const auto b = readBytes(out(name).toStdString());
        return std::string(b.begin(), b.begin() + std::min(n, b.size()));
    }
    ExportMenu* menu = nullptr;
    QString answer;
    Asked asked;
};

struct ItemCase {
    QAction* ExportMenu::*item;
    const char* answer;  // what the dialog returns
    const char* written; // the file then written
    const char* magic;
    const char* proposed; // in the documents folder
};
class ExportMenuItem : public ExportMenuTest, public ::testing::WithParamInterface<ItemCase> {};

} // namespace

TEST_P(ExportMenuItem, WritesTheChosenFile) {
    std::filesystem::create_directory(folder / "out");
    const ItemCase& c = GetParam();
    answer = QString::fromUtf8(c.answer);
    (menu->*c.item)->trigger();
    EXPECT_EQ(asked.parent, window.get());
    EXPECT_EQ(asked.proposed, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                                  "/" + QString::fromUtf8(c.proposed));
    EXPECT_EQ(head(QString::fromUtf8(c.written), std::strlen(c.magic)), c.magic);
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.shown.join("|").toStdString();
}
INSTANTIATE_TEST_SUITE_P(
    Items, ExportMenuItem,
    ::testing::Values(ItemCase{&ExportMenu::sound, "a.flac", "a.flac", "fLaC", "Aksak.wav"},
                      ItemCase{&ExportMenu::sound, "a", "a.wav", "RIFF", "Aksak.wav"},
                      ItemCase{&ExportMenu::midi, "a.mid", "a.mid", "MThd", "Aksak.mid"},
                      ItemCase{&ExportMenu::musicXml, "a.musicxml", "a.musicxml", "<?xml",
                               "Aksak.musicxml"},
                      ItemCase{&ExportMenu::lilyPond, "a.ly", "a.ly", "\\version", "Aksak.ly"},
                      ItemCase{&ExportMenu::picture, "a.svg", "a.svg", "<?xml", "Aksak.png"},
                      ItemCase{&ExportMenu::picture, "a.pdf", "a.pdf", "%PDF", "Aksak.png"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(ExportMenuTest, CancelFailureAndTheSoundFolder) {
    const auto sound = folder / "zrkv";
    const auto listing = [&] { return readBytes(sound / "BENDRD21.---").size() + filesIn(sound); };
    const auto before = listing();
    EXPECT_EQ(menu->menu->title(), QString::fromUtf8("Dışa aktar"));
    menu->sound->trigger(); // cancelled
    EXPECT_EQ(asked.caption, QStringLiteral("Ses"));
    answer = QStringLiteral("a.mp3"); // the folder "out" is not there
    menu->sound->trigger();
    EXPECT_TRUE(messages.shown.value(0).startsWith(QString::fromUtf8("Dosya yazılamadı:")));
    window->LisanIngilizce();
    EXPECT_EQ(menu->menu->title(), QStringLiteral("Export"));
    menu->picture->trigger();
    EXPECT_TRUE(
        messages.shown.value(1).startsWith(QStringLiteral("The file could not be written:")));
    EXPECT_EQ(listing(), before);

    // On the plan screen Sound writes the selected plan, named after it.
    std::filesystem::create_directory(folder / "out");
    std::ofstream(sound / "Pesrev.txt", std::ios::binary) << "Hane 38 1 8 150\r\n";
    window->Option4->click(); // opens the first plan
    answer = QStringLiteral("p.wav");
    menu->sound->trigger();
    EXPECT_TRUE(asked.proposed.endsWith(QStringLiteral("/Pesrev.wav")));
    EXPECT_EQ(head(answer, 4), "RIFF");
    EXPECT_EQ(listing(), before + 1); // the plan file only
}
