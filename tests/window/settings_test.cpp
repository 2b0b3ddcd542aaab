// What the user chose is kept per user and comes back at the next start.
#include "tests/support/window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

struct Chosen {
    Language language;
    int instrument, bpm, unitNote;
    bool looped;
    int medium, weak; // in tens of per cent
};

Chosen chosen(ArayüzKalıp& w) {
    int instrument = 0, medium = 0, weak = 0;
    for (int i = 1; i <= 3; ++i)
        if (w.Option1[std::size_t(i)]->isChecked()) instrument = i;
    for (int n = 2; n <= 9; ++n) {
        if (w.Mn_Oseviye[std::size_t(n)]->isChecked()) medium = n;
        if (w.Mn_Zseviye[std::size_t(n)]->isChecked()) weak = n;
    }
    EXPECT_FLOAT_EQ(w.mediumFactor, medium / 10.0f);
    EXPECT_FLOAT_EQ(w.weakFactor, weak / 10.0f);
    EXPECT_NE(w.Option2->isChecked(), w.Option3->isChecked());
    return {w.language, instrument, w.bpm(), w.unitNote, w.Option3->isChecked(), medium, weak};
}

bool operator==(const Chosen& a, const Chosen& b) {
    return a.language == b.language && a.instrument == b.instrument && a.bpm == b.bpm &&
           a.unitNote == b.unitNote && a.looped == b.looped && a.medium == b.medium &&
           a.weak == b.weak;
}

} // namespace

TEST_F(WindowTest, AFirstStartHasTheStartUpValuesAndTheNextOneTheLastChoices) {
    ASSERT_TRUE(start());
    EXPECT_TRUE(chosen(*window) == (Chosen{Language::Turkish, 2, 150, 8, false, 6, 4}));
    EXPECT_EQ(window->Label5->text(), QStringLiteral("=150"));

    window->Mn_Lisanlar->trigger();
    window->Option1[3]->setChecked(true);
    window->VScroll1->setValue(270 - 96);
    window->PicBirimNota_Click();
    window->Option3->setChecked(true);
    window->Mn_Oseviye_Click(8);
    window->Mn_Zseviye_Click(3);
    const Chosen last{Language::English, 3, 96, 16, true, 8, 3};
    ASSERT_TRUE(chosen(*window) == last);
    window.reset();
    EXPECT_TRUE(std::filesystem::exists(folder / "config" / "zerkavi" / "zerkavi.ini"));

    ASSERT_TRUE(start());
    EXPECT_TRUE(chosen(*window) == last);
    EXPECT_EQ(window->Label5->text(), QStringLiteral("=96"));
    EXPECT_EQ(window->But_Sil->text(), QStringLiteral("Delete"));
}
