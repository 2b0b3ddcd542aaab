#include "platform/picture_box.h"

#include <QPainter>
#include <QPaintEvent>

namespace zerkavi {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    image_ = QImage(1, 1, QImage::Format_RGB32);
    image_.fill(background_);
}

void PictureBox::resizePicture(int width, int height) {
    resize(width, height);
    if (image_.size() != QSize(width, height)) {
        image_ = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
        image_.fill(background_);
    }
}

void PictureBox::resizeEvent(QResizeEvent*) {
    if (image_.size() != size()) {
        image_ = QImage(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
        image_.fill(background_);
    }
}

void PictureBox::setBackground(const QColor& c) {
    background_ = c;
    clear();
}

void PictureBox::clear() {
    image_.fill(background_);
    update();
}

void PictureBox::line(int x1, int y1, int x2, int y2, const QColor& c, int width) {
    QPainter p(&image_);
    p.setPen(QPen(c, width, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(x1, y1, x2, y2);
    update();
}

void PictureBox::box(int x1, int y1, int x2, int y2, const QColor& c, bool filled) {
    QPainter p(&image_);
    const QRect r(QPoint(std::min(x1, x2), std::min(y1, y2)),
                  QPoint(std::max(x1, x2), std::max(y1, y2)));
    if (filled)
        p.fillRect(r, c);
    else {
        p.setPen(c);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    update();
}

void PictureBox::circle(int cx, int cy, int radius, const QColor& outline, const QColor* fill) {
    QPainter p(&image_);
    p.setPen(outline);
    p.setBrush(fill ? QBrush(*fill) : QBrush(Qt::NoBrush));
    p.drawEllipse(QPoint(cx, cy), radius, radius);
    update();
}

void PictureBox::pixel(int x, int y, const QColor& c) {
    if (image_.rect().contains(x, y)) image_.setPixel(x, y, c.rgb());
    update();
}

void PictureBox::text(int x, int y, const QString& s, const QColor& c) {
    QPainter p(&image_);
    p.setFont(font());
    p.setPen(c);
    p.drawText(QPoint(x, y + QFontMetrics(font()).ascent()), s);
    update();
}

void PictureBox::andCopy(int x, int y, const QImage& source, const QRect& from) {
    QPainter p(&image_);
    p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    p.drawImage(QPoint(x, y), source, from);
    update();
}

void PictureBox::invertDisc(int cx, int cy, int radius) {
    QPainter p(&image_);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPoint(cx, cy), radius, radius);
    update();
}

void PictureBox::invertCircle(int cx, int cy, int radius, const QColor& colour) {
    QPainter p(&image_);
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    p.setPen(QPen(colour, penWidth_, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPoint(cx, cy), radius, radius);
    update();
}

void PictureBox::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.drawImage(e->rect(), image_, e->rect());
}

} // namespace zerkavi
