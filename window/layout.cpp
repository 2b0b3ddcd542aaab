// Placement of the panels that depend on other controls, the opening effect, colours.
#include "window/arayuz_kalip.h"

#include "usul/window_layout.h"
#include "window/colour.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace zerkavi {

namespace {

double luminance(const QColor& c) {
    auto channel = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor legibleGrey(const QColor& background) {
    // The grey nearest to the middle that still reads at 4.5:1: dark on light backgrounds,
    // light on dark ones.
    const bool light = luminance(background) > 0.18;
    for (int step = 0; step <= 128; step += 2) {
        const int v = light ? 128 - step : 128 + step;
        const QColor grey(std::clamp(v, 0, 255), std::clamp(v, 0, 255), std::clamp(v, 0, 255));
        if (contrastRatio(grey, background) >= 4.5) return grey;
    }
    return light ? QColor(Qt::black) : QColor(Qt::white);
}

void ArayüzKalıp::layoutTopBand() {
    // The fields follow the caption of the name frame, whose length depends on the language.
    int x = Frame3->fontMetrics().horizontalAdvance(Frame3->title()) + 12;
    const std::vector<QWidget*> band = {Label1, But_önceki, But_sonraki, Text5, But_yükle};
    // The name field gives way so that the band ends inside the window whatever the
    // length of the caption.
    const int fixedWidths = Label1->width() + But_önceki->width() + But_sonraki->width() +
                            But_yükle->width() + 4 + 2 + 4 + 4 + 2;
    const int room = width() - 6 - Frame3->x() - Frame6->width() - Frame8->width() - 12;
    Text5->resize(std::clamp(room - x - fixedWidths, 120, 210), Text5->height());
    for (QWidget* w : band) {
        w->move(x, w->y());
        x += w->width() + (w == Label1 ? 4 : w == But_önceki ? 2 : 4);
    }
    Frame3->resize(x - 2, Frame3->height());
    Frame6->move(Frame3->x() + Frame3->width() + 6, Frame6->y());
    Frame8->move(Frame6->x() + Frame6->width() + 6, Frame8->y());
}

void ArayüzKalıp::EkranDizayn() {
    Picture1->move(26, Picture1->y());
    Picture1->resize(964, Picture1->height());
    Picture5->setGeometry(Picture1->x(), 12, Picture1->width(), 528);
    placeStrip();
    // The plan frames wait side by side just below the visible area.
    const int top = innerHeight() + 2;
    for (QGroupBox* f : {Frame5, Frame10, Frame9})
        f->move(f->x(), top);
    Frame5->move(VScroll1->x(), top);
    Frame10->move(Frame5->x() + Frame5->width(), top);
    Frame9->move(Frame10->x() + Frame10->width(), top);
    Picture3->setGeometry(110, 40, 837, 430);
    // Below the top bar, whose lower edge it would otherwise cover.
    Picture4->setGeometry(30, 30, 960, 512);
    setEditingButtonsForSlot();
}

namespace {

// Draws the growing rectangles over the window and shows them while it draws; the
// window itself is not redrawn meanwhile.
class EffectOverlay : public QWidget {
  public:
    explicit EffectOverlay(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(parent->rect());
        frame_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
        frame_.fill(Qt::transparent);
        parent->render(&frame_);
    }
    QImage& frame() { return frame_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, frame_);
    }

  private:
    QImage frame_;
};

} // namespace

void ArayüzKalıp::AcEfekt(QWidget* panel, int steps) {
    const QColor background = palette().color(QPalette::Window);
    const QRect r(panel->mapTo(central, QPoint(0, 0)), panel->size());
    auto* overlay = new EffectOverlay(central);
    overlay->setObjectName(QStringLiteral("AcEfektOverlay"));
    overlay->show();
    overlay->raise();
    {
        QPainter p(&overlay->frame());
        p.setBrush(background);
        p.setPen(Qt::black); // the pen a fresh drawing context starts with
        QElapsedTimer shown;
        shown.start();
        for (int i = 1; i <= steps; ++i) {
            const EffectRect e = growingRect(r.x(), r.y(), r.width(), r.height(), i, steps);
            // Outline and fill cover x1..x2-1 and y1..y2-1, the far corner being exclusive;
            // an empty rectangle draws nothing.
            if (e.x2 > e.x1 && e.y2 > e.y1)
                p.drawRect(QRect(e.x1, e.y1, e.x2 - e.x1 - 1, e.y2 - e.y1 - 1));
            if (shown.elapsed() >= 15 || i == steps) {
                overlay->repaint();
                shown.restart();
            }
        }
    }
    lastEffectFrame = overlay->frame();
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, background);
    panel->setPalette(pal);
    if (auto* box = dynamic_cast<PictureBox*>(panel)) box->setBackground(background);
    overlay->deleteLater();
}

void ArayüzKalıp::connectPanels() {
    connect(Mn_RenkZemin, &QAction::triggered, this, [this] { Mn_RenkZemin_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Image3, &QToolButton::clicked, this, [this] { Image3_Click(); });
}

void ArayüzKalıp::Command2_Click() {
    Picture4->hide();
    AcEfekt(Picture3, 5000);
    Picture3->show();
    Command2->setEnabled(false);
}

void ArayüzKalıp::Image3_Click() {
    Picture3->hide();
    Picture4->show();
    Command2->setEnabled(true);
}

void ArayüzKalıp::Mn_RenkZemin_Click() {
    // Opened without waiting for it: the dialog locks this window itself.
    if (!colourDialog) colourDialog = std::make_unique<FRenk>(*this);
    colourDialog->Form_Load();
    colourDialog->show();
}

void ArayüzKalıp::renklendir(std::uint8_t k, std::uint8_t s, std::uint8_t m) {
    const QColor colour(k, s, m);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, colour);
    // Captions of locked frames and options stay legible on any background.
    pal.setColor(QPalette::Disabled, QPalette::WindowText, legibleGrey(colour));
    setPalette(pal);
    const std::vector<QWidget*> coloured = {
        Label4,     Label5,     Label1,     Label7,   Label2,  Label9,  Label3,
        Frame1,     Frame2,     Frame3,     Frame4,   Frame6,  Frame7,  Frame8,
        Frame5,     Frame9,     Frame10,    Picture3, Frame12, Frame13, Frame14,
        Option1[1], Option1[2], Option1[3], Option2,  Option3, Option4, PicBirimNota};
    // Labels, frames and option buttons show the window's colour through themselves; the
    // picture boxes keep an image of their own and take it as their background.
    for (QWidget* w : coloured) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, colour);
        p.setColor(QPalette::Disabled, QPalette::WindowText, legibleGrey(colour));
        w->setPalette(p);
    }
    // Frames with the caption on the frame line, on the window's colour, as on the panels.
    central->setStyleSheet(
        QStringLiteral(
            "QGroupBox { border: 1px solid palette(dark); border-radius: 3px;"
            " margin-top: 7px; }"
            "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
            " left: 8px; padding: 0 3px; background-color: %1; }"
            // The band above the notation carries its caption inside, on the left.
            "QGroupBox#Frame3, QGroupBox#Frame6, QGroupBox#Frame8 { margin-top: 0px; }"
            // Raised, the plan frames cover the strip below: they are opaque.
            "QGroupBox#Frame5, QGroupBox#Frame9, QGroupBox#Frame10 {"
            " background-color: %1; }"
            "QGroupBox#Frame3::title { subcontrol-origin: border;"
            " subcontrol-position: left center; left: 6px; padding: 0;"
            " background-color: transparent; }")
            .arg(colour.name()));
    Picture3->setBackground(colour);
    // A new background clears the unit-note picture; its glyph is drawn again.
    PicBirimNota->setBackground(colour);
    drawUnitNote();
}

} // namespace zerkavi
