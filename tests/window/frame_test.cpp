// The window on a real 1024 x 768 X screen with a window manager (tests/support/
// frame_main.cpp starts Xvfb and openbox): the whole frame fits and is centred, every
// control lies inside the inner area, and the colour dialog stays in front.
#include "tests/support/window_fixture.h"

#include "window/colour.h"

using namespace zerkavi;
using namespace zerkavi::testing;

namespace zerkavi::testing {
extern std::string frameProblem;
QString toolOutput(const QString& program, const QStringList& args);
} // namespace zerkavi::testing

namespace {

class FrameTest : public WindowTest, public ::testing::WithParamInterface<Language> {
  protected:
    void SetUp() override {
        if (!frameProblem.empty()) GTEST_SKIP() << frameProblem;
        WindowTest::SetUp();
        window = std::make_unique<ArayüzKalıp>(folder, messages); // the real screen
        ASSERT_TRUE(window->startUp());
        if (GetParam() == Language::English) window->Mn_Lisanlar->trigger();
        window->show();
        // Framed by the window manager, then fitted.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return window->frameGeometry().size() != window->size() &&
                       window->frameGeometry().height() == 768;
            },
            10000))
            << "frame " << window->frameGeometry().height() << " high";
        QTest::qWait(200);
    }
    // Every visible control of the window lies inside the inner area (the plan frames
    // only when they are up), and those of `lowest` inside the screen.
    void expectAllInside(const std::vector<QWidget*>& lowest, bool planFramesUp) {
        const QRect inner = window->central->rect();
        for (QObject* o : window->allControls) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || !w->isVisible() || w->isWindow()) continue;
            bool inPlanFrame = false;
            for (QWidget* f : {window->Frame5, window->Frame9, window->Frame10})
                if (f == w || f->isAncestorOf(w)) inPlanFrame = true;
            if (inPlanFrame && !planFramesUp) continue;
            const QRect r(w->mapTo(window->central, QPoint(0, 0)), w->size());
            EXPECT_TRUE(inner.contains(r)) << w->objectName().toStdString() << " at " << r.x()
                                           << "," << r.y() << " " << r.width() << "x" << r.height();
        }
        const QRect screen = window->screen()->geometry();
        for (QWidget* w : lowest) {
            const QRect r(w->mapToGlobal(QPoint(0, 0)), w->size());
            EXPECT_TRUE(screen.contains(r)) << w->objectName().toStdString();
        }
    }
};

} // namespace

TEST_P(FrameTest, TheWholeWindowFitsTheScreenInEveryMode) {
    EXPECT_EQ(window->screen()->geometry(), QRect(0, 0, 1024, 768));
    EXPECT_EQ(window->frameGeometry(), QRect(0, 0, 1024, 768));
    expectAllInside({window->Frame2, window->Option3, window->But_JPG, window->Frame7}, false);
    // The four-row usul stays between the band and the strip.
    window->But_yükle_Click();
    window->List1_Pick(157, Qt::LeftButton);
    EXPECT_GE(window->Picture1->y(), window->Frame3->geometry().bottom() + 1);
    EXPECT_LE(window->Picture1->geometry().bottom(), window->stripTop() - 1);

    window->slideWaitMs = 0;
    window->Option4->click();
    expectAllInside({window->Command1, window->Label3, window->Frame9}, true);
}

TEST_P(FrameTest, TheColourDialogStaysInFrontOfTheWindow) {
    window->Mn_RenkZemin->trigger();
    FRenk& dialog = *window->colourDialog;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QString mainId = QString::number(window->winId());
    const QString dialogId = QString::number(dialog.winId());
    // A click on the main window: the window manager raises it, but not above its dialog.
    const QPoint at = window->mapToGlobal(QPoint(100, 300));
    toolOutput(QStringLiteral("xdotool"),
               {"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
    QTest::qWait(300);
    const QString stacking =
        toolOutput(QStringLiteral("xprop"), {"-root", "_NET_CLIENT_LIST_STACKING"});
    QStringList ids;
    for (const QString& hex : stacking.section(QLatin1Char('#'), 1).split(QLatin1Char(',')))
        ids << QString::number(hex.trimmed().toULongLong(nullptr, 16));
    ASSERT_TRUE(ids.contains(mainId) && ids.contains(dialogId)) << stacking.toStdString();
    EXPECT_GT(ids.indexOf(dialogId), ids.indexOf(mainId)) << "the dialog went behind";
    EXPECT_TRUE(dialog.isVisible());
    dialog.But_RenkTamam_Click();
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, FrameTest,
                         ::testing::Values(Language::Turkish, Language::English),
                         [](const auto& info) {
                             return info.param == Language::English ? "English" : "Turkish";
                         });
