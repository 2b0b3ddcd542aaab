// The keyboard: shortcuts shown in a menu of their own, the usul lists and the metronome
// picker answered from the keyboard, and the lists opening on the current slot.
#include "window/arayuz_kalip.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

namespace zerkavi {

void ArayüzKalıp::createKeyboard() {
    Mn_klavye = new QMenu(this);
    Mn_klavye->setObjectName(QStringLiteral("Mn_klavye"));
    Mn_klavye->menuAction()->setObjectName(QStringLiteral("Mn_klavye"));
    // The menu is locked with the others; the keys decide by the controls they stand for.
    allControls.push_back(Mn_klavye->menuAction());
    menuBar()->addMenu(Mn_klavye);
    auto key = [this](const char* name, const QKeySequence& keys, auto handler) {
        QAction* a = Mn_klavye->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(keys);
        // Also on the window, so the keys work while the menu itself is locked.
        addAction(a);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    Key_BaslatDur = key("Key_BaslatDur", QKeySequence(Qt::Key_Space), [this] { spacePressed(); });
    Key_kapat = key("Key_kapat", QKeySequence(Qt::Key_Escape), [this] { escapePressed(); });
    Mn_klavye->addSeparator();
    Key_önceki = key("Key_önceki", QKeySequence(Qt::Key_Left), [this] {
        if (But_önceki->isEnabled()) But_önceki_Click();
    });
    Key_sonraki = key("Key_sonraki", QKeySequence(Qt::Key_Right), [this] {
        if (But_sonraki->isEnabled()) But_sonraki_Click();
    });
    Mn_klavye->addSeparator();
    Key_hızlı = key("Key_hızlı", QKeySequence(Qt::Key_Plus), [this] { tempoStep(1); });
    Key_yavaş = key("Key_yavaş", QKeySequence(Qt::Key_Minus), [this] { tempoStep(-1); });
    // Keys of the lists: Enter loads, Escape closes; arrows, pages and the wheel move.
    List1->installEventFilter(this);
    List2->installEventFilter(this);
}

void ArayüzKalıp::applyKeyboardCaptions() {
    const bool en = language == Language::English;
    Mn_klavye->setTitle(en ? QStringLiteral("Keys") : QStringLiteral("Klavye"));
    Key_BaslatDur->setText(en ? QStringLiteral("Start / Stop") : QString::fromUtf8("Başla / Dur"));
    Key_kapat->setText(en ? QStringLiteral("Close the list or the picker")
                          : QString::fromUtf8("Listeyi veya seçiciyi kapat"));
    Key_önceki->setText(en ? QStringLiteral("Previous usul") : QString::fromUtf8("Önceki usul"));
    Key_sonraki->setText(en ? QStringLiteral("Next usul") : QStringLiteral("Sonraki usul"));
    Key_hızlı->setText(en ? QStringLiteral("Tempo +1") : QStringLiteral("Tempo +1"));
    Key_yavaş->setText(en ? QStringLiteral("Tempo -1") : QStringLiteral("Tempo -1"));
}

void ArayüzKalıp::spacePressed() {
    if (Option4->isChecked()) {
        // In Planned mode the key plays and stops the plan.
        if (Command3->isEnabled())
            Command3_Click();
        else if (Command4->isEnabled())
            Command4_Click();
        return;
    }
    if (But_Dur->isEnabled())
        But_dur_Click();
    else if (But_Baslat->isEnabled())
        But_Baslat_Click();
}

void ArayüzKalıp::escapePressed() {
    if (Picture8->isVisible()) {
        closePicker();
    } else if (List1->isVisible()) {
        List1_Pick(List1->currentRow(), Qt::RightButton);
    } else if (List2->isVisible()) {
        List2_Pick(List2->currentRow(), Qt::RightButton);
    }
}

void ArayüzKalıp::tempoStep(int bpmStep) {
    // A higher tempo stands higher on the bar, where its value is lower.
    if (VScroll1->isEnabled()) VScroll1->setValue(VScroll1->value() - bpmStep);
}

void ArayüzKalıp::openListAt(QListWidget* list, int firstSlot) {
    const int row = currentSlot >= firstSlot && currentSlot - firstSlot < list->count()
                        ? currentSlot - firstSlot
                        : 0;
    list->setCurrentRow(row);
    list->setFocus();
    const auto scroll = [list, row] {
        list->scrollToItem(list->item(row), QAbstractItemView::PositionAtCenter);
    };
    scroll();
    // A list just shown is laid out later; it is scrolled again then.
    QTimer::singleShot(0, list, scroll);
}

void ArayüzKalıp::openPicker() {
    if (!Picture8->isVisible() || pickerWatched_) return;
    // A press anywhere else closes the picker without a change.
    qApp->installEventFilter(this);
    pickerWatched_ = true;
}

void ArayüzKalıp::closePicker() {
    Picture8->hide();
    if (pickerWatched_) qApp->removeEventFilter(this);
    pickerWatched_ = false;
}

bool ArayüzKalıp::keyboardEvent(QObject* watched, QEvent* event) {
    if (pickerWatched_) {
        if (!Picture8->isVisible()) {
            closePicker();
        } else if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() &&
                   watched != Picture8) {
            closePicker();
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && (watched == List1 || watched == List2)) {
        auto* list = static_cast<QListWidget*>(watched);
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool load = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (!load && key != Qt::Key_Escape) return false;
        // Enter picks as the left button does; Escape closes as another button does.
        const Qt::MouseButton button = load ? Qt::LeftButton : Qt::RightButton;
        if (list == List1)
            List1_Pick(list->currentRow(), button);
        else
            List2_Pick(list->currentRow(), button);
        return true;
    }
    return false;
}

} // namespace zerkavi
