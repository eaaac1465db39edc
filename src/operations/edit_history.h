#ifndef TARN_OPERATIONS_EDIT_HISTORY_H_
#define TARN_OPERATIONS_EDIT_HISTORY_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "operations/workspace.h"

// Undo and redo of the window's edits. Each edit keeps the whole workspace as it was: a
// configuration is a few tens of kilobytes, so a snapshot is cheaper to get right than an
// inverse for every kind of edit.

namespace tarn {

inline constexpr std::size_t kEditHistoryLimit = 200;

class EditHistory {
 public:
  explicit EditHistory(std::size_t limit = kEditHistoryLimit) : limit_(limit) {}

  // An edit named `name` ("Paste Pin") turned `before` into `after`. Forgets what could be redone
  // and, past the limit, the oldest edit. An edit that changed nothing is not kept; returns
  // whether this one was.
  bool Record(std::string_view name, const Workspace& before, const Workspace& after);
  // A text typed a character at a time: keystrokes that follow one another in the same field
  // (`name`) are one edit, until another edit, an undo, a redo or a save comes between them.
  bool RecordTyping(std::string_view name, const Workspace& before, const Workspace& after);

  // The workspace before the last edit, or nullopt when there is none. `current` is what the
  // window holds now; Redo gives it back.
  std::optional<Workspace> Undo(const Workspace& current);
  std::optional<Workspace> Redo(const Workspace& current);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  // The Edit menu's entries: "Undo Paste Pin", or "Undo" when there is nothing to undo.
  std::string UndoText() const;
  std::string RedoText() const;

  // What the window holds now is what was saved or loaded; after undo and redo, IsModified tells
  // whether the window holds that again.
  void MarkSaved() {
    saved_state_ = current_state_;
    typing_ = false;
  }
  bool IsModified() const { return saved_state_ != current_state_; }

  // Forgets every edit; what the window holds counts as saved.
  void Clear();

 private:
  struct Entry {
    std::string name;
    Workspace workspace;
    std::uint64_t state;  // which state of the window the workspace is
  };

  // Takes the last entry of `from` as the window's workspace and keeps `current` on `to`.
  std::optional<Workspace> Move(std::deque<Entry>& from, std::deque<Entry>& to,
                                const Workspace& current);

  std::size_t limit_;
  std::deque<Entry> undo_;  // the oldest first
  std::deque<Entry> redo_;  // the next to redo last
  std::uint64_t current_state_ = 0;
  std::uint64_t saved_state_ = 0;
  std::uint64_t last_state_ = 0;  // every edit makes a state no other has had
  bool typing_ = false;           // the last edit was typing, and nothing came after it
};

}  // namespace tarn

#endif  // TARN_OPERATIONS_EDIT_HISTORY_H_
