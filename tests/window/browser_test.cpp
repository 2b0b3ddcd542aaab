// The library list, Save, Save As and Delete, on a sound library file and on damaged ones.
#include "tests/support/window_fixture.h"

#include "common/text_codec.h"
#include "plans/library_texts.h"
#include "usul/library_file.h"

#include <unistd.h>

using namespace zerkavi;
using namespace zerkavi::testing;

using BrowserTest = StartedWindowTest;

TEST_F(BrowserTest, ListOpensLockedAndAPickLoadsTheUsul) {
    window->But_yükle->click();
    ASSERT_TRUE(window->List1->isVisible());
    EXPECT_TRUE(window->List1->isEnabled());
    EXPECT_FALSE(window->Picture1->isVisible());
    ASSERT_EQ(window->List1->count(), 255);
    EXPECT_EQ(window->List1->item(31)->text(),
              QString::fromUtf8(" 32    8/8   Düyek") + QString(35, ' '));
    // A real left click on the 32nd entry.
    window->List1->scrollToItem(window->List1->item(31));
    const QRect r = window->List1->visualItemRect(window->List1->item(31));
    QTest::mouseClick(window->List1->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(window->currentSlot, 32);
    EXPECT_TRUE(window->Picture1->isVisible());
    EXPECT_EQ(window->Text5->text().trimmed() + " " + window->Text2->text() + "/" +
                  window->Text3->text() + " " + window->Text4->text() + " " +
                  window->Label1->text(),
              QString::fromUtf8("Düyek 8/8 64 32"));
    // The right button closes the list and loads nothing.
    window->But_yükle->click();
    window->List1_Pick(4, Qt::RightButton);
    EXPECT_EQ(window->currentSlot, 32);
    EXPECT_FALSE(window->List1->isVisible());
    // Previous and Next, across the first user slot and at the ends.
    load(201);
    window->But_önceki->click();
    EXPECT_EQ(window->currentSlot, 200);
    EXPECT_FALSE(window->But_kaydet->isEnabled());
    window->But_sonraki->click();
    EXPECT_TRUE(window->But_Sil->isEnabled());
    load(255);
    window->But_sonraki->click();
    EXPECT_EQ(window->currentSlot, 255);
}

TEST_F(BrowserTest, SaveRefusesThenWritesOneSlot) {
    load(201);
    window->Text5->clear();
    window->But_kaydet->click();
    EXPECT_EQ(messages.shown, QStringList{msg(Message::nameMissing)});
    EXPECT_EQ(slotOnDisk(201), builtInBytes(201)); // nothing written by a refusal

    window->Text5->setText(QString::fromUtf8("Yeni usul"));
    window->currentUsul.circle(1).rightDuration = 32;
    window->currentUsul.circle(5).leftDuration = 32;
    window->göster();
    window->Text2->setText("8");
    window->Text3->setText("8");
    window->But_kaydet->click();
    EXPECT_EQ(messages.shown.size(), 1);
    const UsulRecord saved = decodeRecord(slotOnDisk(201));
    EXPECT_EQ(saved.name, fixedText(U"Yeni usul", 40));
    EXPECT_EQ(saved.totalLength, 64);
    EXPECT_EQ(saved.circle(5).leftDuration, 32); // other slots: the library's save tests

    // A time signature no byte holds is refused by Save, Save As and maintenance alike.
    window->Text2->setText("512");
    window->Text3->setText("512"); // complete, 64 / 512 * 512
    const RecordBytes slot99 = slotOnDisk(99);
    window->But_kaydet->click();
    window->But_farklı->click();
    window->Command6_Click();
    EXPECT_EQ(messages.shown.mid(1), QStringList(3, msg(Message::timeSignatureRange)));
    EXPECT_FALSE(window->List2->isVisible());
    EXPECT_EQ(decodeRecord(slotOnDisk(201)).numerator, 8);
    EXPECT_EQ(slotOnDisk(99), slot99);
}

TEST_F(BrowserTest, SaveAsWritesTheCopyToAUserSlot) {
    load(32);
    window->Text5->setText(QString::fromUtf8("Düyek kopyası"));
    window->But_farklı->click();
    ASSERT_TRUE(window->List2->isVisible());
    EXPECT_EQ(window->List2->count(), 55);
    window->List2_Pick(0, Qt::RightButton); // closes, writes nothing
    EXPECT_EQ(slotOnDisk(201), builtInBytes(201));
    window->But_farklı->click();
    window->List2_Pick(9, Qt::LeftButton);
    EXPECT_FALSE(window->List2->isVisible());
    EXPECT_TRUE(window->Picture1->isVisible());
    EXPECT_EQ(window->currentSlot, 210);
    const UsulRecord copy = decodeRecord(slotOnDisk(210));
    EXPECT_EQ(copy.circles, builtIn(32).circles);
    EXPECT_EQ(copy.name, fixedText(fromUtf8("Düyek kopyası"), 40));
    EXPECT_EQ(window->currentUsul.name, builtIn(32).name); // the usul in memory keeps its name
}

TEST_F(BrowserTest, DeleteAsksAndWritesTheEmptyRecord) {
    load(233);
    messages.answer = false;
    window->But_Sil->click();
    EXPECT_EQ(messages.asked, QStringList{msg(Message::confirmDelete)});
    EXPECT_EQ(slotOnDisk(233), builtInBytes(233));
    messages.answer = true;
    window->But_Sil->click();
    EXPECT_EQ(slotOnDisk(233), encodeRecord(emptyRecord()));
    EXPECT_TRUE(window->Text5->text().isEmpty());
}

TEST_F(BrowserTest, AReadOnlyLibrarySaysSoAndKeepsItsBytes) {
    // The window opens the library again as a user who may only read it.
    const auto path = folder / "usuller.usl";
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder, fs::perms::group_exec | fs::perms::others_exec, fs::perm_options::add);
    const bool root = ::geteuid() == 0;
    ASSERT_EQ(root ? ::seteuid(65534) : 0, 0);
    const bool opened = window->library().open(path);
    ASSERT_EQ(root ? ::seteuid(0) : 0, 0);
    ASSERT_TRUE(opened);
    const auto before = readBytes(path);
    load(233);
    window->But_kaydet->click();
    window->But_Sil->click();
    EXPECT_EQ(messages.shown, QStringList(2, msg(Message::libraryReadOnly)));
    EXPECT_EQ(readBytes(path), before);
}

namespace {

// A library file of the wrong shape: the window starts, says so once, and neither a save nor
// the start-up changes a byte of it.
class DamagedLibrary : public WindowTest {
  protected:
    Bytes write(std::size_t size, char filler = 0x5A) {
        Bytes b = libraryImage();
        b.resize(size, std::uint8_t(filler));
        writeFile(folder / kLibraryFileName, b);
        return b;
    }
    Bytes onDisk() const { return readBytes<std::uint8_t>(folder / kLibraryFileName); }
};

} // namespace

TEST_F(DamagedLibrary, AShortFileIsReadAsFarAsItGoesAndLeftAlone) {
    const Bytes before = write(10 * kRecordBytes);
    ASSERT_TRUE(start());
    const LibraryState state{LibraryShape::Short, 10 * kRecordBytes, 10};
    EXPECT_EQ(messages.shown, QStringList{QString::fromStdString(
                                  libraryProblemText(state, Language::Turkish) + "\n\n" +
                                  libraryProblemText(state, Language::English))});
    // No colour slot: the built-in colour, not the black of an empty record.
    const Bytes image = libraryImage();
    EXPECT_EQ(window->colourRecord,
              decodeColour(std::span<const std::uint8_t, kRecordBytes>(
                  image.data() + (kColourSlot - 1) * kRecordBytes, kRecordBytes)));
    load(10);
    EXPECT_EQ(window->currentUsul, builtIn(10));
    load(100); // beyond the end: message 1, no crash
    EXPECT_EQ(messages.shown.last(), msg(Message::loadError));
    EXPECT_EQ(window->currentSlot, 100);
    window->shutDown();
    EXPECT_EQ(onDisk(), before);
}

TEST_F(DamagedLibrary, SavesIntoALongerFileFailAndSaySo) {
    const Bytes before = write(kLibraryBytes + 100);
    ASSERT_TRUE(start());
    messages.shown.clear();
    load(32);
    window->Text5->setText(QStringLiteral("Kopya"));
    window->But_farklı->click();
    window->List2_Pick(9, Qt::LeftButton);
    EXPECT_EQ(window->currentSlot, 32); // the copy did not become slot 210
    load(210);
    const UsulRecord shown = window->currentUsul;
    window->But_Sil->click();
    EXPECT_EQ(window->currentUsul, shown); // not emptied as if deleted
    load(32);
    window->currentSlot = 201;
    window->But_kaydet_Click();
    EXPECT_EQ(messages.shown,
              QStringList(3, QString::fromStdString(saveFailedText(Language::Turkish))));
    EXPECT_EQ(onDisk(), before);
}
