// Showing the current usul on the notation picture.
#include "window/arayuz_kalip.h"

#include "notation/geometry.h"
#include "window/painter.h"

#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace zerkavi {

void ArayüzKalıp::BoşPorte() {
    zerkavi::BoşPorte(*Picture1);
}

void ArayüzKalıp::showLengthStatus() {
    // Short and too long in red, a complete usul in green.
    const int d = expectedLength - currentUsul.totalLength;
    const int word = d > 0 ? 18 : d == 0 ? 17 : 16;
    Label4->setText(QString::fromStdString(messageText(word)));
    Label4->setStyleSheet(word == 17 ? QStringLiteral("color: rgb(0, 128, 0)")
                                     : QStringLiteral("color: rgb(255, 0, 0)"));
}

void ArayüzKalıp::göster() {
    const int n = MevcutHalka(currentUsul);
    // One to four rows, centred above the strip of controls at the bottom.
    // On a short inner area four rows would reach into the band above: they start below it.
    Picture1->move(Picture1->x(), std::max(kBandBottom, pictureTopForCircles(n, innerHeight())));
    Picture1->resizePicture(Picture1->width(), pictureHeightForCircles(n));
    const LoudnessLetters letters{QString::fromStdString(messageText(19)),
                                  QString::fromStdString(messageText(20)),
                                  QString::fromStdString(messageText(21))};
    currentUsul.totalLength =
        std::int16_t(UsulÇiz(*Picture1, currentUsul, PicEschel->image(), largeGlyphs, letters));
    showLengthStatus();
    Text4->setText(QString::number(currentUsul.totalLength));
    currentHalka = 0;
}

} // namespace zerkavi
