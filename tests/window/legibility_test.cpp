// Locked captions stay legible on whatever background the user chose.
#include "tests/support/window_fixture.h"

#include "window/colour.h"

#include <QGroupBox>

using namespace zerkavi;
using namespace zerkavi::testing;

class LegibleGreyTest : public ::testing::TestWithParam<QColor> {};

TEST_P(LegibleGreyTest, ReadsAtFourAndAHalfToOne) {
    const QColor grey = legibleGrey(GetParam());
    EXPECT_GE(contrastRatio(grey, GetParam()), 4.5) << grey.name().toStdString();
    EXPECT_EQ(grey.red(), grey.green());
}

INSTANTIATE_TEST_SUITE_P(Backgrounds, LegibleGreyTest,
                         ::testing::Values(QColor(200, 185, 130), QColor(255, 255, 255),
                                           QColor(0, 0, 0), QColor(90, 120, 150),
                                           QColor(128, 128, 128), QColor(255, 255, 0)));

TEST_F(WindowTest, LockedFrameTitlesKeepTheirContrastWhilePlaying) {
    ASSERT_TRUE(start());
    EXPECT_NEAR(contrastRatio(QColor(0xBE, 0xBE, 0xBE), QColor(200, 185, 130)), 1.05, 0.05);
    window->EkranKiliti(Lock::Playing);
    ASSERT_FALSE(window->Frame4->isEnabled());
    const QPalette p = window->Frame4->palette();
    EXPECT_GE(
        contrastRatio(p.color(QPalette::Disabled, QPalette::WindowText), p.color(QPalette::Window)),
        4.5);
}
