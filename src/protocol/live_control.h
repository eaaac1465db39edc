#ifndef TARN_PROTOCOL_LIVE_CONTROL_H_
#define TARN_PROTOCOL_LIVE_CONTROL_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "host/prompter.h"
#include "link/link.h"
#include "model/device_configuration.h"

// Driving a Tarn live for testing: aspects of pins and serial outputs, PWM levels, servo
// positions, and the older Vesk frames. None of these messages expects a reply, so every one goes
// out with the wait flag off; what the exchange itself reports (port closed, no response) is all
// the user hears of a failure.

namespace tarn {

// --- Messages ------------------------------------------------------------------------------------

// Live Tarn messages: command 0, a sub-command, a target and a value.
inline constexpr std::uint8_t kLiveCommand = 0;
inline constexpr std::uint8_t kLiveSetPinAspect = 0;
inline constexpr std::uint8_t kLiveSetOutputAspect = 1;
inline constexpr std::uint8_t kLivePwmLevel = 0x26;
inline constexpr std::uint8_t kLiveServoPosition = 0x27;
// Added to the PWM or servo sub-command when "Slow" or "Dynamic" is ticked.
inline constexpr std::uint8_t kLiveGradual = 0x10;

// Vesk frames: the first value of the three.
inline constexpr std::uint8_t kVeskSetPinAspect = 0;
inline constexpr std::uint8_t kVeskSetOutputAspect = 1;
inline constexpr std::uint8_t kVeskReset = 2;
inline constexpr std::uint8_t kVeskClearOutput = 8;
inline constexpr std::uint8_t kVeskLampTest = 10;
inline constexpr std::uint8_t kVeskLampTestValue = 30;

// --- Buttons -------------------------------------------------------------------------------------

// CommandTarnSetAspect: 0..3 "Tarn SA0".."Tarn SA3", then these.
inline constexpr int kTarnToggleButton = 4;   // "Tarn Toggle"
inline constexpr int kTarnEightTimesSa0 = 5;  // "Tarn 8xSA0"
inline constexpr int kTarnEightTimesSa1 = 6;  // "Tarn 8xSA1"
inline constexpr int kTarnSetAspectButtons = 7;
inline constexpr int kEightTimesOutputs = 8;

// CmdSetMatrix "MB-0".."MB-17" (the aspect sent) and ChkMatrix "MB0".."MB9" (the outputs).
inline constexpr int kMatrixButtons = 18;
inline constexpr int kMatrixOutputs = 10;
using MatrixOutputs = std::array<bool, kMatrixOutputs>;

// The Vesk test buttons: Command_Clr, Command_LT and CommandReset.
enum class VeskTest : std::uint8_t { kClearAll, kLampTest, kReset };

// The module address each button of a Vesk test array sends to, by button index; kCurrentModule
// stands for the link's module address. Command_Clr: "Clear All", "Clear All 0"; Command_LT:
// "Lamp Test", "Lamp Test 0", "Lamp Test 15"; CommandReset: "Reset", "Reset 15".
inline constexpr int kCurrentModule = -1;
std::span<const int> VeskTestButtonModules(VeskTest test);

// Modifier keys held while the left mouse button pressed "Test".
struct ModifierKeys {
  bool shift = false;
  bool control = false;
  bool alt = false;
};

inline constexpr std::string_view kNoVeskAddress = "You have no Vesk-address(es) assigned to Pin ";
inline constexpr std::string_view kTestHelpText =
    "Test = Send Tarn Set Aspect\n"
    "Shift + Test = Send Legacy Vesk Set Aspect\n"
    "Control + Test = Send Tarn Set Aspect, use Address Map\n"
    "Shift + Control + Test = Send Legacy Vesk Set Aspect, use Address Map\n"
    "Alt + Test = Show this message";

// --- PWM and servo -------------------------------------------------------------------------------

// The two live outputs share their rules: a field clamped to a range, a "<" button, a "Jump"
// button, a slider, and a box that sends the gradual variant ("Slow" / "Dynamic").
enum class LiveOutput : std::uint8_t { kPwm, kServo };

struct LiveOutputRange {
  int min;
  int max;
  int wire_offset;  // added before sending and in the pin's live value
  std::uint8_t sub_command;
};
inline constexpr LiveOutputRange kPwmRange = {0, 31, 0, kLivePwmLevel};
inline constexpr LiveOutputRange kServoRange = {-64, 63, 64, kLiveServoPosition};
const LiveOutputRange& RangeOf(LiveOutput output);

// --- The live controls of the main window --------------------------------------------------------

// Numbers typed into fields arrive already rounded to the nearest whole number. Every routine
// returns true when all of its messages were handed to the link and sent; a refused or unsent
// message has been reported through the Prompter (by the link or here).
class LiveControl {
 public:
  LiveControl(Link& link, Prompter& prompter, DeviceConfiguration& config);

  // CommandTarnSetAspect, with the number in TextTarnSendAspectOutput. A series ("Tarn 8xSA0/1")
  // stops at its first unsent message. An output outside 0..127 is refused.
  bool TarnSetAspect(int button, int output);
  // The same with the field's text, read as every typed field is read (TypedNumber).
  bool TarnSetAspect(int button, std::string_view output_text);
  // The aspect "Tarn Toggle" sends next: 0 at start, flipped by each press.
  int toggle_aspect() const { return toggle_aspect_; }

  // CommandSendVesk with the three TextVeskParameter numbers, to the current module address. A
  // value outside 0..127 refuses the whole frame.
  bool VeskSend(const std::array<int, 3>& values);
  bool VeskSend(const std::array<std::string_view, 3>& texts);

  // CommandPAspTestAspect, on the model's current pin and aspect.
  bool TestAspect(ModifierKeys keys);

  // CmdSetMatrix: for every ticked output in order, that output's aspect becomes `button`.
  bool SetMatrix(int button, const MatrixOutputs& outputs);

  // Command_Clr, Command_LT, CommandReset; `button` is the index in the button array.
  bool SendVeskTest(VeskTest test, int button);

  // TextPWMLevel / TextPosition confirmed with "<": the value is clamped (the caller writes
  // value() back into the field and the slider), becomes the current pin's live value and is sent
  // when the port is open.
  bool ConfirmLevel(LiveOutput output, int typed);
  bool ConfirmLevel(LiveOutput output, std::string_view typed);
  // CommandPWMJump / CommandStopSrv: sends the live value at once, whatever the box says.
  bool Jump(LiveOutput output);
  // SliderPWM / SliderServo moved: as "<", but sends only while the slider has the focus, so that
  // a slider the program sets sends nothing.
  bool MoveSlider(LiveOutput output, int value);
  void SetSliderFocus(LiveOutput output, bool has_focus);
  // CheckPWMSlow / CheckSrvDynamic.
  void SetGradual(LiveOutput output, bool ticked);
  // The window shows the current pin: the live level takes the pin's live value (limited to the
  // range, as the slider shows it), so that "Jump" sends what is shown. Nothing is sent and the
  // pin keeps its byte.
  void FollowCurrentPin(LiveOutput output);

  // The PWM live level (0..31) or the servo live position (-64..63).
  int value(LiveOutput output) const { return state(output).value; }
  bool slider_focus(LiveOutput output) const { return state(output).slider_focus; }
  bool gradual(LiveOutput output) const { return state(output).gradual; }

 private:
  struct OutputState {
    int value = 0;
    bool gradual = false;
    bool slider_focus = false;
  };

  OutputState& state(LiveOutput output) { return outputs_[static_cast<std::size_t>(output)]; }
  const OutputState& state(LiveOutput output) const {
    return outputs_[static_cast<std::size_t>(output)];
  }

  bool SendLive(std::uint8_t sub_command, int target, int value);
  bool SendVesk(int module, int x, int y, int z);
  // False, after telling the user, when a frame cannot carry the value.
  bool Carries(std::string_view routine, int value);
  bool SendTestWithAddressMap(ModifierKeys keys, int pin, int aspect);
  // Clamps, stores and, when `may_send` and the port is open, sends.
  bool ApplyLevel(LiveOutput output, int value, bool may_send);
  bool SendLevel(LiveOutput output, bool gradual);

  Link& link_;
  Prompter& prompter_;
  DeviceConfiguration& config_;
  int toggle_aspect_ = 0;
  std::array<OutputState, 2> outputs_{};
};

}  // namespace tarn

#endif  // TARN_PROTOCOL_LIVE_CONTROL_H_
