// Takes the screenshots of docs/: starts the real window (run it under Xvfb with a window
// manager, on the smallest screen the program accepts), loads usuls through the same
// handlers a click uses, and saves what the screen shows, window frame included.
//
//   cmake --build build --target screenshots
//   xvfb-run -a -s "-screen 0 1024x768x24" sh -c \
//     'openbox & sleep 1; build/screenshots docs/screenshots; kill %1'
#include "platform/message_boxes.h"
#include "window/arayuz_kalip.h"
#include "window/practice_menu.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshots OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    const QString folder = QDir::tempPath() + "/zerkavi-screenshots";
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    // A first start, whatever the user running this chose before.
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder + "/config");
    zerkavi::ModalMessageBoxes messages;
    int rc = 0;
    {
        zerkavi::ArayüzKalıp window(folder.toStdString(), messages);
        if (!window.startUp()) return 1;
        window.show();
        // The window manager frames the window, which then fits itself into the screen.
        if (!QTest::qWaitFor(
                [&] {
                    return window.frameGeometry().size() != window.size() &&
                           window.frameGeometry().height() == 768;
                },
                10000))
            std::fprintf(stderr, "no window manager framed the window\n");
        QTest::qWait(500);
        auto shoot = [&](const QString& name) {
            QTest::qWait(300);
            const QRect r = window.frameGeometry();
            QGuiApplication::primaryScreen()
                ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
                .save(out + "/" + name + ".png");
        };
        shoot("start-tr");
        // Düyek playing: the marker on its second stroke, everything but Stop locked.
        window.media.forceClock();
        window.But_yükle_Click();
        window.List1_Pick(31, Qt::LeftButton);
        window.But_Baslat_Click();
        QTest::qWait(500);
        shoot("playing-tr");
        window.But_dur_Click();
        for (const char* lang : {"tr", "en"}) {
            if (QString(lang) == "en") window.Mn_Lisanlar->trigger();
            for (int slot : {32, 164, 158}) {
                window.But_yükle_Click();
                if (slot == 32 && QString(lang) == "tr") shoot("list-tr");
                window.List1_Pick(slot - 1, Qt::LeftButton);
                shoot(QString("slot%1-%2").arg(slot, 3, 10, QChar('0')).arg(lang));
            }
            // The Practice menu open, with a count-in of four and the beat click chosen.
            window.practice->countInItems[4]->setChecked(true);
            window.practice->clickItem->setChecked(true);
            window.menuBar()->setActiveAction(window.practice->menu->menuAction());
            shoot(QString("practice-menu-%1").arg(lang));
            window.practice->menu->hide();
            window.practice->countInItems[0]->setChecked(true);
            window.practice->clickItem->setChecked(false);
        }
        // The plan screen with the worked example saved and opened, then its example panel.
        window.slideWaitMs = 0;
        window.Option4->click();
        window.Text9->setText(QStringLiteral("Muhammes pesrevi"));
        window.Text14->setPlainText(QStringLiteral("1.Hane 165 2 4 84\nTeslim 165 1 4 84\n"
                                                   "Teslim 165 -48 4 84\nFinal 165 49- 4 84>50\n"));
        window.Command8_Click();
        window.File1->setCurrentRow(0);
        window.File1->item(0)->setSelected(true);
        window.File1_Click();
        shoot("plan-en");
        window.Command2_Click();
        shoot("plan-panel-en");
        window.Image3_Click();
        // The plan playing, in its second section, in both languages.
        for (const char* lang : {"en", "tr"}) {
            if (QString(lang) == "tr") window.Mn_Lisanlar->trigger();
            window.List3->setCurrentRow(1);
            window.Command4->click();
            QTest::qWait(2500);
            shoot(QString("plan-playing-%1").arg(lang));
            window.Command3->click();
        }
        shoot("plan-tr");
        window.shutDown();
    }
    std::fflush(nullptr);
    std::_Exit(rc);
}
