// Showing the current usul on the notation picture.
#include "window/arayuz_kalip.h"

#include "notation/geometry.h"
#include "window/painter.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>

#include <algorithm>

namespace zerkavi {

void ArayüzKalıp::BoşPorte() {
    zerkavi::BoşPorte(*Picture1);
}

NotationStyle ArayüzKalıp::notationStyle() const {
    const LoudnessLetters letters{QString::fromStdString(messageText(Message::letterStrong)),
                                  QString::fromStdString(messageText(Message::letterMedium)),
                                  QString::fromStdString(messageText(Message::letterWeak))};
    return {PicEschel->image(), largeGlyphs, letters, Picture1->font(), Picture1->background()};
}

void ArayüzKalıp::showLengthStatus() {
    // Short and too long in red, a complete usul in green.
    const int d = expectedLength - currentUsul.totalLength;
    const Message word = d > 0    ? Message::wordShort
                         : d == 0 ? Message::wordMatch
                                  : Message::wordExceed;
    Label4->setText(QString::fromStdString(messageText(word)));
    Label4->setStyleSheet(word == Message::wordMatch ? QStringLiteral("color: rgb(0, 128, 0)")
                                                     : QStringLiteral("color: rgb(255, 0, 0)"));
}

void ArayüzKalıp::göster() {
    const int n = MevcutHalka(currentUsul);
    // One to four rows, centred above the strip of controls at the bottom.
    // On a short inner area four rows would reach into the band above: they start below it.
    Picture1->move(Picture1->x(), std::max(kBandBottom, pictureTopForCircles(n, innerHeight())));
    Picture1->resizePicture(Picture1->width(), pictureHeightForCircles(n));
    {
        QPainter p(&Picture1->image());
        paintNotation(p, Picture1->image().size(), currentUsul, notationStyle());
    }
    Picture1->update();
    currentUsul.totalLength = std::int16_t(sumOfStrokes(currentUsul));
    showLengthStatus();
    Text4->setText(QString::number(currentUsul.totalLength));
    currentHalka = 0;
}

} // namespace zerkavi
