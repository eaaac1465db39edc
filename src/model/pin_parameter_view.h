#ifndef TARN_MODEL_PIN_PARAMETER_VIEW_H_
#define TARN_MODEL_PIN_PARAMETER_VIEW_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/device_configuration.h"
#include "model/pin_parameters.h"

namespace tarn {

// Controls of the pin configuration tabs that the device's control list does not name.
inline constexpr std::string_view kServoInitialisedBox = "ChkSrvInitialised";
inline constexpr std::string_view kServoWarningLabel = "LabelSrvHWCWarning";
inline constexpr std::string_view kInputWarningLabel = "LabelInputHWCWarning";

// Which property of the control a shown value sets.
enum class PinControlKind : std::uint8_t {
  kText,     // a text field: `text`
  kValue,    // up/down buttons or a slider: `value`
  kChecked,  // a check box or one option button of a group: `on`
  kVisible,  // a label that is shown or hidden: `on`
};

struct ShownControl {
  std::string name;  // object name: control name, or name_index for an array element
  PinControlKind kind = PinControlKind::kText;
  std::string text;
  int value = 0;
  bool on = false;

  friend bool operator==(const ShownControl&, const ShownControl&) = default;
};

// What showing the current pin does to the tabs. For a mode that names no tab, `tab` is empty:
// the tabs stay as they are and `unknown_configuration` is the message to show (OK button).
struct PinConfigView {
  std::optional<PinConfigTab> tab;
  std::string unknown_configuration;
  std::vector<ShownControl> controls;  // the chosen tab's controls, nothing of the other tabs
};

// Called whenever the current pin changes, after a file or a Tarn delivered new values, after a
// tab choice, and when a Sink or Source box changes (the hardware warning follows them).
PinConfigView ShowPinConfig(const DeviceConfiguration& config);

// The entry for object name `name`, or nullptr when the view does not set that control.
const ShownControl* FindShownControl(const PinConfigView& view, std::string_view name);

}  // namespace tarn

#endif  // TARN_MODEL_PIN_PARAMETER_VIEW_H_
