#include "model/pin_parameter_view.h"

#include <string>
#include <utility>

#include "model/servo_flags.h"

namespace tarn {
namespace {

class ControlList {
 public:
  explicit ControlList(std::vector<ShownControl>& controls) : controls_(controls) {}

  void Text(std::string name, std::string text) {
    Add(std::move(name), PinControlKind::kText, std::move(text), 0, false);
  }
  void Value(std::string name, int value) {
    Add(std::move(name), PinControlKind::kValue, {}, value, false);
  }
  void Checked(std::string name, bool on) {
    Add(std::move(name), PinControlKind::kChecked, {}, 0, on);
  }
  void Visible(std::string name, bool on) {
    Add(std::move(name), PinControlKind::kVisible, {}, 0, on);
  }
  // One option button per choice, the chosen one checked.
  void Options(std::string_view name, int count, int chosen) {
    for (int i = 0; i < count; ++i) {
      Checked(std::string(name) + "_" + std::to_string(i), i == chosen);
    }
  }
  void Parameters(PinConfigTab tab, const PinConfig& config) {
    for (const PinParameter& parameter : PinParametersOf(tab)) {
      const int value = ShownValue(parameter, config);
      Text(FieldControlName(parameter), std::to_string(value));
      Value(ButtonsControlName(parameter), value);
    }
  }

 private:
  void Add(std::string name, PinControlKind kind, std::string text, int value, bool on) {
    controls_.push_back(ShownControl{std::move(name), kind, std::move(text), value, on});
  }

  std::vector<ShownControl>& controls_;
};

}  // namespace

PinConfigView ShowPinConfig(const DeviceConfiguration& config) {
  PinConfigView view;
  if (config.current_pin >= kPinCount) return view;
  const int pin_number = config.current_pin;
  const PinRecord& pin = config.pins[pin_number];
  const PinConfig& bytes = pin.pin_config;
  view.tab = TabOfModeByte(bytes[0]);
  if (!view.tab) {
    view.unknown_configuration = UnknownConfigurationText(bytes[0]);
    return view;
  }
  const bool mismatch =
      HardwareConfigurationMismatch(config.general_settings, pin_number, bytes[0]);
  ControlList list(view.controls);
  switch (*view.tab) {
    case PinConfigTab::kClear:
      break;
    case PinConfigTab::kServo: {
      const int position = pin.live_value - 64;
      list.Text("TextPosition", std::to_string(position));
      list.Value("SliderServo", position);
      list.Parameters(PinConfigTab::kServo, bytes);
      const ServoFlags flags = ServoFlagsOf(bytes[2]);
      list.Options("OptionServoRange", kServoRangeCount, flags.range);
      list.Checked("ChkSrvAutoSuspend", flags.auto_suspend);
      list.Checked("ChkSrvSuspended", flags.suspended);
      list.Checked(std::string(kServoInitialisedBox), flags.initialised);
      list.Visible(std::string(kServoWarningLabel), mismatch);
      break;
    }
    case PinConfigTab::kPwm: {
      list.Checked("CheckPWMInverted",
                   bytes[0] == static_cast<std::uint8_t>(PinMode::kPwmInverted));
      list.Text("TextPWMLevel", std::to_string(pin.live_value));
      list.Value("SliderPWM", pin.live_value);
      list.Parameters(PinConfigTab::kPwm, bytes);
      const PwmCurves curves = PwmCurvesOf(bytes[2]);
      list.Options("OptionPWMDriveMode", static_cast<int>(kPwmCurveTexts.size()),
                   curves.drive_mode);
      list.Options("OptionPWMAccelMode", static_cast<int>(kPwmCurveTexts.size()),
                   curves.acceleration_mode);
      break;
    }
    case PinConfigTab::kInput:
      list.Checked("CheckInputInvert",
                   bytes[0] == static_cast<std::uint8_t>(PinMode::kInputLowActive));
      list.Parameters(PinConfigTab::kInput, bytes);
      list.Visible(std::string(kInputWarningLabel), mismatch);
      break;
  }
  return view;
}

const ShownControl* FindShownControl(const PinConfigView& view, std::string_view name) {
  for (const ShownControl& control : view.controls) {
    if (control.name == name) return &control;
  }
  return nullptr;
}

}  // namespace tarn
