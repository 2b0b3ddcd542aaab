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
    if (undo_.empty()) return std::nullopt;
    redo_.push_back(current_);
    current_ = undo_.back();
    undo_.pop_back();
    return current_;
}

std::optional<UsulState> EditHistory::redo() {
    if (redo_.empty()) return std::nullopt;
    undo_.push_back(current_);
    current_ = redo_.back();
    redo_.pop_back();
    return current_;
}

} // namespace zerkavi
