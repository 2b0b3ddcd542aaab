// The window as a whole: which controls each lock state leaves usable, both languages and
// the colour dialog.
#include "tests/support/golden.h"
#include "tests/support/window_fixture.h"

#include "usul/library_file.h"
#include "window/colour.h"

using namespace zerkavi;
using namespace zerkavi::testing;

// Which controls each lock state leaves usable (a timer: whether it runs), every control
// by name, against tests/golden/locks.txt; slots 200 and 201 are the last built-in and the
// first user slot.
TEST_F(StartedWindowTest, LockStatesGolden) {
    std::string out;
    for (auto [lock, slot] : {std::pair{Lock::Idle, 200},
                              {Lock::Released, 201},
                              {Lock::Playing, 17},
                              {Lock::LoadListOpen, 17},
                              {Lock::TargetListOpen, 17},
                              {Lock::PlanPlaying, 17},
                              {Lock::PlanStopped, 17}}) {
        window->currentSlot = slot;
        window->EkranKiliti(Lock::Idle);
        window->EkranKiliti(lock);
        out += "lock " + std::to_string(int(lock)) + ", slot " + std::to_string(slot) + ":";
        for (QObject* c : window->allControls)
            out += (isEnabled(c) ? " " : " -") + c->objectName().toStdString();
        out += '\n';
    }
    EXPECT_TRUE(matchesGolden("locks.txt", out));
}

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
    // The Help entry shows message 23; the guide it offers is declined here.
    messages.answer = false;
    window->Mn_bilgi->trigger();
    window->Mn_yardm->trigger();
    EXPECT_EQ(messages.shown, QStringList({msg(Message::aboutText, GetParam()),
                                           msg(Message::helpText, GetParam())}));
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
