// A drawing surface with a persistent image: what is drawn stays until it is cleared,
// and the widget only copies the image to the screen. The same primitives serve the
// screen, printing and image export.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace zerkavi {

class PictureBox : public QWidget {
  public:
    explicit PictureBox(QWidget* parent = nullptr);

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }

    // Size in pixels; the image follows and is cleared to the background.
    void resizePicture(int width, int height);
    void setBackground(const QColor& c);
    QColor background() const { return background_; }
    void clear();

    void line(int x1, int y1, int x2, int y2, const QColor& c, int width = 1);
    void box(int x1, int y1, int x2, int y2, const QColor& c, bool filled);
    void circle(int cx, int cy, int radius, const QColor& outline, const QColor* fill);
    void pixel(int x, int y, const QColor& c);
    void text(int x, int y, const QString& s, const QColor& c);
    // Copies a rectangle of `source` to (x, y), combining bit by bit with AND, so white
    // parts of the source leave the picture as it is.
    void andCopy(int x, int y, const QImage& source, const QRect& from);
    // Inverts what lies under a filled circle; doing it twice restores the picture.
    void invertDisc(int cx, int cy, int radius);
    // A circle outline drawn with the inverting pen of the current pen width: every pixel
    // becomes NOT(colour XOR pixel), so blue on white, and drawing it again restores it.
    void invertCircle(int cx, int cy, int radius, const QColor& colour);
    void setPenWidth(int width) { penWidth_ = width; }
    int penWidth() const { return penWidth_; }

  protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

  private:
    QImage image_;
    QColor background_ = Qt::white;
    int penWidth_ = 1;
};

} // namespace zerkavi
