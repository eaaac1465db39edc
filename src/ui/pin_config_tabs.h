#ifndef TARN_UI_PIN_CONFIG_TABS_H_
#define TARN_UI_PIN_CONFIG_TABS_H_

#include <QHash>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/pin_parameter_view.h"
#include "model/pin_parameters.h"
#include "protocol/pin_commands.h"
#include "ui/window_context.h"

class QCheckBox;
class QGridLayout;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace tarn::ui {

class LiveOutputControls;
class NumberField;

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
  // One numeric field of a tab, made from the core's parameter table.
  struct ParameterField {
    const PinParameter* parameter;
    NumberField* field;
  };

  QWidget* BuildClearPage();
  QWidget* BuildServoPage();
  QWidget* BuildPwmPage();
  QWidget* BuildInputPage();
  QWidget* BuildButtons();
  // The numeric fields of `tab`, `columns` label-field-up/down groups side by side.
  QGridLayout* BuildParameterFields(QWidget* page, PinConfigTab tab, int columns);
  // An option group of the tab: one option per caption, each named for a screen reader with the
  // group's name ("Drive Mode Linear").
  QWidget* BuildOptions(QWidget* page, const QString& frame_name, const QString& caption,
                        std::string_view option_name, std::span<const std::string_view> texts,
                        std::vector<QRadioButton*>& options);
  QWidget* BuildWarning(QWidget* page, std::string_view name);
  void Register(QWidget* control);

  // Sets every control the view names, by its object name.
  void Apply(const PinConfigView& view);

  void ConfirmField(const ParameterField& entry);
  void StepField(const ParameterField& entry, int direction);
  void TypeField(const ParameterField& entry, const QString& text);
  void TakeOverLiveValue(const ParameterField& entry);
  void TabChosen(int index);
  // A box or option that rebuilds one of the mode bytes: the edit, then the pin shown again.
  void EditMode(std::string_view what, const std::function<void(PinConfig&)>& edit);
  void ServoFlagsChanged(std::string_view what);
  void PwmCurvesChanged(std::string_view what);
  void Fetch(PinConfigVariant variant);
  void Send(PinConfigVariant variant);

  PinRecord& current_pin();

  WindowContext& context_;
  QTabWidget* tabs_;
  // The controls the view sets, by object name.
  QHash<QString, QWidget*> controls_;
  std::vector<ParameterField> fields_;
  std::vector<QRadioButton*> servo_ranges_;
  std::vector<QRadioButton*> drive_modes_;
  std::vector<QRadioButton*> acceleration_modes_;
  QCheckBox* auto_suspend_ = nullptr;
  QCheckBox* suspended_ = nullptr;
  LiveOutputControls* servo_live_ = nullptr;
  LiveOutputControls* pwm_live_ = nullptr;
  std::array<QPushButton*, 2> fetch_buttons_{};  // by variant: "Get", "Read Pin Config"
  std::array<QPushButton*, 2> send_buttons_{};   // by variant: "Set", "Write Pin Config"
};

}  // namespace tarn::ui

#endif  // TARN_UI_PIN_CONFIG_TABS_H_
