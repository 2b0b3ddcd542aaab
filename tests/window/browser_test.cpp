#include "tests/support/window_fixture.h"

#include "common/text_codec.h"
#include "usul/library_file.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <fstream>
#include <unistd.h>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

class BrowserTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(start());
        window->show();
    }
    void pick(int slot) {
        window->But_yükle_Click();
        window->List1_Pick(slot - 1, Qt::LeftButton);
    }
    RecordBytes slotOnDisk(int slot) {
        const auto bytes = readBytes(folder / "usuller.usl");
        RecordBytes b{};
        std::copy_n(bytes.begin() + std::ptrdiff_t(slot - 1) * kRecordBytes, kRecordBytes,
                    b.begin());
        return b;
    }
};

} // namespace

TEST_F(BrowserTest, ListOpensLockedAndAPickLoadsTheUsul) {
    window->But_yükle_Click();
    ASSERT_TRUE(window->List1->isVisible());
    EXPECT_FALSE(window->Picture1->isVisible());
    EXPECT_EQ(window->List1->count(), 255);
    EXPECT_EQ(window->List1->geometry(), QRect(26 + (964 - 400) / 2, 30, 400, 560));
    EXPECT_EQ(window->List1->item(31)->text(),
              QString::fromUtf8(" 32    8/8   Düyek") + QString(35, ' '));
    EXPECT_FALSE(window->But_Baslat->isEnabled());
    EXPECT_FALSE(window->Mn_Lisanlar->isEnabled());

    // A real left click on the 32nd entry.
    window->List1->scrollToItem(window->List1->item(31));
    const QRect r = window->List1->visualItemRect(window->List1->item(31));
    QTest::mouseClick(window->List1->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(window->currentSlot, 32);
    EXPECT_FALSE(window->List1->isVisible());
    EXPECT_TRUE(window->Picture1->isVisible());
    EXPECT_EQ(window->Text5->text(), QString::fromUtf8("Düyek") + QString(35, ' '));
    EXPECT_EQ(window->Text2->text(), QStringLiteral("8"));
    EXPECT_EQ(window->Text3->text(), QStringLiteral("8"));
    EXPECT_EQ(window->Text4->text(), QStringLiteral("64"));
    EXPECT_EQ(window->Label1->text(), QStringLiteral("32"));
    EXPECT_EQ(window->Label4->text(), QStringLiteral("Tamam"));
    EXPECT_TRUE(window->But_Baslat->isEnabled());
    EXPECT_FALSE(window->But_kaydet->isEnabled()); // built-in slots are read-only
    EXPECT_FALSE(window->But_Sil->isEnabled());
    EXPECT_TRUE(window->But_farklı->isEnabled());

    // The right button closes the list and loads nothing.
    window->But_yükle_Click();
    window->List1_Pick(4, Qt::RightButton);
    EXPECT_EQ(window->currentSlot, 32);
    EXPECT_FALSE(window->List1->isVisible());
    EXPECT_TRUE(window->But_Baslat->isEnabled());
    // The first entry is slot 1.
    pick(1);
    EXPECT_EQ(window->currentSlot, 1);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(BrowserTest, PreviousAndNextFollowTheSlotRules) {
    window->But_önceki_Click(); // nothing loaded: nothing happens
    EXPECT_EQ(window->currentSlot, 0);
    window->But_sonraki_Click(); // from nothing to slot 1
    EXPECT_EQ(window->currentSlot, 1);
    window->But_önceki_Click();
    EXPECT_EQ(window->currentSlot, 1);
    pick(201);
    EXPECT_TRUE(window->But_kaydet->isEnabled());
    EXPECT_TRUE(window->But_mertebe[1]->isEnabled());
    window->But_önceki_Click();
    EXPECT_EQ(window->currentSlot, 200);
    EXPECT_FALSE(window->But_kaydet->isEnabled());
    EXPECT_FALSE(window->But_Temizle->isEnabled());
    window->But_sonraki_Click();
    EXPECT_TRUE(window->But_Sil->isEnabled());
    pick(255);
    EXPECT_EQ(window->Text5->text().trimmed(), QString::fromUtf8("Darp şiddeti demo"));
    window->But_sonraki_Click();
    EXPECT_EQ(window->currentSlot, 255);
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(BrowserTest, LengthIndicator) {
    pick(32); // 8/8, total 64
    EXPECT_EQ(window->expectedLength, 64);
    EXPECT_EQ(window->Label4->text(), QStringLiteral("Tamam"));
    EXPECT_TRUE(window->Label4->styleSheet().contains("0, 128, 0"));
    window->Text2->setText("9");
    EXPECT_EQ(window->expectedLength, 72);
    EXPECT_EQ(window->Label4->text(), QStringLiteral("Eksik"));
    EXPECT_TRUE(window->Label4->styleSheet().contains("255, 0, 0"));
    window->Text3->setText("0"); // no division: the length stays
    EXPECT_EQ(window->expectedLength, 72);
    window->Text2->setText("3");
    window->Text3->setText("16");
    EXPECT_EQ(window->expectedLength, 12);
    EXPECT_EQ(window->Label4->text(), QStringLiteral("Fazla"));
    window->Text2->setText("5");
    window->Text3->setText("32");
    EXPECT_EQ(window->expectedLength, 10);
    window->Text3->setText("abc");
    EXPECT_EQ(window->expectedLength, 10);
    // The denominator menu writes into the field.
    window->Text3->setText("8");
    window->Text2->setText("8");
    window->sekizlik->trigger();
    window->onaltılık->trigger();
    EXPECT_EQ(window->Text3->text(), QStringLiteral("16"));
    EXPECT_EQ(window->expectedLength, 32);
}

TEST_F(BrowserTest, SaveChecksInOrderAndWritesOneSlot) {
    pick(201);
    window->Text5->clear();
    window->But_kaydet_Click();
    window->Text5->setText(QString::fromUtf8("Yeni usul"));
    window->But_kaydet_Click(); // no beats
    window->currentUsul.circle(1).rightDuration = 32;
    window->currentUsul.circle(5).leftDuration = 32;
    window->göster();
    window->Text2->setText("9");
    window->Text3->setText("8");
    window->But_kaydet_Click(); // short
    window->Text2->setText("7");
    window->But_kaydet_Click(); // too long
    const auto& t = languageTexts(Language::Turkish);
    ASSERT_EQ(messages.shown.size(), 4);
    EXPECT_EQ(messages.shown[0].toStdString(), t.message[Message::nameMissing]);
    EXPECT_EQ(messages.shown[1].toStdString(), t.message[Message::noBeats]);
    EXPECT_EQ(messages.shown[2].toStdString(), t.message[Message::beatsShort]);
    EXPECT_EQ(messages.shown[3].toStdString(), t.message[Message::beatsExceed]);
    EXPECT_EQ(slotOnDisk(201), builtInBytes(201)); // nothing written by a refusal

    window->Text2->setText("8");
    window->But_kaydet_Click();
    EXPECT_EQ(messages.shown.size(), 4);
    const UsulRecord saved = decodeRecord(slotOnDisk(201));
    EXPECT_EQ(saved.name, fixedText(U"Yeni usul", 40));
    EXPECT_EQ(saved.numerator, 8);
    EXPECT_EQ(saved.mertebe, 8);
    EXPECT_EQ(saved.totalLength, 64);
    EXPECT_EQ(saved.circle(5).leftDuration, 32);
    // The other slots are untouched.
    EXPECT_EQ(slotOnDisk(200), builtInBytes(200));
    EXPECT_EQ(slotOnDisk(202), builtInBytes(202));

    // A numerator the record cannot hold is refused, not cut.
    window->Text2->setText("300");
    window->Text3->setText("300");
    EXPECT_EQ(window->Label4->text(), QStringLiteral("Tamam"));
    window->But_kaydet_Click();
    ASSERT_EQ(messages.shown.size(), 5);
    EXPECT_EQ(messages.shown[4].toStdString(), t.message[Message::timeSignatureRange]);
    EXPECT_EQ(decodeRecord(slotOnDisk(201)).numerator, 8);
}

TEST_F(BrowserTest, SaveAsWritesTheRealTotalToAUserSlot) {
    pick(32);
    window->Text5->setText(QString::fromUtf8("Düyek kopyası"));
    window->But_farklı_Click();
    ASSERT_TRUE(window->List2->isVisible());
    EXPECT_EQ(window->List2->count(), 55);
    EXPECT_TRUE(window->List2->item(0)->text().startsWith(QStringLiteral("201")));
    EXPECT_FALSE(window->But_yükle->isEnabled());
    window->List2_Pick(9, Qt::LeftButton);
    EXPECT_FALSE(window->List2->isVisible());
    EXPECT_EQ(window->currentSlot, 210);
    EXPECT_EQ(window->Label1->text(), QStringLiteral("210"));
    const UsulRecord copy = decodeRecord(slotOnDisk(210));
    const UsulRecord original = builtIn(32);
    EXPECT_EQ(copy.circles, original.circles);
    EXPECT_EQ(copy.name, fixedText(fromUtf8("Düyek kopyası"), 40));
    EXPECT_EQ(copy.totalLength, 64);
    EXPECT_EQ(copy.spare1, std::u32string(10, U'\0'));
    // The usul in memory keeps its old name.
    EXPECT_EQ(window->currentUsul.name, original.name);

    // Right button: the list closes, nothing is written.
    window->But_farklı_Click();
    window->List2_Pick(0, Qt::RightButton);
    EXPECT_EQ(slotOnDisk(201), builtInBytes(201));
    EXPECT_EQ(window->currentSlot, 210);
}

TEST_F(BrowserTest, DeleteAsksAndWritesTheEmptyRecord) {
    pick(233); // "Düyek v." in the user area
    messages.answer = false;
    window->But_Sil_Click();
    ASSERT_EQ(messages.asked.size(), 1);
    EXPECT_EQ(messages.asked[0].toStdString(),
              languageTexts(Language::Turkish).message[Message::confirmDelete]);
    EXPECT_EQ(slotOnDisk(233), builtInBytes(233));
    messages.answer = true;
    window->But_Sil_Click();
    EXPECT_EQ(slotOnDisk(233), encodeRecord(emptyRecord()));
    EXPECT_TRUE(window->Text5->text().isEmpty());
    EXPECT_EQ(window->Text2->text(), QStringLiteral("0"));
    EXPECT_EQ(window->Text3->text(), QStringLiteral("8"));
    EXPECT_EQ(window->Text4->text(), QStringLiteral("0"));
    EXPECT_EQ(window->expectedLength, 0);
    pick(232);
    pick(233);
    EXPECT_TRUE(window->Text5->text().isEmpty());
    EXPECT_EQ(window->Text2->text(), QStringLiteral("0"));
    EXPECT_EQ(window->Text3->text(), QStringLiteral("8"));
    EXPECT_EQ(window->Text4->text(), QStringLiteral("0"));
}

TEST_F(WindowTest, ADamagedLibraryGivesMessageOneAndNoCrash) {
    { std::ofstream(folder / "usuller.usl", std::ios::binary) << std::string(5000, 'x'); }
    ASSERT_TRUE(start());
    ASSERT_EQ(messages.shown.size(), 1); // what is wrong with the file, said once at start
    messages.shown.clear();
    window->But_yükle_Click();
    EXPECT_EQ(window->List1->count(), 255);
    window->List1_Pick(1, Qt::LeftButton); // slot 2 is whole, slot 3 is not there
    EXPECT_TRUE(messages.shown.isEmpty());
    window->But_yükle_Click();
    window->List1_Pick(99, Qt::LeftButton);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].toStdString(),
              languageTexts(Language::Turkish).message[Message::loadError]);
    EXPECT_EQ(window->currentSlot, 100);
    EXPECT_EQ(readBytes(folder / "usuller.usl").size(), 5000u);
}

TEST_F(BrowserTest, SaveAsRefusesABadTimeSignatureAndEmptyListPlacesPickNothing) {
    pick(32);
    window->Text5->setText(QStringLiteral("Kopya"));
    window->Text2->setText("512");
    window->Text3->setText("512"); // 64 / 512 * 512 = 64: complete, but no byte holds 512
    window->But_farklı_Click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].toStdString(),
              languageTexts(Language::Turkish).message[Message::timeSignatureRange]);
    EXPECT_FALSE(window->List2->isVisible());

    // A press below the last entry of the list neither loads nor closes it.
    window->Text2->setText("8");
    window->Text3->setText("8");
    window->But_yükle_Click();
    window->List1->setGeometry(window->List1->x(), 30, 400, 560);
    window->List1->clear();
    window->List1->addItem(QStringLiteral("only one entry"));
    QTest::mouseClick(window->List1->viewport(), Qt::LeftButton, {}, QPoint(50, 500));
    EXPECT_TRUE(window->List1->isVisible());
    EXPECT_EQ(window->currentSlot, 32);
}

TEST_F(BrowserTest, TimeSignaturesNoByteHoldsSetNothingAndAreNotKept) {
    pick(32);
    const int expected = window->expectedLength;
    window->Text2->setText("100000000000000000000"); // 64 / 8 × 10^20 is no int
    EXPECT_EQ(window->expectedLength, expected);
    window->Text2->setText("300");
    const RecordBytes slot99 = slotOnDisk(99);
    window->Command6_Click(); // maintenance keeps the fields as slot 99
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].toStdString(),
              languageTexts(Language::Turkish).message[Message::timeSignatureRange]);
    EXPECT_EQ(slotOnDisk(99), slot99);
}

TEST_F(BrowserTest, AReadOnlyLibrarySaysSoAndKeepsItsBytes) {
    // The window opens the library again as a user who may only read it.
    const auto path = folder / "usuller.usl";
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    std::filesystem::permissions(
        folder, std::filesystem::perms::group_exec | std::filesystem::perms::others_exec,
        std::filesystem::perm_options::add);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::seteuid(65534), 0);
    }
    const bool opened = window->library().open(path);
    if (root) {
        ASSERT_EQ(::seteuid(0), 0);
    }
    ASSERT_TRUE(opened);
    const auto before = readBytes(path);
    pick(201);
    window->Text5->setText(QStringLiteral("Benim"));
    window->Text2->setText("8");
    window->Text3->setText("8");
    window->Text4->setText("64");
    window->currentUsul.circle(1).rightDuration = 64;
    window->currentUsul.totalLength = 64;
    window->But_kaydet_Click();
    window->But_Sil_Click();
    const std::string readOnly = languageTexts(Language::Turkish).message[Message::libraryReadOnly];
    EXPECT_EQ(messages.shown, QStringList(2, QString::fromStdString(readOnly)));
    EXPECT_EQ(readBytes(path), before);
}
