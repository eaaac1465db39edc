#include "model/pin_parameters.h"

#include <algorithm>

#include "model/typed_number.h"

namespace tarn {
namespace {

// Only values inside one of the parameter's ranges come here, so the byte is always 0..127.
PinFieldResult Store(const PinParameter& parameter, int value, PinConfig& config) {
  PinFieldResult result{.value = value, .text = std::to_string(value), .stored = false};
  if (AppliesTo(parameter, config)) {
    config[parameter.byte] = static_cast<std::uint8_t>(value + parameter.offset);
    result.stored = true;
  }
  return result;
}

std::string ControlName(std::string_view name, int index) {
  std::string text(name);
  if (index >= 0) text += "_" + std::to_string(index);
  return text;
}

constexpr std::array<PinModeDefaults, kPinConfigTabCount> kModeDefaults = {{
    {PinMode::kNotConfigured, {}, 0},
    {PinMode::kServo, {64, 0, 64, 127, 58, 127, 127, 64, 0, 64, 0}, 64},
    {PinMode::kPwm, {0, 0, 28, 0, 31}, 0},
    {PinMode::kInputLowActive, {0, 0, 4, 4}, 0},
}};

bool IsOfTab(const PinConfig& config, PinConfigTab tab) { return TabOfModeByte(config[0]) == tab; }

}  // namespace

PinConfigTab TabOfMode(PinMode mode) {
  switch (mode) {
    case PinMode::kNotConfigured:
      return PinConfigTab::kClear;
    case PinMode::kServo:
      return PinConfigTab::kServo;
    case PinMode::kPwm:
    case PinMode::kPwmInverted:
      return PinConfigTab::kPwm;
    case PinMode::kInput:
    case PinMode::kInputLowActive:
      return PinConfigTab::kInput;
  }
  return PinConfigTab::kClear;
}

std::optional<PinConfigTab> TabOfModeByte(std::uint8_t mode_byte) {
  const std::optional<PinMode> mode = PinModeFromByte(mode_byte);
  if (!mode) return std::nullopt;
  return TabOfMode(*mode);
}

std::string UnknownConfigurationText(std::uint8_t mode_byte) {
  return std::string(kUnknownConfigurationText) + std::to_string(mode_byte);
}

std::span<const PinParameter> PinParametersOf(PinConfigTab tab) {
  switch (tab) {
    case PinConfigTab::kServo:
      return kServoParameters;
    case PinConfigTab::kPwm:
      return kPwmParameters;
    case PinConfigTab::kInput:
      return kInputParameters;
    case PinConfigTab::kClear:
      break;
  }
  return {};
}

const PinParameter& PinParameterOf(PinParameterId id) {
  for (PinConfigTab tab : {PinConfigTab::kServo, PinConfigTab::kPwm, PinConfigTab::kInput}) {
    for (const PinParameter& parameter : PinParametersOf(tab)) {
      if (parameter.id == id) return parameter;
    }
  }
  return kServoParameters.front();  // unreachable for a named id
}

std::string FieldControlName(const PinParameter& parameter) {
  return ControlName(parameter.field, parameter.control_index);
}

std::string ButtonsControlName(const PinParameter& parameter) {
  return ControlName(parameter.buttons, parameter.control_index);
}

int ShownValue(const PinParameter& parameter, const PinConfig& config) {
  return config[parameter.byte] - parameter.offset;
}

bool AppliesTo(const PinParameter& parameter, const PinConfig& config) {
  return IsOfTab(config, parameter.tab);
}

PinFieldResult ConfirmPinParameter(const PinParameter& parameter, std::string_view typed,
                                   PinConfig& config) {
  return Store(parameter, parameter.typed.Clamp(TypedNumber(typed)), config);
}

PinFieldResult StepPinParameter(const PinParameter& parameter, int steps, PinConfig& config) {
  return Store(parameter, parameter.stepped.Clamp(ShownValue(parameter, config) + steps), config);
}

bool TypePinParameter(const PinParameter& parameter, std::string_view typed, PinConfig& config) {
  if (!parameter.initial_value) return false;
  // A field being typed into holds no value yet while it is empty or a lone sign: storing 0 then
  // would switch a lamp off, or swing a servo, on the way to the number the user means.
  if (typed.find_first_of("0123456789") == std::string_view::npos) return false;
  const int value = TypedNumber(typed);
  if (!parameter.typed.Contains(value)) return false;
  return Store(parameter, value, config).stored;
}

std::optional<PinFieldResult> TakeOverLiveValue(const PinParameter& parameter, PinRecord& pin) {
  if (!parameter.initial_value || !AppliesTo(parameter, pin.pin_config)) return std::nullopt;
  return Store(parameter, parameter.typed.Clamp(pin.live_value - parameter.offset), pin.pin_config);
}

const PinModeDefaults& DefaultsOf(PinConfigTab tab) {
  return kModeDefaults[static_cast<std::size_t>(tab) % kModeDefaults.size()];
}

bool SelectPinConfigTab(PinConfigTab tab, PinRecord& pin) {
  if (IsOfTab(pin.pin_config, tab)) return false;
  const PinModeDefaults& defaults = DefaultsOf(tab);
  pin.pin_config[0] = static_cast<std::uint8_t>(defaults.mode);
  std::copy(defaults.bytes.begin(), defaults.bytes.end(), pin.pin_config.begin() + 1);
  pin.live_value = defaults.live_value;
  return true;
}

bool SetPwmInverted(bool inverted, PinConfig& config) {
  if (!IsOfTab(config, PinConfigTab::kPwm)) return false;
  config[0] = static_cast<std::uint8_t>(PinMode::kPwm) + (inverted ? 1 : 0);
  return true;
}

bool SetInputLowActive(bool low_active, PinConfig& config) {
  if (!IsOfTab(config, PinConfigTab::kInput)) return false;
  config[0] = static_cast<std::uint8_t>(PinMode::kInput) + (low_active ? 1 : 0);
  return true;
}

PwmCurves PwmCurvesOf(std::uint8_t byte) {
  return PwmCurves{.drive_mode = byte & 1, .acceleration_mode = (byte >> 1) & 1};
}

bool SetPwmCurves(const PwmCurves& curves, PinConfig& config) {
  if (!IsOfTab(config, PinConfigTab::kPwm)) return false;
  config[2] = static_cast<std::uint8_t>(2 * (curves.acceleration_mode != 0 ? 1 : 0) +
                                        (curves.drive_mode != 0 ? 1 : 0));
  return true;
}

bool SetServoFlags(const ServoFlags& flags, PinConfig& config) {
  if (!IsOfTab(config, PinConfigTab::kServo)) return false;
  config[2] = ServoFlagsByte(flags);
  return true;
}

bool HasDriverInGroupOf(const GeneralSettings& settings, int pin) {
  if (!IsPinNumber(pin)) return false;
  const int group = pin / 8;
  return settings.sink_driver[group] || settings.source_driver[group];
}

bool HardwareConfigurationMismatch(const GeneralSettings& settings, int pin,
                                   std::uint8_t mode_byte) {
  const std::optional<PinConfigTab> tab = TabOfModeByte(mode_byte);
  const bool warns = tab == PinConfigTab::kServo || tab == PinConfigTab::kInput;
  return warns && HasDriverInGroupOf(settings, pin);
}

}  // namespace tarn
