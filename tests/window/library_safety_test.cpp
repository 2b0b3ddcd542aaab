// A library file of the wrong shape: the window starts, says so once in both languages, and
// neither a save nor the start-up changes a byte of it.
#include "tests/support/window_fixture.h"

#include "plans/library_texts.h"
#include "usul/library_file.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

class DamagedLibrary : public WindowTest {
  protected:
    Bytes write(std::size_t size) {
        const auto image = defaultLibraryImage();
        Bytes b(image.begin(), image.end());
        b.resize(size, 0x5A);
        std::ofstream(folder / kLibraryFileName, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
        return b;
    }
    Bytes onDisk() { return readBytes<std::uint8_t>(folder / kLibraryFileName); }
};

} // namespace

TEST_F(DamagedLibrary, AShortFileIsReadAsFarAsItGoesAndLeftAlone) {
    const Bytes before = write(10 * kRecordBytes);
    ASSERT_TRUE(start());
    ASSERT_EQ(messages.shown.size(), 1);
    const LibraryState state{LibraryShape::Short, 10 * kRecordBytes, 10};
    EXPECT_EQ(messages.shown[0].toStdString(), libraryProblemText(state, Language::Turkish) +
                                                   "\n\n" +
                                                   libraryProblemText(state, Language::English));
    window->But_yükle_Click();
    window->List1_Pick(9, Qt::LeftButton);
    EXPECT_EQ(window->currentSlot, 10);
    EXPECT_EQ(window->currentUsul, builtIn(10));
    window->shutDown();
    EXPECT_EQ(onDisk(), before);
}

TEST_F(DamagedLibrary, SavesIntoALongerFileFailAndSaySo) {
    const Bytes before = write(kLibraryBytes + 100);
    ASSERT_TRUE(start());
    ASSERT_EQ(messages.shown.size(), 1);
    messages.shown.clear();

    window->But_yükle_Click();
    window->List1_Pick(31, Qt::LeftButton);
    window->Text5->setText(QStringLiteral("Kopya"));
    window->But_farklı_Click();
    window->List2_Pick(9, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].toStdString(), saveFailedText(Language::Turkish));
    EXPECT_EQ(window->currentSlot, 32); // the copy did not become slot 210

    window->But_yükle_Click();
    window->List1_Pick(209, Qt::LeftButton);
    ASSERT_EQ(window->currentSlot, 210);
    const UsulRecord shown = window->currentUsul;
    window->But_Sil_Click();
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.shown[1], messages.shown[0]);
    EXPECT_EQ(window->currentUsul, shown); // not emptied as if deleted

    window->But_yükle_Click();
    window->List1_Pick(31, Qt::LeftButton);
    window->currentSlot = 201;
    window->But_kaydet_Click();
    ASSERT_EQ(messages.shown.size(), 3);
    EXPECT_EQ(messages.shown[2], messages.shown[0]);
    EXPECT_EQ(onDisk(), before);
}

// A plan file that cannot be moved into place leaves no half-written file behind.
TEST_F(WindowTest, APlanThatCannotBeStoredLeavesNoPartFile) {
    ASSERT_TRUE(start());
    const auto blocker = folder / "zrkv" / "Bozuk.txt";
    std::filesystem::create_directories(blocker / "inside");
    window->Option4->click();
    window->Text9->setText(QStringLiteral("Bozuk"));
    window->Text14->setPlainText(QStringLiteral("Giris 32 1 4 60"));
    window->Command8_Click();
    EXPECT_FALSE(std::filesystem::exists(folder / "zrkv" / "Bozuk.txt.part"));
    EXPECT_TRUE(std::filesystem::is_directory(blocker / "inside"));
}
