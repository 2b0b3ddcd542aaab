#include "tests/support/window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace zerkavi;
using namespace zerkavi::testing;

TEST_F(WindowTest, TempoBarPickerAndUnitNote) {
    ASSERT_TRUE(start());
    window->show();
    EXPECT_EQ(window->bpm(), 150);
    EXPECT_EQ(window->Label5->text(), QStringLiteral("=150"));
    window->VScroll1->setValue(window->VScroll1->minimum()); // the top: fastest
    EXPECT_EQ(window->Label5->text(), QStringLiteral("=250"));
    window->VScroll1->setValue(window->VScroll1->maximum());
    EXPECT_EQ(window->Label5->text(), QStringLiteral("=20"));

    // The picker opens on a click of the tempo label; row 2, column 7 is 120.
    QTest::mouseClick(window->Label5, Qt::LeftButton);
    ASSERT_TRUE(window->Picture8->isVisible());
    EXPECT_EQ(window->Picture8->geometry(), QRect(50, 620, 170, 67));
    QTest::mouseClick(window->Picture8, Qt::LeftButton, {}, QPoint(7 * 17 + 3, 2 * 17 + 16));
    EXPECT_FALSE(window->Picture8->isVisible());
    EXPECT_EQ(window->bpm(), 120);
    EXPECT_EQ(window->Label5->text(), QStringLiteral("=120"));
    window->Label5_Click();
    window->Picture8_MouseDown(0, 0);
    EXPECT_EQ(window->bpm(), 20);
    window->Label5_Click();
    window->Picture8_MouseDown(169, 66);
    EXPECT_EQ(window->bpm(), 208);
    // Not in Planned mode.
    window->Option4->setChecked(true);
    window->Label5_Click();
    EXPECT_FALSE(window->Picture8->isVisible());

    // The picker's cells: blue borders, white inside.
    const QImage& picker = window->Picture8->image();
    EXPECT_EQ(QColor(picker.pixel(17, 5)), QColor(Qt::blue));
    EXPECT_EQ(QColor(picker.pixel(1, 1)), QColor(Qt::white));

    // The unit note starts as the eighth and cycles back after three clicks.
    EXPECT_EQ(window->unitNote, 8);
    const QImage eighth = window->PicBirimNota->image();
    QTest::mouseClick(window->PicBirimNota, Qt::LeftButton);
    EXPECT_EQ(window->unitNote, 16);
    EXPECT_NE(window->PicBirimNota->image(), eighth);
    window->PicBirimNota_Click();
    EXPECT_EQ(window->unitNote, 4);
    window->PicBirimNota_Click();
    EXPECT_EQ(window->unitNote, 8);
    EXPECT_EQ(window->PicBirimNota->image(), eighth);
    // The glyph is ANDed onto the background: black ink somewhere, background elsewhere.
    bool ink = false;
    for (int y = 0; y < eighth.height(); ++y)
        for (int x = 0; x < eighth.width(); ++x)
            if (qGray(eighth.pixel(x, y)) < 60) ink = true;
    EXPECT_TRUE(ink);
    EXPECT_EQ(QColor(eighth.pixel(1, 1)), window->palette().color(QPalette::Window));
}

TEST_F(WindowTest, NoteMenuCarriesTwelvePictures) {
    ASSERT_TRUE(start());
    for (int i = 0; i <= 14; ++i) {
        const bool picture = i <= 5 || i >= 9;
        EXPECT_EQ(!window->menuPictures[std::size_t(i)].isNull(), picture) << i;
        if (!picture) continue;
        EXPECT_EQ(window->menuPictures[std::size_t(i)].height(), (i == 0 || i == 14) ? 26 : 24);
        EXPECT_FALSE(window->Mn_editNota[std::size_t(i)]->icon().isNull());
    }
    EXPECT_EQ(window->Mn_editNota[6]->text(), QString::fromUtf8("Düm Sil"));
    EXPECT_EQ(window->Mn_editNota[8]->text(), QString::fromUtf8("Tek Sil"));
}

TEST_F(WindowTest, ProgressDisplayAtTheStart) {
    ASSERT_TRUE(start());
    window->media.forceClock();
    window->playLengthMs = 1000;
    window->Label3->setText("x");
    window->TimerWav_Timer(); // nothing open: position 0
    EXPECT_EQ(window->Label3->text(), QStringLiteral("00.00.000"));
    const QImage bar = window->Picture2->image();
    for (int x = 0; x < bar.width(); ++x)
        ASSERT_NE(QColor(bar.pixel(x, bar.height() / 2)), QColor(0, 255, 0)) << x;
    EXPECT_FALSE(window->TimerWav->isActive()); // off until a plan plays
}
