#include "tests/support/window_fixture.h"

#include "sound/embedded_samples.h"
#include "usul/library_file.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include <fstream>

using namespace zerkavi;
using namespace zerkavi::testing;

TEST_F(WindowTest, FirstStartInAnEmptyFolder) {
    ASSERT_TRUE(start());
    EXPECT_TRUE(messages.shown.isEmpty());
    const auto bytes = readBytes(folder / "usuller.usl");
    const auto image = defaultLibraryImage();
    ASSERT_EQ(bytes.size(), image.size());
    EXPECT_TRUE(
        std::equal(bytes.begin(), bytes.end(), reinterpret_cast<const char*>(image.data())));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "zrkv"));
    EXPECT_EQ(window->workingFolder(), folder / "zrkv");

    EXPECT_EQ(window->size(), QSize(1024, 768));
    EXPECT_EQ(window->pos(), QPoint(128, 128)); // centred on 1280 x 1024
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Zerkavi editörü"));
    EXPECT_EQ(window->Mn_Lisanlar->text(), QStringLiteral("English"));
    EXPECT_EQ(window->Text3->text(), QStringLiteral("4"));
    EXPECT_EQ(window->VScroll1->value(), 120);
    EXPECT_EQ(window->currentSlot, 0);
    EXPECT_TRUE(window->Mn_Oseviye[6]->isChecked());
    EXPECT_TRUE(window->Mn_Zseviye[4]->isChecked());
    EXPECT_FLOAT_EQ(window->mediumFactor, 0.6f);
    EXPECT_FLOAT_EQ(window->weakFactor, 0.4f);
    EXPECT_EQ(window->colourRecord.red, 200);
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(200, 185, 130));
    EXPECT_FALSE(window->List1->isVisibleTo(window.get()));
    EXPECT_FALSE(window->List2->isVisibleTo(window.get()));
    EXPECT_FALSE(window->But_Dur->isEnabled());
    EXPECT_TRUE(window->But_Baslat->isEnabled());
    for (QWidget* b : editingButtons(*window))
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();

    // Glyph rectangles of the three bands.
    EXPECT_EQ(window->largeGlyphs[5].width, 18);
    EXPECT_EQ(window->largeGlyphs[4].width, 10);
    EXPECT_EQ(window->mediumGlyphs[10].x, 200);
    EXPECT_EQ(window->mediumGlyphs[7].y, 90);
    EXPECT_EQ(window->smallGlyphs[9].width, 9);
    EXPECT_EQ(window->smallGlyphs[0].height, 42);
    EXPECT_EQ(window->halvingTable[63][0], 32);
}

TEST_F(WindowTest, AnExistingLibraryIsOpenedUnchanged) {
    // Even a damaged file is kept exactly as it is.
    { std::ofstream(folder / "usuller.usl", std::ios::binary) << "not a library"; }
    ASSERT_TRUE(start());
    EXPECT_EQ(readBytes(folder / "usuller.usl").size(), 13u);
    EXPECT_FALSE(window->library().readUsul(32));
    window->shutDown();
    EXPECT_EQ(readBytes(folder / "usuller.usl").size(), 13u);
}

TEST_F(WindowTest, ASecondInstanceEndsWithItsMessageOnly) {
    ASSERT_TRUE(start());
    RecordingMessages second;
    ArayüzKalıp other(folder, second, QSize(1280, 1024));
    EXPECT_FALSE(other.startUp());
    ASSERT_EQ(second.shown.size(), 1);
    EXPECT_EQ(second.shown[0], QString::fromUtf8("Zerkavi editörü zaten çalışıyor."));
    // Once the first has closed, a new start is accepted.
    window->shutDown();
    RecordingMessages third;
    ArayüzKalıp later(folder, third, QSize(1280, 1024));
    EXPECT_TRUE(later.startUp());
    EXPECT_TRUE(third.shown.isEmpty());
}

TEST_F(WindowTest, ScreenLimits) {
    const QString width = QString::fromUtf8("Ekran genişliğinin en az 1024 olması gerekir.");
    const QString height = QString::fromUtf8("Ekran yüksekliğinin en az 768 olması gerekir.");
    struct Case {
        QSize screen;
        bool accepted;
        QString message;
    } cases[] = {{{1024, 768}, true, {}},
                 {{1023, 768}, false, width},
                 {{1023, 700}, false, width},
                 {{1024, 767}, false, height}};
    for (const Case& c : cases) {
        messages.shown.clear();
        window.reset();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        EXPECT_EQ(start(c.screen), c.accepted) << c.screen.width() << "x" << c.screen.height();
        if (c.accepted) {
            EXPECT_TRUE(messages.shown.isEmpty());
            EXPECT_EQ(window->pos(), QPoint(0, 0));
        } else {
            ASSERT_EQ(messages.shown.size(), 1);
            EXPECT_EQ(messages.shown[0], c.message);
            // Refused before anything was written.
            EXPECT_FALSE(std::filesystem::exists(folder / "usuller.usl"));
            EXPECT_FALSE(std::filesystem::exists(folder / "zrkv"));
        }
    }
}

TEST_F(WindowTest, ShutdownDeletesRenderedFilesAndKeepsTheLibrary) {
    ASSERT_TRUE(start());
    const auto sound = folder / "zrkv";
    for (const char* name : {"Shablon.---", "BENDRD31.---", "Eser.---"})
        std::ofstream(sound / name) << "x";
    std::ofstream(sound / "plan.txt") << "keep";
    std::ofstream(sound / "Pasaj.dat") << "keep";
    window->close(); // never asks
    EXPECT_TRUE(messages.asked.isEmpty());
    EXPECT_FALSE(std::filesystem::exists(sound / "Shablon.---"));
    EXPECT_FALSE(std::filesystem::exists(sound / "BENDRD31.---"));
    EXPECT_FALSE(std::filesystem::exists(sound / "Eser.---"));
    EXPECT_TRUE(std::filesystem::exists(sound / "plan.txt"));
    EXPECT_TRUE(std::filesystem::exists(sound / "Pasaj.dat"));
    const auto bytes = readBytes(folder / "usuller.usl");
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(),
                           reinterpret_cast<const char*>(defaultLibraryImage().data())));
    EXPECT_FALSE(std::filesystem::exists(folder / "zerkavi.lock"));
}

TEST_F(WindowTest, SampleBankIsMadeAtStartAndRemadeByTheLoudnessMenus) {
    ASSERT_TRUE(start());
    const auto sound = folder / "zrkv";
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(sound))
        if (e.path().extension() == ".---") ++files;
    EXPECT_EQ(files, 18);
    const auto strong = readBytes(sound / "KUDUMD31.---");
    const auto embedded = zerkavi::embedded::kudum_dum();
    EXPECT_TRUE(std::equal(strong.begin(), strong.end(), embedded.begin(), embedded.end(),
                           [](char a, std::uint8_t b) { return std::uint8_t(a) == b; }));
    const auto medium60 = readBytes(sound / "BENDRD21.---");
    const auto weak40 = readBytes(sound / "BENDRT41.---");

    window->Mn_Oseviye[5]->trigger();
    EXPECT_FLOAT_EQ(window->mediumFactor, 0.5f);
    EXPECT_TRUE(window->Mn_Oseviye[5]->isChecked());
    EXPECT_FALSE(window->Mn_Oseviye[6]->isChecked());
    EXPECT_NE(readBytes(sound / "BENDRD21.---"), medium60);
    EXPECT_EQ(readBytes(sound / "BENDRD21.---").size(), medium60.size());
    // Weak above medium is allowed.
    window->Mn_Zseviye[9]->trigger();
    EXPECT_FLOAT_EQ(window->weakFactor, 0.9f);
    EXPECT_NE(readBytes(sound / "BENDRT41.---"), weak40);
    window->Mn_Zseviye[4]->trigger();
    EXPECT_EQ(readBytes(sound / "BENDRT41.---"), weak40);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(WindowTest, ASoundFolderThatCannotBeWrittenEndsTheProgramWithMessage13) {
    // A plain file where the sound folder should be.
    std::ofstream(folder / "zrkv") << "in the way";
    EXPECT_FALSE(start());
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown.back().toStdString(),
              languageTexts(Language::Turkish).message[Message::soundFileError]);
    // The library was made and is left as it is.
    EXPECT_EQ(readBytes(folder / "usuller.usl").size(), 431104u);
}
