#ifndef TARN_UI_PIN_CONFIG_TABS_H_
#define TARN_UI_PIN_CONFIG_TABS_H_

#include <QWidget>

#include "ui/window_context.h"

namespace tarn::ui {

// SSTabPCFG with its four tabs "Clear", "Servo", "PWM" and "Input": every parameter field with its
// up/down, the range options, the flag boxes and the hardware warnings, the live PWM and servo
// controls, and "Get Pin Config", "Set Pin Config", "Read Pin Config", "Write Pin Config".
class PinConfigTabs : public QWidget {
  Q_OBJECT

 public:
  PinConfigTabs(WindowContext& context, QWidget* parent = nullptr);

  // Shows the current pin: the tab of its mode and its values.
  void ShowPin();
  // Takes over what is typed into the shown tab's fields, as if each had been confirmed.
  void CommitPending();
  // The tabs and the "Get"/"Set" buttons show with details on; "Read"/"Write Pin Config" with
  // details on and expert mode.
  void ApplyVisibility(bool details);

 private:
  WindowContext& context_;
};

}  // namespace tarn::ui

#endif  // TARN_UI_PIN_CONFIG_TABS_H_
