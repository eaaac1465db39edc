#ifndef TARN_UI_EDITOR_TOOLS_H_
#define TARN_UI_EDITOR_TOOLS_H_

#include <QObject>
#include <QString>
#include <string_view>

#include "model/help_tools.h"
#include "ui/window_context.h"

class QWidget;

namespace tarn::ui {

class EditAspectDialog;
class EditPinDialog;
class EditStepDialog;
class EventPatternCalculatorDialog;
class LevelCalculatorDialog;
class PatternCalculatorDialog;
class TimeCalculatorDialog;

// What the aspect editor's clicks open: the clipboard dialogs ("Edit Pin", "Edit Aspect", "Edit
// Step") and the parameter calculators. The dialogs are made once, as children of `parent` (which
// must not be null), and keep their state (the clipboards) for the whole run. Each call returns
// whether the editor must show the aspect view again: the model changed, or a calculator closed
// with "OK" and its result went into the step.
class EditorTools : public QObject {
  Q_OBJECT

 public:
  EditorTools(WindowContext& context, QWidget* parent);

  // A click on the "Pin" label, the "Aspect" label, the number of step row `row`.
  bool EditPin();
  bool EditAspect();
  bool EditStep(int row);

  // A double-click (or F1) on `box` of step row `row` of the current aspect; `field_text` is what
  // the field shows now, which a p2 calculator opens with and gives back when cancelled.
  // "Cancel" leaves the step as it is. Without a tool for the step's instruction and the box:
  // "Help tool not available for this box with the selected command".
  bool OpenHelpTool(int row, HelpToolBox box, const QString& field_text);

 private:
  // Whether `run` changed the model.
  bool Changes(const std::function<void()>& run);
  // A p2 calculator's "Parameter" goes into the step as a typed p2 does.
  bool StoreParameter(std::string_view edit, int row, const QString& parameter);

  WindowContext& context_;
  EditPinDialog* pin_;
  EditAspectDialog* aspect_;
  EditStepDialog* step_;
  LevelCalculatorDialog* level_;
  PatternCalculatorDialog* pattern_;
  EventPatternCalculatorDialog* event_pattern_;
  TimeCalculatorDialog* time_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_EDITOR_TOOLS_H_
