#include "ui/editor_tools.h"

#include <QWidget>

#include "model/step_params.h"
#include "model/time_calculator.h"
#include "ui/dialogs/dialog_parts.h"
#include "ui/dialogs/edit_aspect_dialog.h"
#include "ui/dialogs/edit_pin_dialog.h"
#include "ui/dialogs/edit_step_dialog.h"
#include "ui/dialogs/event_pattern_calculator.h"
#include "ui/dialogs/level_calculator.h"
#include "ui/dialogs/pattern_calculator.h"
#include "ui/dialogs/time_calculator.h"
#include "ui/text.h"

namespace tarn::ui {
namespace {

bool IsStepRow(int row) { return row >= 0 && row < kMaxStepsPerAspect; }

}  // namespace

EditorTools::EditorTools(WindowContext& context, QWidget* parent)
    : QObject(parent),
      context_(context),
      pin_(new EditPinDialog(context, parent)),
      aspect_(new EditAspectDialog(context, parent)),
      step_(new EditStepDialog(context, parent)),
      level_(new LevelCalculatorDialog(context.host, parent)),
      pattern_(new PatternCalculatorDialog(context.host, parent)),
      event_pattern_(new EventPatternCalculatorDialog(context.host, parent)),
      time_(new TimeCalculatorDialog(context.host, parent)) {}

bool EditorTools::Changes(const std::function<void()>& run) {
  const DeviceConfiguration before = context_.config();
  run();
  return context_.config() != before;
}

bool EditorTools::EditPin() {
  return Changes([this] { pin_->Run(); });
}

bool EditorTools::EditAspect() {
  return Changes([this] { aspect_->Run(); });
}

bool EditorTools::EditStep(int row) {
  if (!IsStepRow(row)) return false;
  return Changes([this, row] { step_->Run(row); });
}

bool EditorTools::OpenHelpTool(int row, HelpToolBox box, const QString& field_text) {
  if (!IsStepRow(row)) return false;
  DeviceConfiguration& config = context_.config();
  const Step step = CurrentAspectRecord(config).steps[row];
  const HelpToolChoice choice = ChooseHelpTool(step, box);
  const int value = CalculatorOpeningValue(step, TypedText(field_text), config.current_pin,
                                           context_.numbering_base());
  switch (choice.tool) {
    case HelpTool::kLevel:
      return level_->Run(field_text) && StoreParameter("Calculate Level", row, level_->parameter());
    case HelpTool::kPattern:
      return pattern_->Run(value, choice.outputs, field_text) &&
             StoreParameter("Calculate Pattern", row, pattern_->parameter());
    case HelpTool::kEventPattern:
      return event_pattern_->Run(value, field_text) &&
             StoreParameter("Calculate Event Pattern", row, event_pattern_->parameter());
    case HelpTool::kTime:
      if (!time_->Run(step)) return false;
      context_.host.Edit("Calculate Time", [this, row] {
        StoreWaitTime(CurrentAspectRecord(context_.config()).steps[row], time_->calculator());
      });
      return true;
    case HelpTool::kNone:
      break;
  }
  context_.prompter.Show(choice.message);
  return false;
}

bool EditorTools::StoreParameter(std::string_view edit, int row, const QString& parameter) {
  const std::string typed = TypedText(parameter);
  context_.host.Edit(edit, [this, row, &typed] {
    DeviceConfiguration& config = context_.config();
    EnterParam(CurrentAspectRecord(config).steps[row], StepParam::kP2, typed, config.current_pin,
               context_.numbering_base());
  });
  return true;
}

}  // namespace tarn::ui
