#ifndef TARN_MODEL_PIN_PARAMETERS_H_
#define TARN_MODEL_PIN_PARAMETERS_H_

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/general_settings.h"
#include "model/pin_mode.h"
#include "model/pin_record.h"
#include "model/servo_flags.h"

namespace tarn {

// The tabs of SSTabPCFG. Each tab stands for a group of modes: PWM for 2 and 3, Input for 4
// and 5; the "Inverted" and "Low Active" boxes choose within the group.
enum class PinConfigTab : std::uint8_t { kClear = 0, kServo = 1, kPwm = 2, kInput = 3 };

inline constexpr int kPinConfigTabCount = 4;
inline constexpr std::array<std::string_view, kPinConfigTabCount> kPinConfigTabTexts = {
    "Clear", "Servo", "PWM", "Input"};
inline constexpr std::string_view kNotConfiguredText = "Pin is not configured";
inline constexpr std::string_view kHardwareMismatchText =
    "Warning: Hardware Configuration Mismatch";
inline constexpr std::string_view kUnknownConfigurationText = "Unknown configuration: ";

inline constexpr std::string_view kPwmInvertedText = "Inverted";
inline constexpr std::string_view kInputLowActiveText = "Low Active";
inline constexpr std::string_view kPwmDriveModeText = "Drive Mode";
inline constexpr std::string_view kPwmAccelerationModeText = "Acceleration Mode";
// Option index 0 and 1 of the drive and acceleration modes; the bit in byte 2 is the index.
inline constexpr std::array<std::string_view, 2> kPwmCurveTexts = {"Logaritmic", "Linear"};

PinConfigTab TabOfMode(PinMode mode);
// nullopt for bytes 6..255, which name no mode.
std::optional<PinConfigTab> TabOfModeByte(std::uint8_t mode_byte);

// "Unknown configuration: " and the mode number.
std::string UnknownConfigurationText(std::uint8_t mode_byte);

struct ValueRange {
  int min = 0;
  int max = 0;

  constexpr int Clamp(int value) const { return value < min ? min : value > max ? max : value; }
  constexpr bool Contains(int value) const { return value >= min && value <= max; }
};

enum class PinParameterId : std::uint8_t {
  kInitialPosition,
  kMidpoint,
  kAntiMass,
  kDamping,
  kMaxSpeed,
  kMaxAcceleration,
  kBounceDown,
  kBounceDownFactor,
  kBounceUp,
  kBounceUpFactor,
  kInitialLevel,
  kPwmAcceleration,
  kOffLevel,
  kOnLevel,
  kOffDelay,
  kOnDelay,
};

// One numeric field of a pin configuration tab with its up/down buttons.
struct PinParameter {
  PinParameterId id;
  PinConfigTab tab;
  int byte;            // index into PinConfig
  ValueRange typed;    // what confirming a typed value allows
  ValueRange stepped;  // what the buttons step through, stored without the typed check
  int offset;          // stored byte = shown value + offset
  // Byte 1 of servo and PWM: it starts the pin at its live value, so typing stores at once and
  // a double click takes the live value over.
  bool initial_value;
  std::string_view label;
  std::string_view field;    // control name of the text field
  std::string_view buttons;  // control name of its up/down buttons
  int control_index;         // element of a control array, or -1
};

// clang-format off
inline constexpr std::array<PinParameter, 10> kServoParameters = {{
    // id, tab, byte, typed range, button range, offset, initial value,
    //   label, field, buttons, control array index
    {PinParameterId::kInitialPosition, PinConfigTab::kServo, 1, {-64, 63}, {-64, 63}, 64, true,
     "Initial Position", "TextSrvInitPos", "UpDownIP", -1},
    {PinParameterId::kMidpoint, PinConfigTab::kServo, 3, {-64, 63}, {-64, 63}, 64, false,
     "Midpoint", "TextMidpoint", "UpDownMidpoint", -1},
    {PinParameterId::kAntiMass, PinConfigTab::kServo, 4, {0, 127}, {0, 127}, 0, false,
     "1/Mass", "TextSrvAntiMass", "UpDownAM", -1},
    {PinParameterId::kDamping, PinConfigTab::kServo, 5, {0, 127}, {0, 127}, 0, false,
     "Damping", "TextSrvFriction", "UpDownFriction", -1},
    {PinParameterId::kMaxSpeed, PinConfigTab::kServo, 6, {1, 127}, {1, 127}, 0, false,
     "MaxSpd", "TextSrvMaxSpd", "UpDownMaxSpeed", -1},
    {PinParameterId::kMaxAcceleration, PinConfigTab::kServo, 7, {1, 127}, {0, 127}, 0, false,
     "MaxAcc", "TextSrvMaxAccel", "UpDownMaxAccel", -1},
    {PinParameterId::kBounceDown, PinConfigTab::kServo, 8, {0, 63}, {0, 63}, 64, false,
     "BounceDown", "TextBounceDown", "UpDownBD", -1},
    {PinParameterId::kBounceDownFactor, PinConfigTab::kServo, 9, {0, 127}, {0, 127}, 0, false,
     "BounceDownFactor", "TextBounceDownFactor", "UpDownBDF", -1},
    {PinParameterId::kBounceUp, PinConfigTab::kServo, 10, {-63, 0}, {-64, 0}, 64, false,
     "BounceUp", "TextBounceUp", "UpDownBU", -1},
    {PinParameterId::kBounceUpFactor, PinConfigTab::kServo, 11, {0, 127}, {0, 127}, 0, false,
     "BounceUpFactor", "TextBounceUpFactor", "UpDownBUF", -1},
}};

inline constexpr std::array<PinParameter, 4> kPwmParameters = {{
    {PinParameterId::kInitialLevel, PinConfigTab::kPwm, 1, {0, 31}, {0, 31}, 0, true,
     "Initial Level", "TextPWMInitLevel", "UpDownIL", -1},
    {PinParameterId::kPwmAcceleration, PinConfigTab::kPwm, 3, {0, 31}, {0, 31}, 0, false,
     "Acceleration", "TextPWMAccel", "UpDownPWMAccel", -1},
    {PinParameterId::kOffLevel, PinConfigTab::kPwm, 4, {0, 31}, {0, 31}, 0, false,
     "Off - Level", "TextPWMOffLevel", "UpDownPWMOffLevel", -1},
    {PinParameterId::kOnLevel, PinConfigTab::kPwm, 5, {0, 31}, {0, 31}, 0, false,
     "On-Level", "TextPWMOnLevel", "UpDownPWMOnLevel", -1},
}};

inline constexpr std::array<PinParameter, 2> kInputParameters = {{
    {PinParameterId::kOffDelay, PinConfigTab::kInput, 3, {0, 31}, {0, 31}, 0, false,
     "OFF-delay (debounce)", "TextInputDelay", "UpDownInputDelay", 0},
    {PinParameterId::kOnDelay, PinConfigTab::kInput, 4, {0, 31}, {0, 31}, 0, false,
     "ON-delay (debounce)", "TextInputDelay", "UpDownInputDelay", 1},
}};
// clang-format on

// The numeric fields of a tab, in the order the tab shows them; none for "Clear".
std::span<const PinParameter> PinParametersOf(PinConfigTab tab);
const PinParameter& PinParameterOf(PinParameterId id);

// Object names: the control name, or name_index for an element of a control array.
std::string FieldControlName(const PinParameter& parameter);
std::string ButtonsControlName(const PinParameter& parameter);

// The stored byte in the field's units (offset taken off).
int ShownValue(const PinParameter& parameter, const PinConfig& config);

// Whether the pin's mode belongs to the parameter's tab. Parameter edits only land then: a pin
// whose mode is unknown keeps the tab it found, and must keep its bytes too.
bool AppliesTo(const PinParameter& parameter, const PinConfig& config);

struct PinFieldResult {
  int value = 0;        // the value the field now shows
  std::string text;     // the text to put back into the field
  bool stored = false;  // false when the pin's mode is not of the parameter's tab
};

// Leaving a field: the text's numeric value (text without a number counts as 0) limited to the
// typed range, stored with the field's encoding.
PinFieldResult ConfirmPinParameter(const PinParameter& parameter, std::string_view typed,
                                   PinConfig& config);

// The up/down buttons: `steps` (+1 up, -1 down) from the stored value, within the button range.
PinFieldResult StepPinParameter(const PinParameter& parameter, int steps, PinConfig& config);

// A keystroke in an initial value field stores the text at once when it holds a number inside the
// typed range; anything else (an empty field, a lone sign) waits for the confirmation. Returns
// whether it stored.
bool TypePinParameter(const PinParameter& parameter, std::string_view typed, PinConfig& config);

// A double click on an initial value field: the pin's live value (the slider's) becomes the
// initial value. nullopt for any other field, or when the pin's mode is not of its tab.
std::optional<PinFieldResult> TakeOverLiveValue(const PinParameter& parameter, PinRecord& pin);

// The values a pin gets when the user chooses a tab of another mode group. Byte 12 belongs to
// no mode and is left alone.
struct PinModeDefaults {
  PinMode mode;
  std::array<std::uint8_t, 11> bytes;  // bytes 1..11
  std::uint8_t live_value;
};

const PinModeDefaults& DefaultsOf(PinConfigTab tab);

// The user chose `tab`. A pin already in the tab's mode group keeps everything (a PWM pin stays
// inverted or not, an input pin low active or not); any other pin, one of unknown mode
// included, takes the tab's defaults. Returns whether the pin changed. Call it for the user's
// choice only, not when showing a pin selects its tab.
bool SelectPinConfigTab(PinConfigTab tab, PinRecord& pin);

// "Inverted" and "Low Active": byte 0 = 2 + flag and 4 + flag. Act only on a pin of the tab's
// group; return whether they did.
bool SetPwmInverted(bool inverted, PinConfig& config);
bool SetInputLowActive(bool low_active, PinConfig& config);

// The drive and acceleration mode options, index 1 "Linear", 0 "Logaritmic":
// byte 2 = 2 x acceleration mode + drive mode. PWM pins only.
struct PwmCurves {
  int drive_mode = 0;
  int acceleration_mode = 0;

  friend bool operator==(const PwmCurves&, const PwmCurves&) = default;
};
PwmCurves PwmCurvesOf(std::uint8_t byte);
bool SetPwmCurves(const PwmCurves& curves, PinConfig& config);

// The range options and the two suspend boxes rebuild byte 2 of a servo pin (ServoFlagsByte),
// which drops Servo Initialised. Servo pins only.
bool SetServoFlags(const ServoFlags& flags, PinConfig& config);

// Sink and Source drivers serve PWM outputs; on a servo or input pin of a group that has either,
// the tab warns. Nothing is prevented.
bool HasDriverInGroupOf(const GeneralSettings& settings, int pin);
bool HardwareConfigurationMismatch(const GeneralSettings& settings, int pin,
                                   std::uint8_t mode_byte);

}  // namespace tarn

#endif  // TARN_MODEL_PIN_PARAMETERS_H_
