// Undo and redo of whole-workspace snapshots, the Edit menu's texts and the saved mark.

#include "operations/edit_history.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "model/step_params.h"
#include "support/recording_prompter.h"

namespace tarn {
namespace {

// Three edits as the window makes them, each recorded with the workspace it started from.
class EditHistoryTest : public ::testing::Test {
 protected:
  void Edit(std::string_view name, const std::function<void(Workspace&)>& change) {
    const Workspace before = workspace_;
    change(workspace_);
    ASSERT_TRUE(history_.Record(name, before, workspace_)) << name;
    states_.push_back(workspace_);
  }

  void MakeThreeEdits() {
    states_.push_back(workspace_);
    Edit("Paste Pin", [](Workspace& w) {
      w.config.pins[3].aspect_layout = 3;
      w.config.pins[3].description = "Signal";
      w.config.pins[9] = w.config.pins[3];
    });
    Edit("Edit Step", [](Workspace& w) {
      Step& step = w.config.pins[9].aspects[0].steps[0];
      step.opcode = 38;
      EnterParam(step, StepParam::kP2, "25", 9, w.config.numbering_base);
    });
    Edit("Load File", [](Workspace& w) {
      testing::RecordingPrompter prompter;
      ASSERT_TRUE(ReadDataFile(
          "\"TarnConfiguration 3100\"\r\n\"ID$\",\"Yard\"\r\n\"Pin\",9,2,0,\"Gate\"\r\n\"End\"\r\n",
          w.config, prompter));
    });
  }

  Workspace workspace_;
  EditHistory history_;
  std::vector<Workspace> states_;  // after each edit, the start first
};

TEST_F(EditHistoryTest, UndoAndRedoGiveBackTheExactWorkspaceEachTime) {
  MakeThreeEdits();
  ASSERT_EQ(states_.size(), 4u);
  const char* const kNames[] = {"Paste Pin", "Edit Step", "Load File"};
  for (int i = 3; i > 0; --i) {
    EXPECT_EQ(history_.UndoText(), std::string("Undo ") + kNames[i - 1]);
    workspace_ = *history_.Undo(workspace_);
    EXPECT_EQ(workspace_, states_[i - 1]) << i;
    EXPECT_EQ(history_.RedoText(), std::string("Redo ") + kNames[i - 1]);
  }
  EXPECT_FALSE(history_.CanUndo());
  EXPECT_EQ(history_.UndoText(), "Undo");
  EXPECT_FALSE(history_.Undo(workspace_));
  for (int i = 1; i <= 3; ++i) {
    workspace_ = *history_.Redo(workspace_);
    EXPECT_EQ(workspace_, states_[i]) << i;
  }
  EXPECT_FALSE(history_.CanRedo());
  EXPECT_EQ(history_.RedoText(), "Redo");

  // A new edit after an undo leaves nothing to redo.
  workspace_ = *history_.Undo(workspace_);
  ASSERT_TRUE(history_.CanRedo());
  Edit("Load Device", [](Workspace& w) { w.config.pins[0].device_name = "Crossing"; });
  EXPECT_FALSE(history_.CanRedo());
  EXPECT_EQ(history_.UndoText(), "Undo Load Device");
}

TEST_F(EditHistoryTest, TheSavedMarkFollowsUndoAndRedo) {
  EXPECT_FALSE(history_.IsModified());
  MakeThreeEdits();
  EXPECT_TRUE(history_.IsModified());
  workspace_ = *history_.Undo(workspace_);
  history_.MarkSaved();  // saved after the step edit
  workspace_ = *history_.Undo(workspace_);
  EXPECT_TRUE(history_.IsModified());
  workspace_ = *history_.Redo(workspace_);
  EXPECT_FALSE(history_.IsModified());
  workspace_ = *history_.Redo(workspace_);
  EXPECT_TRUE(history_.IsModified());

  // Once redo is cleared past the saved state, no undo leads back to it.
  workspace_ = *history_.Undo(workspace_);
  workspace_ = *history_.Undo(workspace_);
  Edit("Edit Step", [](Workspace& w) { w.config.pins[1].initial_aspect = 2; });
  workspace_ = *history_.Undo(workspace_);
  EXPECT_TRUE(history_.IsModified());
}

// Keystrokes in one field are one edit; anything between them starts another.
TEST(EditHistoryTypingTest, KeystrokesInOneFieldUndoTogether) {
  const struct {
    const char* what;
    std::function<void(EditHistory&, Workspace&)> between;  // after "Si", before "g"
    int undos_to_start;                                     // back to the empty description
  } cases[] = {
      {"nothing", [](EditHistory&, Workspace&) {}, 1},
      {"a save", [](EditHistory& h, Workspace&) { h.MarkSaved(); }, 2},
      {"another field",
       [](EditHistory& h, Workspace& w) {
         const Workspace before = w;
         w.config.pins[0].aspects[0].description = "A";
         h.RecordTyping("Aspect description", before, w);
       },
       3},
      {"an undo and a redo",
       [](EditHistory& h, Workspace& w) {
         w = *h.Undo(w);
         w = *h.Redo(w);
       },
       2},
  };
  for (const auto& c : cases) {
    EditHistory history;
    Workspace workspace;
    const auto type = [&](const char* text) {
      const Workspace before = workspace;
      workspace.config.pins[0].description = text;
      EXPECT_TRUE(history.RecordTyping("Pin description", before, workspace)) << c.what;
    };
    type("S");
    type("Si");
    c.between(history, workspace);
    type("Sig");
    EXPECT_EQ(history.UndoText(), "Undo Pin description") << c.what;
    int undos = 0;
    while (history.CanUndo() && !workspace.config.pins[0].description.empty()) {
      workspace = *history.Undo(workspace);
      ++undos;
    }
    EXPECT_EQ(undos, c.undos_to_start) << c.what;
    EXPECT_EQ(workspace, Workspace{}) << c.what;
  }
}

TEST(EditHistoryLimitTest, KeepsTheNewestEditsAndNoEmptyOnes) {
  EditHistory history(2);
  Workspace workspace;
  EXPECT_FALSE(history.Record("Edit Step", workspace, workspace));
  EXPECT_FALSE(history.CanUndo());
  for (int i = 1; i <= 3; ++i) {
    const Workspace before = workspace;
    workspace.config.pins[0].initial_aspect = static_cast<std::uint8_t>(i);
    history.Record("Edit Step", before, workspace);
  }
  workspace = *history.Undo(workspace);
  workspace = *history.Undo(workspace);
  EXPECT_EQ(workspace.config.pins[0].initial_aspect, 1);
  EXPECT_FALSE(history.CanUndo());
}

}  // namespace
}  // namespace tarn
