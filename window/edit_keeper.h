// Undo and redo for the usul on screen (Ctrl+Z; Ctrl+Shift+Z or Ctrl+Y), and the question
// before a changed user usul is left without saving. Every change is caught by comparing
// the whole state (record, time signature and name fields) with the one before, a tenth of
// a second after it and before any step that leaves the usul, so no editing handler needs
// to report itself. A child of the window, found there by its type.
#pragma once

#include "usul/edit_history.h"

#include <QObject>

class QAction;
class QTimer;

namespace zerkavi {

class ArayüzKalıp;

class EditKeeper : public QObject {
    Q_OBJECT

  public:
    explicit EditKeeper(ArayüzKalıp& window);

    // Takes the state on screen into the history: a new slot starts a new history.
    void record();
    void undo();
    void redo();
    // The library now holds what the screen shows.
    void saved();
    // True when the usul may be left: it is not a changed user usul, or the user agrees to
    // lose the changes.
    bool mayLeave();

    QAction *undoAction = nullptr, *redoAction = nullptr;
    QTimer* watch = nullptr;

  private:
    UsulState state() const;
    void show(const UsulState& s);
    bool editing() const;

    ArayüzKalıp& window_;
    EditHistory history_;
    int slot_ = -1;
};

// The window's keeper asked whether its usul may be left; true when it has none.
bool mayLeaveUsul(ArayüzKalıp& window);

} // namespace zerkavi
