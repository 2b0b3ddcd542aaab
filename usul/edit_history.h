// Undo and redo of the usul on screen: whole states (the record and the three fields that
// belong to it) kept before each change, and the state last saved or loaded, which tells
// whether there are changes to lose.
#pragma once

#include "usul/record.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zerkavi {

struct UsulState {
    UsulRecord usul;
    std::string numerator, mertebe, name; // the fields as typed, UTF-8
    bool operator==(const UsulState&) const = default;
};

class EditHistory {
  public:
    static constexpr std::size_t kKeptSteps = 200;

    // A state loaded or saved: nothing to undo, and nothing is lost by leaving it.
    void reset(const UsulState& s);
    // The same state is now what the library holds.
    void markSaved(const UsulState& s);
    // The state after an action; a change from the one before makes that one undoable and
    // forgets what could be redone. False when nothing changed.
    bool record(const UsulState& s);
    // The state to show, or nothing when there is no step to take.
    std::optional<UsulState> undo();
    std::optional<UsulState> redo();

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    bool modified() const { return current_ != saved_; }

  private:
    // Undo and redo are mirrors: the state shown goes onto `to`, the last of `from` is shown.
    std::optional<UsulState> step(std::vector<UsulState>& from, std::vector<UsulState>& to);

    std::vector<UsulState> undo_, redo_;
    UsulState current_, saved_;
};

} // namespace zerkavi
