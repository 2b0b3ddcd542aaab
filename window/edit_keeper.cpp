#include "window/edit_keeper.h"

#include "window/arayuz_kalip.h"

#include <QAction>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

namespace zerkavi {

EditKeeper::EditKeeper(ArayüzKalıp& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("editKeeper"));
    auto action = [&](const char* name, QList<QKeySequence> keys, void (EditKeeper::*run)()) {
        auto* a = new QAction(&window);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcuts(keys);
        window.addAction(a);
        connect(a, &QAction::triggered, this, run);
        return a;
    };
    undoAction = action("Key_geriAl", {QKeySequence::Undo}, &EditKeeper::undo);
    redoAction =
        action("Key_yinele",
               {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
               &EditKeeper::redo);
    watch = new QTimer(this);
    connect(watch, &QTimer::timeout, this, &EditKeeper::record);
    watch->start(100);
}

bool EditKeeper::editing() const {
    // A playing usul or plan, or the plan screen, loads usuls that are not edits.
    return window_.currentSlot != 0 && !window_.usulPlaying && !window_.planHoldsWindow() &&
           !window_.Option4->isChecked();
}

UsulState EditKeeper::state() const {
    return {window_.currentUsul, window_.Text2->text().toStdString(),
            window_.Text3->text().toStdString(), window_.Text5->text().toStdString()};
}

void EditKeeper::record() {
    if (!editing()) return;
    if (window_.currentSlot != slot_) {
        slot_ = window_.currentSlot;
        history_.reset(state());
        return;
    }
    history_.record(state());
}

void EditKeeper::show(const UsulState& s) {
    window_.currentUsul = s.usul;
    for (auto [field, text] :
         {std::pair{window_.Text2, &s.numerator}, std::pair{window_.Text3, &s.mertebe},
          std::pair{window_.Text5, &s.name}})
        field->setText(QString::fromStdString(*text));
    window_.göster();
}

void EditKeeper::undo() {
    // Built-in usuls cannot be changed on screen, so there is nothing to take back there.
    if (!editing() || window_.currentSlot < kFirstUserSlot) return;
    record();
    if (const auto s = history_.undo()) show(*s);
}

void EditKeeper::redo() {
    if (!editing() || window_.currentSlot < kFirstUserSlot) return;
    record();
    if (const auto s = history_.redo()) show(*s);
}

void EditKeeper::saved() {
    if (editing()) history_.markSaved(state());
}

bool EditKeeper::mayLeave() {
    record();
    if (window_.currentSlot < kFirstUserSlot || slot_ != window_.currentSlot ||
        !history_.modified())
        return true;
    const bool en = window_.language == Language::English;
    if (!window_.messageBoxes().confirm(
            en ? QStringLiteral("This usul was changed and not saved. Leave it without saving?")
               : QString::fromUtf8("Bu usul değişti ve kaydedilmedi. Kaydetmeden bırakılsın mı?")))
        return false;
    history_.reset(state()); // the user gave the changes up
    return true;
}

bool mayLeaveUsul(ArayüzKalıp& window) {
    auto* keeper = window.findChild<EditKeeper*>();
    return !keeper || keeper->mayLeave();
}

} // namespace zerkavi
