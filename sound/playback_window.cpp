// Tempo controls of the Play strip.
#include "app/window/arayuz_kalip.h"

#include <QLabel>
#include <QScrollBar>

namespace zerkavi {

int ArayüzKalıp::bpm() const { return 270 - VScroll1->value(); }

void ArayüzKalıp::VScroll1_Change() { Label5->setText(QStringLiteral("=") + QString::number(bpm())); }

} // namespace zerkavi
