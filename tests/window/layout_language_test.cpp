#include "tests/support/window_fixture.h"
#include "window/export_menu.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <map>
#include <string_view>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

bool enabled(QObject* o) {
    if (auto* w = qobject_cast<QWidget*>(o)) return w->isEnabled();
    if (auto* a = qobject_cast<QAction*>(o)) return a->isEnabled();
    if (auto* t = qobject_cast<QTimer*>(o)) return t->isActive();
    return false;
}

} // namespace

TEST_F(WindowTest, LanguageSwitchChangesEveryCaptionAndMessage) {
    ASSERT_TRUE(start());
    window->Mn_Lisanlar->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Zerkavi editor"));
    EXPECT_EQ(window->Mn_Lisanlar->text(), QStringLiteral("Turkce"));
    EXPECT_EQ(window->But_Sil->text(), QStringLiteral("Delete"));
    EXPECT_EQ(window->Frame5->title(), QStringLiteral(" Saved work plans "));
    EXPECT_EQ(window->Option1[3]->text(), QStringLiteral("Tambourine"));
    EXPECT_EQ(window->Mn_orta->title(), QStringLiteral("M (Mezzoforte)"));
    EXPECT_EQ(window->Mn_editNota[6]->text(), QStringLiteral("Del RH"));
    EXPECT_EQ(window->Command1->text(), QStringLiteral("Pause"));
    EXPECT_TRUE(window->Text1->toPlainText().endsWith(
        QStringLiteral("THIS WORK PLAN WILL BE INDICATED AS SPECIFIED BELOW")));
    for (int i = 1; i <= kLastMessage; ++i)
        EXPECT_EQ(window->messageText(Message(i)),
                  languageTexts(Language::English).message[Message(i)])
            << i;
    EXPECT_TRUE(window->messageText(Message(11)).empty());
    EXPECT_TRUE(window->messageText(Message(12)).empty());

    // Every caption of the table reached its control.
    for (const Caption& c : captionTable()) {
        const QString name = QString::fromUtf8(c.control);
        if (name == window->objectName()) continue;
        bool found = false;
        for (QObject* o : window->allControls)
            if (o->objectName() == name) found = true;
        EXPECT_TRUE(found) << c.control;
    }

    window->Mn_Lisanlar->trigger();
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Zerkavi editörü"));
    EXPECT_EQ(window->But_Sil->text(), QStringLiteral("S i l"));
    EXPECT_EQ(window->Label2->text(),
              QString::fromUtf8("Bölüm adı                           Usul Nr    Tekrar    Birim "
                                "    Metronom "));
    for (int i = 1; i <= kLastMessage; ++i)
        EXPECT_EQ(window->messageText(Message(i)),
                  languageTexts(Language::Turkish).message[Message(i)])
            << i;

    // A paused plan keeps "Continue" across a switch.
    window->planPaused = true;
    window->Mn_Lisanlar->trigger();
    EXPECT_EQ(window->Command1->text(), QStringLiteral("Continue"));

    // Any other caption on the language entry does nothing.
    window->Mn_Lisanlar->setText(QStringLiteral("english"));
    window->Mn_Lisanlar->trigger();
    EXPECT_EQ(window->But_Sil->text(), QStringLiteral("Delete"));
}

TEST_F(WindowTest, AboutAndHelpShowTheirTexts) {
    ASSERT_TRUE(start());
    messages.answer = false; // the guide offer after Help is declined here
    window->Mn_bilgi->trigger();
    window->Mn_yardm->trigger();
    ASSERT_EQ(messages.shown.size(), 2);
    EXPECT_EQ(messages.shown[0], QString::fromStdString(window->messageText(Message::aboutText)));
    EXPECT_EQ(messages.shown[1], QString::fromStdString(window->messageText(Message::helpText)));
    EXPECT_TRUE(messages.shown[1].startsWith(QString::fromUtf8("Proğramın kullanımı")));
}

TEST_F(WindowTest, LayoutPlacesThePlanFramesJustBelowTheWindow) {
    ASSERT_TRUE(start());
    window->show();
    const int inner = window->innerHeight();
    EXPECT_EQ(window->central->height(), inner);
    for (QGroupBox* f : {window->Frame5, window->Frame10, window->Frame9}) {
        EXPECT_EQ(f->y(), inner + 2) << f->objectName().toStdString();
        EXPECT_FALSE(window->central->rect().intersects(f->geometry()));
    }
    EXPECT_EQ(window->Frame5->x(), window->VScroll1->x());
    EXPECT_EQ(window->Frame10->x(), window->Frame5->x() + window->Frame5->width());
    EXPECT_EQ(window->Frame9->x(), window->Frame10->x() + window->Frame10->width());
    EXPECT_LE(window->Frame9->x() + window->Frame9->width(), 1024);
    EXPECT_EQ(window->Picture1->x(), 26);
    EXPECT_EQ(window->Picture1->width(), 964);
    EXPECT_EQ(window->Picture5->geometry(), QRect(26, 12, 964, 528));
    EXPECT_EQ(window->Picture3->geometry(), QRect(110, 40, 837, 430));
    EXPECT_EQ(window->Picture4->geometry(), QRect(30, 30, 960, 512));
    // The usul table leaves the top bar in sight.
    EXPECT_GE(window->Picture4->y(), window->Frame3->y() + window->Frame3->height());

    // Every visible control lies inside the window's client area.
    for (QObject* o : window->allControls) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || !w->isVisible() || w->parentWidget() != window->central) continue;
        if (w == window->Frame5 || w == window->Frame9 || w == window->Frame10) continue;
        EXPECT_TRUE(window->central->rect().contains(w->geometry()))
            << w->objectName().toStdString();
    }
}

TEST_F(WindowTest, OpeningEffectWithOneStepCoversThePanel) {
    ASSERT_TRUE(start());
    window->show();
    const QColor background = window->palette().color(QPalette::Window);
    window->AcEfekt(window->Picture3, 1);
    const QImage& frame = window->lastEffectFrame;
    const QRect r = window->Picture3->geometry();
    // One rectangle in the background colour over the whole panel, outlined by the pen.
    EXPECT_EQ(QColor(frame.pixel(r.center())), background);
    EXPECT_EQ(QColor(frame.pixel(r.left() + 5, r.top() + 5)), background);
    EXPECT_EQ(QColor(frame.pixel(r.left(), r.top())), QColor(Qt::black));
    EXPECT_EQ(QColor(frame.pixel(r.right(), r.bottom())), QColor(Qt::black));
    EXPECT_NE(QColor(frame.pixel(r.left() - 3, r.center().y())), QColor(Qt::black));
    EXPECT_EQ(window->Picture3->background(), background);

    // The work-plan panel button runs it and disables itself; the image button undoes it.
    window->Command2_Click();
    EXPECT_TRUE(window->Picture3->isVisible());
    EXPECT_FALSE(window->Picture4->isVisible());
    EXPECT_FALSE(window->Command2->isEnabled());
    window->Image3_Click();
    EXPECT_FALSE(window->Picture3->isVisible());
    EXPECT_TRUE(window->Picture4->isVisible());
    EXPECT_TRUE(window->Command2->isEnabled());
}

TEST_F(WindowTest, ControlLockStates) {
    ASSERT_TRUE(start());
    window->show();
    ArayüzKalıp& w = *window;

    // 1: only the Play frame and Stop.
    w.EkranKiliti(Lock(1));
    EXPECT_TRUE(w.But_Dur->isEnabled());
    EXPECT_TRUE(w.Frame2->isEnabled());
    EXPECT_FALSE(w.But_Baslat->isEnabled());
    EXPECT_FALSE(w.Option3->isEnabled());
    EXPECT_FALSE(w.VScroll1->isEnabled());
    EXPECT_FALSE(w.Mn_volüm->menuAction()->isEnabled());
    EXPECT_FALSE(w.Mn_Lisanlar->isEnabled());
    EXPECT_FALSE(w.But_yükle->isEnabled());

    // 3 with a built-in usul: Start on, Stop and the editing buttons off.
    w.currentSlot = 17;
    w.EkranKiliti(Lock(3));
    EXPECT_TRUE(w.But_Baslat->isEnabled());
    EXPECT_FALSE(w.But_Dur->isEnabled());
    for (QWidget* b : editingButtons(w))
        EXPECT_FALSE(b->isEnabled());
    EXPECT_TRUE(w.Mn_Lisanlar->isEnabled());
    // 2 acts as 3; with a user slot the editing buttons come on.
    w.currentSlot = 230;
    w.EkranKiliti(Lock(2));
    for (QWidget* b : editingButtons(w))
        EXPECT_TRUE(b->isEnabled());
    EXPECT_FALSE(w.But_Dur->isEnabled());

    // 5: only the usul list reacts.
    w.List1->show();
    w.EkranKiliti(Lock(5));
    for (QObject* o : w.allControls) {
        if (o != w.List1) {
            EXPECT_FALSE(enabled(o)) << o->objectName().toStdString();
        }
    }
    EXPECT_TRUE(w.List1->isEnabled());
    // 4: list hidden, notation shown, everything back.
    w.EkranKiliti(Lock(4));
    EXPECT_FALSE(w.List1->isVisible());
    EXPECT_TRUE(w.Picture1->isVisible());
    EXPECT_TRUE(w.But_Baslat->isEnabled());

    // 7 and 6 for the save list.
    w.List2->show();
    w.EkranKiliti(Lock(7));
    EXPECT_TRUE(w.List2->isEnabled());
    EXPECT_FALSE(w.List1->isEnabled());
    EXPECT_FALSE(w.But_farklı->isEnabled());
    w.EkranKiliti(Lock(6));
    EXPECT_FALSE(w.List2->isVisible());
    EXPECT_TRUE(w.But_farklı->isEnabled());

    // 8 leaves the usul controls as they are; 9 reverses the plan controls.
    w.currentSlot = 17;
    w.EkranKiliti(Lock(3));
    w.EkranKiliti(Lock(8));
    EXPECT_TRUE(w.But_Baslat->isEnabled());
    EXPECT_FALSE(w.But_kaydet->isEnabled());
    EXPECT_FALSE(w.Command4->isEnabled());
    EXPECT_FALSE(w.Text14->isEnabled());
    EXPECT_FALSE(w.Option2->isEnabled());
    EXPECT_TRUE(w.Command3->isEnabled());
    EXPECT_TRUE(w.Command1->isEnabled());
    w.EkranKiliti(Lock(9));
    EXPECT_TRUE(w.Command4->isEnabled());
    EXPECT_TRUE(w.List3->isEnabled());
    EXPECT_FALSE(w.Command3->isEnabled());
    EXPECT_FALSE(w.Command1->isEnabled());

    // Values outside 1..9 change nothing; timers keep their state in 3.
    w.TimerWav->start();
    w.EkranKiliti(Lock(3));
    EXPECT_TRUE(w.TimerWav->isActive());
    w.EkranKiliti(Lock(1));
    EXPECT_FALSE(w.TimerWav->isActive());
    const bool before = w.But_Baslat->isEnabled();
    w.EkranKiliti(Lock(0));
    w.EkranKiliti(Lock(10));
    EXPECT_EQ(w.But_Baslat->isEnabled(), before);
}

TEST_F(WindowTest, EveryNamedControlExists) {
    ASSERT_TRUE(start());
    // Object names are unique, and every control the caption table names exists once.
    std::map<QString, int> count;
    for (QObject* o : window->allControls)
        ++count[o->objectName()];
    for (const auto& [name, n] : count)
        EXPECT_EQ(n, 1) << name.toStdString();
    for (const Caption& c : captionTable())
        if (std::string_view(c.control) != "ArayüzKalıp") {
            EXPECT_EQ(count[QString::fromUtf8(c.control)], 1) << c.control;
        }
    // The bar: the note menu first, then export, loudness, language, colour, help, about.
    const auto actions = window->menuBar()->actions();
    ASSERT_GE(actions.size(), 7);
    EXPECT_EQ(actions[0], window->Mn_edit->menuAction());
    EXPECT_EQ(actions[1], window->exportMenu->menu->menuAction());
    EXPECT_EQ(actions[2], window->Mn_volüm->menuAction());
    EXPECT_EQ(actions[3], window->Mn_Lisanlar);
    EXPECT_EQ(actions[6], window->Mn_bilgi);
    EXPECT_EQ(window->Mn_Oseviye[5]->text(), QStringLiteral("50 %"));
    EXPECT_EQ(window->Label5->text(), QStringLiteral("=150"));
    EXPECT_EQ(window->Command1->text(), QStringLiteral("Bekle"));
}

TEST_F(WindowTest, TheNoteMenuStyleGoesWithTheWindow) {
    ASSERT_TRUE(start());
    const QPointer<QStyle> style = window->Mn_edit->style();
    window.reset();
    EXPECT_TRUE(style.isNull());
}
