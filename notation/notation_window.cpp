// Showing the current usul on the notation picture.
#include "app/window/arayuz_kalip.h"

#include "usul/rounding.h"

#include <QLabel>
#include <QLineEdit>

namespace zerkavi {

void ArayüzKalıp::BoşPorte() { Picture1->clear(); }

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
    // One to four rows of 150 pixels, centred above the strip of controls at the bottom;
    // the fourth row sits 4 pixels lower than the pattern of the others.
    const int rows = n <= 45 ? 1 : n <= 90 ? 2 : n <= 135 ? 3 : 4;
    const int offsets[] = {0, 75, 150, 225, 296};
    const int top = int(roundHalfEven((innerHeight() - 100) / 2.0)) - offsets[rows];
    Picture1->setGeometry(Picture1->x(), top, Picture1->width(), 150 * rows);
    BoşPorte();
    int total = 0;
    for (int i = 1; i <= n; ++i) total += currentUsul.circle(i).strokeLength();
    currentUsul.totalLength = std::int16_t(total);
    showLengthStatus();
    Text4->setText(QString::number(total));
    currentHalka = 0;
}

} // namespace zerkavi
