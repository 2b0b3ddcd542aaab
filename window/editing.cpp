// Editing the usul with the mouse on the notation, and the buttons that reshape it.
#include "window/arayuz_kalip.h"

#include "notation/duration_ops.h"
#include "notation/geometry.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

namespace zerkavi {

void ArayüzKalıp::connectEditing() {
    popUp = [](QMenu* menu, QPoint at) { menu->exec(at); };
    Picture1->setMouseTracking(true);
    Picture1->installEventFilter(this);
    Label1->installEventFilter(this);
    for (int i = 0; i < kNoteChoices; ++i)
        if (i != 7)
            connect(Mn_editNota[std::size_t(i)], &QAction::triggered, this,
                    [this, i] { Mn_editNota_Click(i); });
    for (int i = 0; i < kSyllableChoices; ++i)
        connect(Mn_metin[std::size_t(i)], &QAction::triggered, this,
                [this, i] { Mn_metin_Click(i); });
    connect(But_Temizle, &QPushButton::clicked, this, [this] { But_Temizle_Click(); });
    connect(But_mertebe[0], &QPushButton::clicked, this, [this] { But_mertebe_Click(0); });
    connect(But_mertebe[1], &QPushButton::clicked, this, [this] { But_mertebe_Click(1); });
    connect(But_uzat, &QPushButton::clicked, this, [this] { But_uzat_Click(); });
    connect(But_kısalt, &QPushButton::clicked, this, [this] { But_kısalt_Click(); });
    connect(But_optimize, &QPushButton::clicked, this, [this] { But_optimize_Click(); });
}

bool ArayüzKalıp::editingEvent(QObject* watched, QEvent* event) {
    if (watched == Picture1) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            Picture1_MouseDown(mouse->button(), mouse->position().x(), mouse->position().y());
            return true;
        }
        if (event->type() == QEvent::MouseMove) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            Picture1_MouseMove(mouse->position().x(), mouse->position().y());
            return true;
        }
    }
    if (watched == Label1 && event->type() == QEvent::MouseButtonPress) {
        göster();
        return true;
    }
    return false;
}

void ArayüzKalıp::Picture1_MouseDown(Qt::MouseButton button, double x, double y) {
    if (currentSlot == 0) {
        showMessage(Message::loadAnUsulFirst);
        return;
    }
    const PressHit hit = hitTestPress(x, y);
    if (hit.kind == PressHit::Kind::Nothing) return;
    currentHalka = hit.circle;
    const PressAction action = pressAction(hit, button == Qt::LeftButton);
    // The pop-ups open above the press, at the press's X taken as a window coordinate.
    const int top = Picture1->y();
    if (action == PressAction::OpenNoteMenu)
        popUp(Mn_edit, central->mapToGlobal(QPoint(int(x), top + int(y) - 168)));
    else if (action == PressAction::OpenSyllableMenu)
        popUp(Mn_metinler, central->mapToGlobal(QPoint(int(x), top + int(y) - 75)));
    else
        applyPress(currentUsul, hit.circle, action);
    göster();
}

void ArayüzKalıp::Picture1_MouseMove(double x, double y) {
    Picture1->box(0, 0, 30, 30, Qt::white, true);
    if (const int n = hitTestMove(x, y)) {
        currentHalka = n;
        Picture1->text(10, 10, QString::number(n), Qt::black);
    }
}

void ArayüzKalıp::Mn_editNota_Click(int index) {
    if (chooseNote(currentUsul, currentHalka, index)) göster();
}

void ArayüzKalıp::Mn_metin_Click(int index) {
    if (chooseSyllable(currentUsul, currentHalka, index)) göster();
}

void ArayüzKalıp::But_Temizle_Click() {
    clearCircles(currentUsul);
    setLabel1(QStringLiteral("0"));
    showEmptyFields();
}

void ArayüzKalıp::But_mertebe_Click(int index) {
    if (scaleDurations(currentUsul, index == 0 ? Scaling::Double : Scaling::Halve) ==
        ScalingResult::Refused) {
        showMessage(Message::durationsAtLimit);
        return;
    }
    göster();
}

void ArayüzKalıp::But_uzat_Click() {
    if (expandLayout(halvingTable, currentUsul)) göster();
}

void ArayüzKalıp::But_kısalt_Click() {
    if (compressLayout(halvingTable, currentUsul)) göster();
}

void ArayüzKalıp::But_optimize_Click() {
    if (autoLayout(halvingTable, currentUsul)) göster();
}

} // namespace zerkavi
