#include "operations/edit_history.h"

#include <utility>

namespace tarn {
namespace {

std::string MenuText(std::string_view verb, const std::string* name) {
  std::string text(verb);
  if (name != nullptr) text += " " + *name;
  return text;
}

}  // namespace

bool EditHistory::Record(std::string_view name, const Workspace& before, const Workspace& after) {
  typing_ = false;
  if (before == after || limit_ == 0) return false;
  undo_.push_back({std::string(name), before, current_state_});
  if (undo_.size() > limit_) undo_.pop_front();
  redo_.clear();
  current_state_ = ++last_state_;
  return true;
}

bool EditHistory::RecordTyping(std::string_view name, const Workspace& before,
                               const Workspace& after) {
  if (typing_ && before != after && !undo_.empty() && undo_.back().name == name) {
    // The edit already kept holds the workspace before the first keystroke.
    current_state_ = ++last_state_;
    return true;
  }
  const bool recorded = Record(name, before, after);
  typing_ = recorded;
  return recorded;
}

std::optional<Workspace> EditHistory::Undo(const Workspace& current) {
  return Move(undo_, redo_, current);
}

std::optional<Workspace> EditHistory::Redo(const Workspace& current) {
  return Move(redo_, undo_, current);
}

std::optional<Workspace> EditHistory::Move(std::deque<Entry>& from, std::deque<Entry>& to,
                                           const Workspace& current) {
  typing_ = false;
  if (from.empty()) return std::nullopt;
  Entry entry = std::move(from.back());
  from.pop_back();
  to.push_back({entry.name, current, current_state_});
  current_state_ = entry.state;
  return std::move(entry.workspace);
}

std::string EditHistory::UndoText() const {
  return MenuText("Undo", undo_.empty() ? nullptr : &undo_.back().name);
}

std::string EditHistory::RedoText() const {
  return MenuText("Redo", redo_.empty() ? nullptr : &redo_.back().name);
}

void EditHistory::Clear() {
  typing_ = false;
  undo_.clear();
  redo_.clear();
  saved_state_ = current_state_;
}

}  // namespace tarn
