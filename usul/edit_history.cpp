#include "usul/edit_history.h"

namespace zerkavi {

void EditHistory::reset(const UsulState& s) {
    undo_.clear();
    redo_.clear();
    current_ = saved_ = s;
}

void EditHistory::markSaved(const UsulState& s) {
    record(s);
    saved_ = s;
}

bool EditHistory::record(const UsulState& s) {
    if (s == current_) return false;
    undo_.push_back(current_);
    if (undo_.size() > kKeptSteps) undo_.erase(undo_.begin());
    redo_.clear();
    current_ = s;
    return true;
}

std::optional<UsulState> EditHistory::undo() {
    return step(undo_, redo_);
}

std::optional<UsulState> EditHistory::redo() {
    return step(redo_, undo_);
}

std::optional<UsulState> EditHistory::step(std::vector<UsulState>& from,
                                           std::vector<UsulState>& to) {
    if (from.empty()) return std::nullopt;
    to.push_back(current_);
    current_ = from.back();
    from.pop_back();
    return current_;
}

} // namespace zerkavi
