// The window as a whole: which controls each lock state leaves usable, both languages and
// the colour dialog.
#include "tests/support/window_fixture.h"

#include "usul/library_file.h"
#include "window/colour.h"

#include <QMessageBox>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

struct LockCase {
    const char* name;
    Lock lock;
    int slot;
    const char *on, *off; // object names, blank-separated
};

class LockTest : public WindowTest, public ::testing::WithParamInterface<LockCase> {};

} // namespace

TEST_P(LockTest, LeavesUsableOnlyWhatItShould) {
    ASSERT_TRUE(start());
    window->show();
    const LockCase& c = GetParam();
    window->currentSlot = c.slot;
    window->EkranKiliti(Lock::Idle);
    window->EkranKiliti(c.lock);
    for (const auto& [names, expected] : {std::pair{c.on, true}, std::pair{c.off, false}})
        for (const QString& name : QString::fromUtf8(names).split(' ')) {
            QObject* o = control(*window, name.toUtf8().constData());
            ASSERT_NE(o, nullptr) << name.toStdString();
            EXPECT_EQ(isEnabled(o), expected) << name.toStdString();
        }
}
INSTANTIATE_TEST_SUITE_P(
    States, LockTest,
    ::testing::Values(
        LockCase{"Playing", Lock::Playing, 17, "But_Dur Frame2",
                 "But_Baslat Option3 VScroll1 Mn_Lisanlar But_yükle TimerWav"},
        LockCase{"IdleBuiltIn", Lock::Idle, 200, "But_Baslat Mn_Lisanlar But_farklı",
                 "But_Dur But_kaydet But_Sil But_uzat But_Temizle"},
        LockCase{"ReleasedUserSlot", Lock::Released, 201,
                 "But_Baslat But_kaydet But_Sil But_uzat But_Temizle", "But_Dur"},
        LockCase{"LoadListOpen", Lock::LoadListOpen, 17, "List1",
                 "List2 But_Baslat But_yükle Mn_Lisanlar Command4"},
        LockCase{"TargetListOpen", Lock::TargetListOpen, 17, "List2", "List1 But_farklı"},
        LockCase{"PlanPlaying", Lock::PlanPlaying, 17, "Command3 Command1 But_Baslat",
                 "Command4 Text14 Option2 File1"},
        LockCase{"PlanStopped", Lock::PlanStopped, 17, "Command4 List3", "Command3 Command1"}),
    [](const auto& info) { return std::string(info.param.name); });

class LanguageTest : public WindowTest, public ::testing::WithParamInterface<Language> {};

TEST_P(LanguageTest, CaptionsMessagesAndLettersFollowTheLanguage) {
    ASSERT_TRUE(start());
    const bool english = GetParam() == Language::English;
    load(32);
    const QImage turkish = window->Picture1->image();
    window->Mn_Lisanlar->trigger();
    if (!english) window->Mn_Lisanlar->trigger();
    EXPECT_EQ(window->Picture1->image() == turkish, !english) << "the loudness letters";
    EXPECT_EQ(window->windowTitle(),
              english ? QStringLiteral("Zerkavi editor") : QString::fromUtf8("Zerkavi editörü"));
    EXPECT_EQ(window->But_Sil->text(),
              english ? QStringLiteral("Delete") : QStringLiteral("S i l"));
    EXPECT_EQ(window->Mn_editNota[6]->text(),
              english ? QStringLiteral("Del RH") : QString::fromUtf8("Düm Sil"));
    for (int i = 1; i <= kLastMessage; ++i)
        EXPECT_EQ(window->messageText(Message(i)), languageTexts(GetParam()).message[Message(i)])
            << i;
    // The Help entry shows message 23; the guide it offers is declined here.
    messages.answer = false;
    window->Mn_bilgi->trigger();
    window->Mn_yardm->trigger();
    EXPECT_EQ(messages.shown,
              QStringList({QString::fromStdString(window->messageText(Message::aboutText)),
                           QString::fromStdString(window->messageText(Message::helpText))}));
    // A paused plan keeps its "continue" caption across a switch.
    window->planPaused = true;
    window->Mn_Lisanlar->trigger();
    window->Mn_Lisanlar->trigger();
    EXPECT_EQ(window->Command1->text(),
              english ? QStringLiteral("Continue") : QStringLiteral("Devam"));
    // Qt's own buttons too, where its Turkish translations (qt6-translations-l10n) are.
    QMessageBox box(QMessageBox::Question, {}, {}, QMessageBox::Cancel);
    const QString cancel = box.button(QMessageBox::Cancel)->text();
    EXPECT_TRUE(cancel == QString::fromUtf8(english ? "Cancel" : "İptal") ||
                (!english && cancel == QStringLiteral("Cancel")));
}
INSTANTIATE_TEST_SUITE_P(Both, LanguageTest,
                         ::testing::Values(Language::Turkish, Language::English),
                         [](const auto& info) {
                             return info.param == Language::English ? "English" : "Turkish";
                         });

TEST_F(WindowTest, ColourDialogAppliesRevertsAndKeepsTheColour) {
    ASSERT_TRUE(start());
    const auto colourSlot = [&] {
        const auto bytes = readBytes<std::uint8_t>(folder / kLibraryFileName);
        return Bytes(bytes.end() - kRecordBytes, bytes.end());
    };
    const auto original = colourSlot();
    window->Mn_RenkZemin->trigger();
    FRenk& dialog = *window->colourDialog;
    EXPECT_EQ(dialog.parentWidget(), window.get());
    EXPECT_FALSE(window->isEnabled()); // the main window waits for the dialog
    EXPECT_FALSE(dialog.Check1->isChecked());
    dialog.HScroll1->setValue(90);
    dialog.HScroll2->setValue(120);
    dialog.HScroll3->setValue(150);
    const QImage unitNote = window->PicBirimNota->image();
    dialog.But_RenkTamam->click(); // not permanent: the file keeps its colour
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(90, 120, 150));
    EXPECT_NE(window->PicBirimNota->image(), unitNote);
    EXPECT_EQ(colourSlot(), original);

    window->Mn_RenkZemin->trigger();
    dialog.Check1->setChecked(true);
    dialog.But_RenkTamam->click();
    const auto kept = colourSlot();
    EXPECT_EQ(Bytes(kept.begin(), kept.begin() + 3), (Bytes{90, 120, 150}));
    EXPECT_TRUE(std::equal(kept.begin() + 3, kept.end(), original.begin() + 3));

    window->Mn_RenkZemin->trigger();
    EXPECT_FALSE(dialog.Check1->isChecked()) << "ticked again only on purpose";
    dialog.Command1->click(); // the original colour, kept
    dialog.Check1->setChecked(true);
    dialog.But_RenkTamam->click();
    EXPECT_EQ(colourSlot(), original);
    window->Mn_RenkZemin->trigger();
    dialog.close();
    EXPECT_TRUE(window->isEnabled());
}

// Locked captions stay legible on whatever background the user chose.
TEST_F(WindowTest, LockedFrameTitlesKeepTheirContrastWhilePlaying) {
    for (const QColor c : {QColor(0, 0, 0), QColor(128, 128, 128), QColor(255, 255, 255)})
        EXPECT_GE(contrastRatio(legibleGrey(c), c), 4.5) << c.name().toStdString();
    ASSERT_TRUE(start());
    window->EkranKiliti(Lock::Playing);
    const QPalette p = window->Frame4->palette();
    EXPECT_GE(
        contrastRatio(p.color(QPalette::Disabled, QPalette::WindowText), p.color(QPalette::Window)),
        4.5);
}
