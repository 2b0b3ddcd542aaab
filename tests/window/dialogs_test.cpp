// Dialogs belong to the main window and speak its language; a saved picture says where.
#include "tests/support/window_fixture.h"

#include "window/colour.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

QString okAndCancel() {
    QMessageBox box(QMessageBox::Question, QString(), QString(),
                    QMessageBox::Ok | QMessageBox::Cancel);
    return box.button(QMessageBox::Ok)->text() + "|" + box.button(QMessageBox::Cancel)->text();
}

} // namespace

TEST_F(WindowTest, TheColourDialogBelongsToTheWindowAndStartsUnticked) {
    ASSERT_TRUE(start());
    window->Mn_RenkZemin->trigger();
    FRenk& dialog = *window->colourDialog;
    EXPECT_EQ(dialog.parentWidget(), window.get());
    EXPECT_TRUE(dialog.isWindow());
    EXPECT_TRUE(dialog.isEnabled()) << "usable while the main window waits";
    EXPECT_FALSE(dialog.Check1->isChecked());
    dialog.Check1->setChecked(true);
    dialog.But_RenkTamam_Click();
    window->Mn_RenkZemin->trigger();
    EXPECT_FALSE(dialog.Check1->isChecked()) << "ticked again only on purpose";
}

TEST_F(WindowTest, QtsOwnButtonsFollowTheLanguage) {
    ASSERT_TRUE(start());
    if (okAndCancel() == QStringLiteral("OK|Cancel"))
        GTEST_SKIP() << "Qt's Turkish translations (qt6-translations-l10n) are not installed";
    EXPECT_EQ(okAndCancel(), QStringLiteral("Tamam|İptal"));
    window->Mn_Lisanlar->trigger();
    EXPECT_EQ(okAndCancel(), QStringLiteral("OK|Cancel"));
    window->Mn_Lisanlar->trigger();
    EXPECT_EQ(okAndCancel(), QStringLiteral("Tamam|İptal"));
}

TEST_F(WindowTest, ASavedPictureNamesItsFileInTheLanguageOfTheWindow) {
    ASSERT_TRUE(start());
    window->But_yükle_Click();
    window->List1_Pick(31, Qt::LeftButton); // Düyek
    window->But_JPG->click();
    const QString file = QString::fromStdString((folder / "zrkv" / "8-8  Duyek.jpg").string());
    ASSERT_TRUE(std::filesystem::exists(file.toStdString())) << file.toStdString();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0], QString::fromUtf8("Resim şu dosyaya kaydedildi:\n") + file);
    window->Mn_Lisanlar->trigger();
    window->But_JPG->click();
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.shown[1], QStringLiteral("The picture was saved as\n") + file);
}
