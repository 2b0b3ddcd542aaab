#include "window/painter.h"

#include "notation/geometry.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QRect>

#include <algorithm>
#include <initializer_list>

namespace zerkavi {

namespace {

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kCircleGrey(200, 200, 200);

// PDF and SVG have no pixels and no raster operations; the notation is drawn there with
// shapes that cover the same pixels as on an image.
bool drawsPixels(const QPainter& p) {
    return p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Raster;
}

// Lines are horizontal or vertical.
void line(QPainter& p, int x1, int y1, int x2, int y2, const QColor& c) {
    if (!drawsPixels(p)) {
        // The pixels a one-pixel flat-capped line covers: all but its last one.
        // An SVG file knows no clipping: the line is cut to the clip here.
        const int dx = x2 > x1 ? -1 : x2 < x1 ? 1 : 0, dy = y2 > y1 ? -1 : y2 < y1 ? 1 : 0;
        QRect r = QRect(QPoint(x1, y1), QPoint(x2 + dx, y2 + dy)).normalized();
        if (p.hasClipping()) r &= p.clipBoundingRect().toAlignedRect();
        if (!r.isEmpty()) p.fillRect(r, c);
        return;
    }
    p.setPen(QPen(c, 1, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(x1, y1, x2, y2);
}

// A glyph as black ink, as dark as the strip and transparent where it is white: laid over
// a picture it looks as the AND copy of the strip does.
QImage glyphInk(const QImage& strip, const QRect& from) {
    QImage ink = strip.copy(from).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < ink.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(ink.scanLine(y));
        for (int x = 0; x < ink.width(); ++x)
            row[x] = qRgba(0, 0, 0, 255 - qGray(row[x]));
    }
    return ink;
}

void setPixels(QPainter& p, int X, int Y, std::initializer_list<QPoint> offsets) {
    for (const QPoint& d : offsets)
        p.fillRect(X + d.x(), Y + d.y(), 1, 1, kBlack);
}

// Text with its top left at (x, y).
void text(QPainter& p, int x, int y, const QString& s, const QFont& font) {
    p.setPen(kBlack);
    p.drawText(QPoint(x, y + QFontMetrics(font).ascent()), s);
}

// One stroke: its glyph with the cell's top left at (left, top) and its dots on lineY.
void drawStroke(QPainter& p, int length, bool dum, int left, int top, int lineY,
                const NotationStyle& style) {
    const int code = glyphCode(length, dum);
    if (code == 0) return;
    const GlyphRect g = glyphRect(style.glyphs, code);
    const QRect from(g.x, g.y, g.width, g.height);
    if (drawsPixels(p)) {
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        p.drawImage(QPoint(left, top), style.glyphStrip, from);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    } else {
        p.drawImage(QPoint(left, top), glyphInk(style.glyphStrip, from));
    }
    switch (dotCount(length)) {
    case 1:
        birNoktaKoy(p, left, lineY);
        break;
    case 2:
        ikiNoktaKoy(p, left, lineY);
        break;
    default:
        break;
    }
}

// A syllable read from a slot never written by the program may hold NUL characters; they
// show as blanks.
QString syllableText(const std::u32string& syllable) {
    QString s = QString::fromStdU32String(syllable);
    s.replace(QChar(0), QChar(' '));
    return s;
}

void paintStaff(QPainter& p, QSize area, const NotationStyle& style) {
    p.fillRect(QRect(QPoint(0, 0), area), style.background);
    const int rows = rowsForPictureHeight(area.height());
    for (int r = 1; r <= rows; ++r) {
        const int top = rowTop(r);
        line(p, kStaffLeft, top + 60, kStaffRight, top + 60, kBlack);
        line(p, kStaffLeft, top + 90, kStaffRight, top + 90, kBlack);
        if (!style.circles) continue;
        p.setPen(kCircleGrey);
        p.setBrush(style.background);
        for (int j = 1; j <= kCirclesPerRow; ++j)
            p.drawEllipse(QPoint(circleCentreX(j), top + 75), kCircleRadius, kCircleRadius);
        p.setBrush(Qt::NoBrush);
    }
    for (int r = 2; r <= std::min(rows, kMaxRows); ++r) {
        const int y = rowTop(r);
        line(p, 0, y, kSeparatorRight, y, kBlack);
        line(p, 0, y - 1, kSeparatorRight, y - 1, kBlack);
    }
}

void paintCircle(QPainter& p, const Halka& h, const CircleGeometry& at,
                 const NotationStyle& style) {
    if (h.hasStroke()) {
        drawStroke(p, h.rightDuration, true, at.glyphLeft, at.dumGlyphTop, at.dumLineY, style);
        drawStroke(p, h.leftDuration, false, at.glyphLeft, at.tekGlyphTop, at.tekLineY, style);
        text(p, at.syllableX, at.syllableY, syllableText(h.syllable), style.font);
        const QString* letter = h.level == 3   ? &style.letters.strong
                                : h.level == 2 ? &style.letters.medium
                                : h.level == 1 ? &style.letters.weak
                                               : nullptr;
        if (letter)
            text(p, at.letterX, at.letterY, *letter, style.font);
        else if (h.level == 0)
            p.fillRect(
                QRect(QPoint(at.letterX, at.letterY), QPoint(at.letterX + 20, at.letterY + 10)),
                kWhite);
    }
    // Every visited circle gets this, so an old bar line or marker is erased in white.
    if (h.barLine == 1) {
        line(p, at.barX, at.top + 61, at.barX, at.top + 66, kRed);
        line(p, at.barX, at.top + 72, at.barX, at.top + 78, kRed);
        line(p, at.barX, at.top + 84, at.barX, at.top + 89, kRed);
    } else {
        line(p, at.barX, at.barTop, at.barX, at.barBottom, kWhite);
    }
}

} // namespace

void paintNotation(QPainter& p, QSize area, const UsulRecord& usul, const NotationStyle& style) {
    p.save();
    p.setClipRect(QRect(QPoint(0, 0), area), Qt::IntersectClip);
    p.setFont(style.font);
    paintStaff(p, area, style);
    const int n = MevcutHalka(usul);
    for (int i = 1; i <= n; ++i)
        paintCircle(p, usul.circle(i), circleGeometry(i), style);
    p.restore();
}

void birNoktaKoy(QPainter& p, int X, int Y) {
    setPixels(p, X, Y,
              {{13, -1}, {13, 1}, {14, -2}, {14, -1}, {14, 1}, {14, 2}, {15, -1}, {15, 1}});
}

void ikiNoktaKoy(QPainter& p, int X, int Y) {
    setPixels(p, X, Y,
              {{12, -1}, {12, 1}, {13, -1}, {13, 1}, {16, -1}, {16, 1}, {17, -1}, {17, 1}});
}

} // namespace zerkavi
