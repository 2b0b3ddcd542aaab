// What the window benchmarks share: message boxes that stay silent, and a started window
// with one usul loaded at a tempo.
#pragma once

#include "platform/message_boxes.h"
#include "window/arayuz_kalip.h"

#include <QScrollBar>

namespace zerkavi::bench {

class SilentMessages : public MessageBoxes {
  public:
    void inform(const QString&, const QString&) override {}
    bool confirm(const QString&) override { return false; }
};

// Loads `slot` at `bpm` to the `unitNote` into a started window; false when start-up failed.
inline bool loadAt(ArayüzKalıp& window, int slot, int bpm, int unitNote) {
    if (!window.startUp()) return false;
    window.currentSlot = slot;
    window.loadCurrentSlot();
    window.VScroll1->setValue(kTempoBarSum - bpm);
    while (window.unitNote != unitNote)
        window.PicBirimNota_Click();
    return true;
}

} // namespace zerkavi::bench
