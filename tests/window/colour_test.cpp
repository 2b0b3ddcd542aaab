#include "tests/support/window_fixture.h"

#include "usul/library_file.h"
#include "window/colour.h"

#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

RecordBytes colourSlotOnDisk(const std::filesystem::path& folder) {
    const auto bytes = readBytes(folder / "usuller.usl");
    RecordBytes b{};
    std::copy_n(bytes.end() - kRecordBytes, kRecordBytes, b.begin());
    return b;
}

} // namespace

TEST_F(WindowTest, ColourDialogAppliesRevertsAndKeepsTheColour) {
    ASSERT_TRUE(start());
    const RecordBytes original = colourSlotOnDisk(folder);
    window->Mn_RenkZemin->trigger();
    FRenk& dialog = *window->colourDialog;
    EXPECT_FALSE(window->isEnabled()); // the main window waits for the dialog
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Zerkavi editor"));
    EXPECT_EQ(dialog.Check1->text(), QString::fromUtf8("Kalıcı olsun  "));
    EXPECT_EQ(dialog.But_RenkTamam->text(), QStringLiteral("Uygula"));
    EXPECT_EQ(dialog.Command1->text(), QStringLiteral("Orijinal renk"));
    EXPECT_EQ(dialog.HScroll1->value(), 200);
    EXPECT_EQ(dialog.HScroll3->pageStep(), 10);

    // Apply without "permanent": the colours change now, the file does not.
    const QImage unitNoteBefore = window->PicBirimNota->image();
    dialog.HScroll1->setValue(90);
    dialog.HScroll2->setValue(120);
    dialog.HScroll3->setValue(150);
    EXPECT_EQ(dialog.PicRenk->background(), QColor(90, 120, 150));
    dialog.But_RenkTamam_Click();
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(90, 120, 150));
    EXPECT_EQ(window->colourRecord.red, 90);
    EXPECT_EQ(colourSlotOnDisk(folder), original);
    // The unit note is drawn again on the new background.
    EXPECT_NE(window->PicBirimNota->image(), unitNoteBefore);
    EXPECT_EQ(QColor(window->PicBirimNota->image().pixel(1, 1)), QColor(90, 120, 150));

    // Permanent: slot 256 keeps it, and its filler stays as it was.
    window->Mn_RenkZemin_Click();
    dialog.Check1->setChecked(true);
    dialog.HScroll2->setValue(33);
    dialog.But_RenkTamam_Click();
    RecordBytes kept = colourSlotOnDisk(folder);
    EXPECT_EQ(kept[0], 90);
    EXPECT_EQ(kept[1], 33);
    EXPECT_EQ(kept[2], 150);
    EXPECT_TRUE(std::equal(kept.begin() + 3, kept.end(), original.begin() + 3));

    // Revert to the default and keep it: 200, 185, 130 again, as the file came.
    window->Mn_RenkZemin_Click();
    dialog.Command1_Click();
    dialog.Check1->setChecked(true); // unticked at every opening
    dialog.But_RenkTamam_Click();
    EXPECT_EQ(colourSlotOnDisk(folder), original);

    // In English the dialog speaks English; closing it without Apply frees the window.
    window->Mn_Lisanlar->trigger();
    window->Mn_RenkZemin_Click();
    EXPECT_EQ(dialog.Check1->text(), QStringLiteral("Make Permanent  "));
    EXPECT_EQ(dialog.But_RenkTamam->text(), QStringLiteral("Apply "));
    dialog.close();
    EXPECT_TRUE(window->isEnabled());
}
