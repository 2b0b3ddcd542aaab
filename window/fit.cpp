// The window on the screen: the whole window, frame included, is 1024 x 768 and centred;
// the controls are laid out for the inner area the window manager leaves.
#include "window/arayuz_kalip.h"

#include "notation/geometry.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>

namespace zerkavi {

int ArayüzKalıp::stripTop() const {
    return innerHeight() - kStripHeight - 2;
}

void ArayüzKalıp::placeStrip() {
    const int top = stripTop();
    for (QWidget* f : {static_cast<QWidget*>(Frame2), static_cast<QWidget*>(Frame1),
                       static_cast<QWidget*>(Frame4), static_cast<QWidget*>(Frame7)})
        f->move(f->x(), top);
    VScroll1->move(VScroll1->x(), top + 4);
    PicBirimNota->move(PicBirimNota->x(), top + 14);
    Label5->move(Label5->x(), top + 26);
    But_baskı->move(But_baskı->x(), top + 14);
    But_JPG->move(But_JPG->x(), top + 54);
    // The frame titles stay above the notation, which is white where it ends; the lists
    // and the plan panels and frames keep their places above both.
    Picture1->lower();
}

void ArayüzKalıp::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!started_ || frameWatch_) return;
    // Where the frame is known at once the window fits before anything else happens;
    // a window manager frames the window a moment after it is shown.
    if (frameGeometry().size() != geometry().size()) {
        fitFrameToScreen();
        return;
    }
    frameWatch_ = new QTimer(this);
    frameWatch_->setInterval(20);
    connect(frameWatch_, &QTimer::timeout, this, [this] {
        if (frameGeometry().size() != geometry().size()) {
            frameWatch_->stop();
            fitFrameToScreen();
        } else if (++frameChecks_ > 500) {
            frameWatch_->stop(); // no frame within 10 s: nothing to fit
        }
    });
    frameWatch_->start();
}

void ArayüzKalıp::fitFrameToScreen() {
    const QSize frame = frameGeometry().size(), client = geometry().size();
    const QSize inner(1024 - (frame.width() - client.width()),
                      768 - (frame.height() - client.height()));
    if (inner != size()) {
        setFixedSize(inner);
        layoutTopBand();
        placeStrip();
        for (QGroupBox* f : {Frame5, Frame10, Frame9})
            f->move(f->x(), innerHeight() + 2);
        if (currentSlot != 0) göster();
    }
    QSize screen(1024, 768);
    if (QScreen* s = this->screen()) screen = s->geometry().size();
    // move() places the frame's corner.
    move((screen.width() - 1024) / 2, (screen.height() - 768) / 2);
}

} // namespace zerkavi
