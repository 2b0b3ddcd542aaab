// Draws the program's icon: a ring of beat circles on the window's sand colour, Düm strokes
// dark, Tek strokes red and the blue playing marker around the first. One list of shapes
// gives both the SVG and the PNGs, so they cannot drift apart.
//   cmake --build build --target gen_icon && build/gen_icon packaging/icons
#include <QColor>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double kBox = 256; // drawing units of the SVG view box

struct Shape {
    enum Kind { RoundedBox, Circle } kind;
    double cx, cy, r; // box: left, top, size; circle: centre and radius
    QColor fill;      // invalid = no fill
    QColor stroke;    // invalid = no outline
    double strokeWidth;
};

std::vector<Shape> shapes() {
    std::vector<Shape> s;
    s.push_back({Shape::RoundedBox, 8, 8, 240, QColor(200, 185, 130), QColor(120, 100, 55), 6});
    const double ringR = 78, cx = 128, cy = 128;
    s.push_back({Shape::Circle, cx, cy, ringR, QColor(), QColor(70, 55, 30), 8});
    // Eight places of the cycle, clockwise from the top: D = Düm, T = Tek, . = empty.
    const char* pattern = "D.T.TD.T";
    for (int i = 0; i < 8; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 4;
        const double x = cx + ringR * std::cos(a), y = cy + ringR * std::sin(a);
        const char c = pattern[i];
        if (c == 'D')
            s.push_back({Shape::Circle, x, y, 21, QColor(35, 35, 35), QColor(255, 255, 255), 4});
        else if (c == 'T')
            s.push_back({Shape::Circle, x, y, 17, QColor(200, 30, 30), QColor(255, 255, 255), 4});
        else
            s.push_back({Shape::Circle, x, y, 10, QColor(255, 255, 255), QColor(150, 150, 150), 3});
        if (i == 0) s.push_back({Shape::Circle, x, y, 30, QColor(), QColor(0, 0, 255), 6});
    }
    // The drum head in the middle.
    s.push_back({Shape::Circle, cx, cy, 34, QColor(235, 222, 180), QColor(70, 55, 30), 6});
    s.push_back({Shape::Circle, cx, cy, 8, QColor(70, 55, 30), QColor(), 0});
    return s;
}

QString svgColour(const QColor& c) {
    return c.isValid() ? c.name() : QStringLiteral("none");
}

QByteArray svg() {
    QString out =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                       "viewBox=\"0 0 256 256\">\n");
    for (const Shape& s : shapes()) {
        const QString paint = QStringLiteral("fill=\"%1\" stroke=\"%2\" stroke-width=\"%3\"")
                                  .arg(svgColour(s.fill), svgColour(s.stroke))
                                  .arg(s.strokeWidth);
        if (s.kind == Shape::RoundedBox)
            out += QStringLiteral(
                       "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%3\" rx=\"44\" %4/>\n")
                       .arg(s.cx)
                       .arg(s.cy)
                       .arg(s.r)
                       .arg(paint);
        else
            out += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" %4/>\n")
                       .arg(s.cx, 0, 'f', 2)
                       .arg(s.cy, 0, 'f', 2)
                       .arg(s.r)
                       .arg(paint);
    }
    out += QStringLiteral("</svg>\n");
    return out.toUtf8();
}

QImage png(int size) {
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kBox, size / kBox);
    for (const Shape& s : shapes()) {
        p.setBrush(s.fill.isValid() ? QBrush(s.fill) : Qt::NoBrush);
        p.setPen(s.stroke.isValid() ? QPen(s.stroke, s.strokeWidth) : Qt::NoPen);
        if (s.kind == Shape::RoundedBox)
            p.drawRoundedRect(QRectF(s.cx, s.cy, s.r, s.r), 44, 44);
        else
            p.drawEllipse(QPointF(s.cx, s.cy), s.r, s.r);
    }
    return img;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_icon OUTPUT_FOLDER\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QFile f(dir + QStringLiteral("/zerkavi.svg"));
    if (!f.open(QIODevice::WriteOnly) || f.write(svg()) < 0) return 1;
    for (int size : {48, 128, 256})
        if (!png(size).save(dir + QStringLiteral("/zerkavi-%1.png").arg(size), "PNG")) return 1;
    return 0;
}
