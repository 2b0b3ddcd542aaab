// gen_glyphs: draws the note-glyph strip of the notation (PicEschel) as a
// 240 x 230 RGB PNG.
//
//   gen_glyphs OUT.png                     write the strip
//   gen_glyphs --notation-test STRIP.png OUT.png
//                                          imitate two notation rows with the
//                                          large glyphs of STRIP.png, for review
//
// Strip layout (fixed: the program copies glyphs by these rectangles): three bands of 11 cells.
// Cell c (0..10) lies at x = 20 c and holds glyph code 159 + c.
//
//   band    y    height  width  width of codes 164, 166, 168 (cells 5, 7, 9)
//   large   0    84      10     18
//   medium  90   56      7      12
//   small   150  42      5      9
//
// Cells are white (255,255,255) with the glyph in black and grey edges; the
// rest of the picture is pure red (255,0,0). The program copies a cell onto
// white notation with a bitwise AND, so a pixel that is not ink must be
// exactly white.
//
// Codes: 159 whole note (head only, both hands); Düm (right hand, stem up,
// flags right of the stem): 160 half, 162 quarter, 164 eighth, 166 sixteenth,
// 168 thirty-second; Tek (left hand, stem down, flags inside the narrow
// cell): 161, 163, 165, 167, 169 in the same order.
//
// Rendering. Every glyph is a union of analytic shapes (tilted ellipses for
// the heads, rectangles for the stems, polygons flattened from cubic Béziers
// for the flags) minus the holes of the hollow heads. Each output pixel is
// sampled on a 16 x 16 grid and its ink is the covered fraction, so edges
// are antialiased like an engraving scanned at this size. The rasteriser is
// our own and uses only + - * / and sqrt (IEEE, correctly rounded), with the
// sines and cosines of the fixed tilt angles taken from our own series: the
// output does not depend on libm, on Qt's painter or on the compiler (g++ -O0,
// g++ -O2 and clang++ -O2 give the same bytes). Qt is used only to write the
// PNG (and to draw the review picture).

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kSub = 16; // samples per pixel along each axis
constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------
// Deterministic sine and cosine for the few fixed angles (|x| <= pi/2).

double seriesSin(double x) {
    double term = x, sum = x;
    for (int n = 1; n <= 12; ++n) {
        term *= -x * x / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}
double seriesCos(double x) {
    double term = 1.0, sum = 1.0;
    for (int n = 1; n <= 12; ++n) {
        term *= -x * x / ((2.0 * n - 1.0) * (2.0 * n));
        sum += term;
    }
    return sum;
}
double degToRad(double d) {
    return d * kPi / 180.0;
}

// ---------------------------------------------------------------------------
// Supersampled mask of one cell. Coordinates of the drawing functions are in
// output pixels, y downwards; sample (i, j) lies at ((i + 0.5) / kSub,
// (j + 0.5) / kSub).

struct Point {
    double x, y;
};

class Mask {
  public:
    Mask(int w, int h) : w_(w), h_(h), bits_(std::size_t(w) * kSub * h * kSub, 0) {}
    int width() const { return w_; }
    int height() const { return h_; }

    // Applies `inside` to every sample within the bounding box [x0,x1] x [y0,y1].
    template <class Inside>
    void paint(double x0, double y0, double x1, double y1, bool ink, Inside inside) {
        int i0 = std::max(0, int(std::floor(x0 * kSub)) - 1);
        int j0 = std::max(0, int(std::floor(y0 * kSub)) - 1);
        int i1 = std::min(w_ * kSub - 1, int(std::ceil(x1 * kSub)) + 1);
        int j1 = std::min(h_ * kSub - 1, int(std::ceil(y1 * kSub)) + 1);
        for (int j = j0; j <= j1; ++j) {
            double y = (j + 0.5) / kSub;
            for (int i = i0; i <= i1; ++i) {
                double x = (i + 0.5) / kSub;
                if (inside(x, y)) bits_[std::size_t(j) * w_ * kSub + i] = ink ? 1 : 0;
            }
        }
    }

    void rect(double x0, double y0, double x1, double y1, bool ink = true) {
        paint(x0, y0, x1, y1, ink,
              [&](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; });
    }

    // An ellipse with semi-axes a (along the tilt) and b, tilted by `deg`
    // degrees (counter-clockwise as seen on the page, so a positive tilt
    // raises the right end), then stretched by (sx, sy) about its centre.
    void ellipse(double cx, double cy, double a, double b, double deg, double sx, double sy,
                 bool ink = true) {
        double c = seriesCos(degToRad(deg)), s = seriesSin(degToRad(deg));
        // Page point p = centre + S R (a u, b v) with R rotating counter-clockwise on the
        // page (y down): R = [c s; -s c]. Invert: (u, v) = diag(1/a, 1/b) R^T S^-1 (p - centre).
        double hw = sx * std::sqrt(a * a * c * c + b * b * s * s);
        double hh = sy * std::sqrt(a * a * s * s + b * b * c * c);
        paint(cx - hw, cy - hh, cx + hw, cy + hh, ink, [&](double x, double y) {
            double dx = (x - cx) / sx, dy = (y - cy) / sy;
            double u = (c * dx - s * dy) / a;
            double v = (s * dx + c * dy) / b;
            return u * u + v * v <= 1.0;
        });
    }

    // Even-odd fill of a closed polygon.
    void polygon(const std::vector<Point>& pts, bool ink = true) {
        double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
        for (const Point& p : pts) {
            x0 = std::min(x0, p.x);
            x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y);
            y1 = std::max(y1, p.y);
        }
        paint(x0, y0, x1, y1, ink, [&](double x, double y) {
            bool in = false;
            for (std::size_t k = 0, m = pts.size() - 1; k < pts.size(); m = k++) {
                const Point& a = pts[k];
                const Point& b = pts[m];
                if ((a.y > y) != (b.y > y)) {
                    double xc = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
                    if (x < xc) in = !in;
                }
            }
            return in;
        });
    }

    // Ink fraction of output pixel (px, py), 0..kSub*kSub.
    int coverage(int px, int py) const {
        int n = 0;
        for (int j = 0; j < kSub; ++j)
            for (int i = 0; i < kSub; ++i)
                n += bits_[std::size_t(py * kSub + j) * w_ * kSub + px * kSub + i];
        return n;
    }

  private:
    int w_, h_;
    std::vector<unsigned char> bits_;
};

// ---------------------------------------------------------------------------
// Path of cubic Béziers, flattened with a fixed number of steps.

class Path {
  public:
    explicit Path(Point start) { pts_.push_back(start); }
    Path& cubic(Point c1, Point c2, Point end) {
        Point p0 = pts_.back();
        constexpr int kSteps = 48;
        for (int k = 1; k <= kSteps; ++k) {
            double t = double(k) / kSteps, u = 1.0 - t;
            double b0 = u * u * u, b1 = 3 * u * u * t, b2 = 3 * u * t * t, b3 = t * t * t;
            pts_.push_back({b0 * p0.x + b1 * c1.x + b2 * c2.x + b3 * end.x,
                            b0 * p0.y + b1 * c1.y + b2 * c2.y + b3 * end.y});
        }
        return *this;
    }
    Path& line(Point end) {
        pts_.push_back(end);
        return *this;
    }
    const std::vector<Point>& points() const { return pts_; }

  private:
    std::vector<Point> pts_;
};

// ---------------------------------------------------------------------------
// Glyph geometry of one band. Lengths in output pixels of that band; the
// arrays are indexed by stem class: 0 half and quarter, 1 eighth,
// 2 sixteenth, 3 thirty-second.

struct Band {
    const char* name;
    int y, height, narrow, wide;  // the cell grid the program copies from
    double headW, headH;          // black and half heads: bounding box
    double wholeW, wholeH;        // whole note
    double cyDum, cyTek, cyWhole; // vertical centre of the head in the cell
    double stemW;                 // stems are pixel-aligned rectangles
    double dumTop[4];             // Düm stem top (cell y)
    double tekBottom[4];          // Tek stem end (cell y)
    double flagW;                 // flag width right of the stem
    double flagH[4];              // height of the flag farthest from the stem end
    double flagHUpper[4];         // height of the other flags (16th, 32nd)
    double flagStep[4];           // distance between flags along the stem
    double contrast;              // edge sharpening, see greyOf
};

// The large band is what the notation shows: a Düm glyph is placed at T + 18
// with its head on the Düm line T + 60 (cell row 42), a Tek glyph at T + 49
// with its head on the Tek line T + 90 (cell row 41). The circle centre is at
// cell x 4, so the 9-pixel head spans x 0..9 and is centred on pixel column 4.
// The Tek stem ends before the syllable text at T + 124 (cell y 75) and the
// Düm stem stays below the loudness letter (T + 12..22, cell y < 4). The Düm
// flags end above the augmentation dots (x 12..17, cell rows 40..44).
//
// The medium band is copied into 24-pixel menu pictures at y -9 (Düm), -25
// (Tek), -16 (whole), and at -8 / -25 into 26-pixel pictures (Düm and Tek
// 32nd): its stems are sized so that nothing is cut off there. The small band
// is drawn at (6, 0) in the unit-note picture (Düm quarter, eighth, sixteenth).
const Band kLarge = {
    "large",
    0,
    84,
    10,
    18,
    9.0,
    7.0,
    10.0,
    6.6,
    42.5,
    41.5,
    42.0,
    1.0,
    {12.0, 12.0, 10.0, 7.0},
    {71.0, 71.0, 73.0, 75.0},
    8.4,
    {0, 19.0, 18.0, 15.0},
    {0, 0, 14.0, 12.0},
    {0, 0, 6.0, 5.5},
    0.0,
};
const Band kMedium = {
    "medium",
    90,
    56,
    7,
    12,
    6.0,
    4.8,
    7.0,
    4.4,
    28.5,
    28.5,
    28.5,
    1.0,
    {9.0, 9.0, 9.0, 8.0},
    {48.5, 48.5, 48.5, 50.5},
    5.6,
    {0, 12.0, 10.5, 9.0},
    {0, 0, 8.0, 7.0},
    {0, 0, 3.8, 3.4},
    0.3,
};
const Band kSmall = {
    "small",
    150,
    42,
    5,
    9,
    5.0,
    3.6,
    5.0,
    3.4,
    21.5,
    21.5,
    21.5,
    1.0,
    {7.5, 7.5, 6.0, 5.0},
    {35.5, 35.5, 37.0, 38.0},
    4.0,
    {0, 9.0, 8.0, 7.0},
    {0, 0, 6.0, 5.0},
    {0, 0, 3.5, 3.0},
    0.8,
};

// Head shapes, in the manner of engraved heads: black and half heads are
// ellipses of aspect 1.47 tilted 30 degrees, stretched to the band's head
// box; the half head has a narrow slit tilted a little more steeply, so its
// ink is thick at the upper left and lower right and thin at the ends; the
// whole head is an upright oval whose hole leans the other way.
constexpr double kHeadTilt = 30.0, kHeadA = 1.0, kHeadB = 0.68;

// Stretch that maps the unit head ellipse onto a w x h bounding box.
void headStretch(double w, double h, double& sx, double& sy) {
    double c = seriesCos(degToRad(kHeadTilt)), s = seriesSin(degToRad(kHeadTilt));
    sx = w / 2 / std::sqrt(kHeadA * kHeadA * c * c + kHeadB * kHeadB * s * s);
    sy = h / 2 / std::sqrt(kHeadA * kHeadA * s * s + kHeadB * kHeadB * c * c);
}

void headBlack(Mask& m, double cx, double cy, double w, double h) {
    double sx, sy;
    headStretch(w, h, sx, sy);
    m.ellipse(cx, cy, kHeadA, kHeadB, kHeadTilt, sx, sy);
}

void halfHeadHole(Mask& m, double cx, double cy, double w, double h) {
    double sx, sy;
    headStretch(w, h, sx, sy);
    m.ellipse(cx, cy, 0.78, 0.24, 38.0, sx, sy, false);
}

void headWhole(Mask& m, double cx, double cy, double w, double h) {
    m.ellipse(cx, cy, 1.0, 1.0, 0.0, w / 2, h / 2);
    m.ellipse(cx, cy, 0.56, 0.40, -50.0, w / 2, h / 2, false);
}

// One flag. (x0, y0) is the outer corner of the stem end: the top right of an
// up-stem, or the bottom right of a down-stem (dir = -1 mirrors the flag so
// that it rises from the stem end). Unit shape: u to the right (times w), v
// away from the stem end (times h); `thick` is the part of the stem it
// covers, in pixels. A thick blob at the stem sweeps out and down into a thin
// tail that turns back towards the stem at its tip.
void flag(Mask& m, double x0, double y0, double w, double h, double thick, int dir, double stemW) {
    auto P = [&](double u, double v) { return Point{x0 + u * w, y0 + dir * v * h}; };
    const double us = -stemW / w; // the stem's inner edge, so the flag joins the stem
    const double t = thick / h;   // attachment (0.42 for a lone flag)
    const double k = t / 0.42;    // the inner edge near the stem follows it
    Path p(P(us, 0.0));
    p.line(P(0.0, 0.0))
        .cubic(P(0.08, 0.18), P(0.46, 0.28), P(0.74, 0.50))
        .cubic(P(1.04, 0.72), P(1.02, 0.88), P(0.82, 1.00))
        .cubic(P(0.86, 0.86), P(0.80, 0.74), P(0.58, 0.64))
        .cubic(P(0.36, 0.64 - 0.10 * k), P(0.12, t + 0.04 * k), P(0.0, t))
        .line(P(us, t));
    m.polygon(p.points());
}

// Draws glyph `code` (159..169) of band `b` into a mask of its cell.
void drawGlyph(Mask& m, const Band& b, int code) {
    if (code == 159) {
        headWhole(m, b.wholeW / 2, b.cyWhole, b.wholeW, b.wholeH);
        return;
    }
    const bool tek = (code % 2) == 1;   // 161, 163, ... are Tek
    const int value = (code - 160) / 2; // 0 half, 1 quarter, 2 eighth, 3 16th, 4 32nd
    const int flags = value >= 2 ? value - 1 : 0;
    const int cls = value <= 1 ? 0 : value - 1; // stem class, see Band
    const double cy = tek ? b.cyTek : b.cyDum;
    const double cx = b.headW / 2;

    headBlack(m, cx, cy, b.headW, b.headH);
    // Flags from the stem end inwards; the one farthest from the end is full size.
    auto flagAt = [&](int k, double x0, double y0, int dir) {
        bool last = k == flags - 1;
        double h = last ? b.flagH[cls] : b.flagHUpper[cls];
        double thick = 0.42 * h;
        if (!last) thick = std::min(thick, b.flagStep[cls] - 1.3 * b.stemW);
        flag(m, x0, y0, b.flagW, h, thick, dir, b.stemW);
    };
    if (!tek) {
        // Up-stem on the right of the head, its right edge on the head's right extreme.
        double sx1 = b.headW, sx0 = sx1 - b.stemW, top = b.dumTop[cls];
        m.rect(sx0, top, sx1, cy - 0.5);
        for (int k = 0; k < flags; ++k)
            flagAt(k, sx1, top + k * b.flagStep[cls], +1);
    } else {
        // Down-stem on the left of the head; flags rise from its end.
        double sx0 = 0.0, sx1 = b.stemW, bottom = b.tekBottom[cls];
        m.rect(sx0, cy + 0.5, sx1, bottom);
        for (int k = 0; k < flags; ++k)
            flagAt(k, sx1, bottom - k * b.flagStep[cls], -1);
    }
    // The slit of a half head is cut last, after the stem that touches its rim.
    if (value == 0) halfHeadHole(m, cx, cy, b.headW, b.headH);
}

// Ink coverage (0..kSub^2) to an 8-bit grey level. The covered fraction c is
// first lifted a little in the mid tones (ink = c (1.5 - c / 2)), which keeps
// thin strokes from looking pale, then spread about one half by the band's
// contrast gain, so the smaller bands stay crisp. No cover is exactly white,
// full cover exactly black.
int greyOf(int cover, double contrast) {
    constexpr int kFull = kSub * kSub;
    if (cover <= 0) return 255;
    if (cover >= kFull) return 0;
    double c = double(cover) / kFull;
    double ink = c * (1.5 - 0.5 * c);
    ink = std::clamp(0.5 + (ink - 0.5) * (1.0 + contrast), 0.0, 1.0);
    return std::clamp(int(255.0 * (1.0 - ink) + 0.5), 0, 255);
}

QImage makeStrip() {
    QImage img(240, 230, QImage::Format_RGB888);
    img.fill(QColor(255, 0, 0));
    for (const Band* b : {&kLarge, &kMedium, &kSmall}) {
        for (int c = 0; c <= 10; ++c) {
            const int code = 159 + c;
            const int w = (c == 5 || c == 7 || c == 9) ? b->wide : b->narrow;
            Mask m(w, b->height);
            drawGlyph(m, *b, code);
            for (int py = 0; py < b->height; ++py)
                for (int px = 0; px < w; ++px) {
                    int g = greyOf(m.coverage(px, py), b->contrast);
                    img.setPixel(20 * c + px, b->y + py, qRgb(g, g, g));
                }
        }
    }
    return img;
}

// ---------------------------------------------------------------------------
// Review picture: two notation rows as the notation draws them (staff lines at
// T + 60 and T + 90, grey circles of radius 5 at 20-pixel spacing, glyphs
// AND-copied at cell left = centre - 4 and tops T + 18 / T + 49, the row
// separator at y 149/150). Row 1 shows each glyph alone, row 2 both hands in
// one circle; two Düm strokes carry a one-dot marker.

int notationTest(const char* stripFile, const char* outFile) {
    QImage strip(QString::fromLocal8Bit(stripFile));
    if (strip.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", stripFile);
        return 1;
    }
    strip = strip.convertToFormat(QImage::Format_RGB32);
    QImage pic(480, 300, QImage::Format_RGB32);
    pic.fill(Qt::white);
    QPainter p(&pic);
    // Row 1: each glyph alone; row 2: both hands in one circle.
    const int dumCodes[2][22] = {{159, 160, 162, 164, 166, 168, 0,   162, 164, 0,   166,
                                  168, 0,   160, 0,   0,   162, 162, 0,   164, 164, 0},
                                 {160, 162, 164, 166, 168, 0,   164, 164, 166, 168, 168,
                                  162, 0,   0,   0,   164, 166, 168, 162, 164, 0,   159}};
    const int tekCodes[2][22] = {
        {0, 0, 0, 0, 0, 0, 159, 163, 165, 161, 167, 169, 163, 0, 165, 167, 0, 0, 169, 0, 0, 163},
        {161, 163, 165, 167, 169, 159, 163, 165, 167, 169, 0,
         0,   161, 163, 165, 0,   0,   0,   167, 165, 169, 0}};
    const int n = 22;
    for (int r = 0; r < 2; ++r) {
        int T = 150 * r;
        p.setPen(Qt::black);
        p.drawLine(20, T + 60, 460, T + 60);
        p.drawLine(20, T + 90, 460, T + 90);
        p.setPen(QColor(200, 200, 200));
        p.setBrush(Qt::white);
        for (int j = 1; j <= n; ++j)
            p.drawEllipse(QPoint(40 + 20 * (j - 1), T + 75), 5, 5);
        if (r == 1) {
            p.setPen(Qt::black);
            p.drawLine(0, 149, 480, 149);
            p.drawLine(0, 150, 480, 150);
        }
        p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        for (int j = 1; j <= n; ++j) {
            int g = 36 + 20 * (j - 1);
            auto copy = [&](int code, int y) {
                int c = code - 159;
                int w = (c == 5 || c == 7 || c == 9) ? 18 : 10;
                p.drawImage(QPoint(g, y), strip, QRect(20 * c, 0, w, 84));
            };
            int d = dumCodes[r][j - 1];
            int t = tekCodes[r][j - 1];
            if (d) copy(d, T + 18);
            if (t) copy(t, T + 49);
        }
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        // A one-dot marker (birNoktaKoy) on two Düm strokes to check it clears the flags.
        for (int j : {4, 6}) {
            int X = 36 + 20 * (j - 1), Y = T + 60;
            const int off[8][2] = {{13, -1}, {13, 1}, {14, -2}, {14, -1},
                                   {14, 1},  {14, 2}, {15, -1}, {15, 1}};
            for (auto& o : off)
                pic.setPixel(X + o[0], Y + o[1], qRgb(0, 0, 0));
        }
    }
    p.end();
    if (!pic.save(QString::fromLocal8Bit(outFile), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", outFile);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--notation-test") == 0)
        return notationTest(argv[2], argv[3]);
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_glyphs OUT.png\n"
                             "       gen_glyphs --notation-test STRIP.png OUT.png\n");
        return 2;
    }
    QImage img = makeStrip();
    if (!img.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
