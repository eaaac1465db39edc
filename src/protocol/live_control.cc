#include "protocol/live_control.h"

#include <algorithm>
#include <string>

#include "link/tarn_frame.h"
#include "model/address_assignment.h"
#include "model/general_settings.h"
#include "model/typed_number.h"

namespace tarn {
namespace {

constexpr int kMaxValue = 127;
constexpr int kTarnSetAspectFixed = 4;  // "Tarn SA0".."Tarn SA3" send their own index

// Flexible Vesk addresses count on across module addresses, 32 serial addresses each.
constexpr int kVeskAddressesPerModule = 32;
constexpr int kVeskBaseUnit = 4;

constexpr int kClearAllModules[] = {kCurrentModule, 0};
constexpr int kLampTestModules[] = {kCurrentModule, 0, 15};
constexpr int kResetModules[] = {kCurrentModule, 15};

}  // namespace

std::span<const int> VeskTestButtonModules(VeskTest test) {
  switch (test) {
    case VeskTest::kClearAll:
      return kClearAllModules;
    case VeskTest::kLampTest:
      return kLampTestModules;
    case VeskTest::kReset:
      return kResetModules;
  }
  return {};
}

const LiveOutputRange& RangeOf(LiveOutput output) {
  return output == LiveOutput::kPwm ? kPwmRange : kServoRange;
}

LiveControl::LiveControl(Link& link, Prompter& prompter, DeviceConfiguration& config)
    : link_(link), prompter_(prompter), config_(config) {}

bool LiveControl::Carries(std::string_view routine, int value) {
  if (value >= 0 && value <= kMaxValue) return true;
  prompter_.Show(std::string(routine) + ": Value out of range (0..127), value = " +
                 std::to_string(value) + "; nothing was sent");
  return false;
}

bool LiveControl::SendLive(std::uint8_t sub_command, int target, int value) {
  if (!Carries("SendTarnMessage", target) || !Carries("SendTarnMessage", value)) return false;
  const std::uint8_t payload[] = {kLiveCommand, sub_command, static_cast<std::uint8_t>(target),
                                  static_cast<std::uint8_t>(value)};
  return link_.SendTarnMessage(false, payload);
}

bool LiveControl::SendVesk(int module, int x, int y, int z) {
  const int first = module * 4 + 3;
  for (const int value : {first, x, y, z}) {
    if (!Carries("SendVeskMessage", value)) return false;
  }
  link_.SendVeskMessage(static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(x),
                        static_cast<std::uint8_t>(y), static_cast<std::uint8_t>(z));
  // The link has told the user of a closed port, or of one that failed during the frame, and
  // leaves it closed.
  return link_.port_open();
}

// --- Set aspect buttons --------------------------------------------------------------------------

bool LiveControl::TarnSetAspect(int button, int output) {
  if (button >= 0 && button < kTarnSetAspectFixed) {
    return Carries("TarnSetAspect", output) && SendLive(kLiveSetOutputAspect, output, button);
  }
  if (button == kTarnToggleButton) {
    if (!Carries("TarnSetAspect", output)) return false;
    const bool sent = SendLive(kLiveSetOutputAspect, output, toggle_aspect_);
    toggle_aspect_ = 1 - toggle_aspect_;
    return sent;
  }
  if (button == kTarnEightTimesSa0 || button == kTarnEightTimesSa1) {
    for (int each = 0; each < kEightTimesOutputs; ++each) {
      if (!SendLive(kLiveSetOutputAspect, each, button - kTarnEightTimesSa0)) return false;
    }
    return true;
  }
  return false;
}

bool LiveControl::TarnSetAspect(int button, std::string_view output_text) {
  return TarnSetAspect(button, TypedNumber(output_text));
}

bool LiveControl::VeskSend(const std::array<std::string_view, 3>& texts) {
  return VeskSend({TypedNumber(texts[0]), TypedNumber(texts[1]), TypedNumber(texts[2])});
}

bool LiveControl::VeskSend(const std::array<int, 3>& values) {
  for (const int value : values) {
    if (!Carries("VeskSend", value)) return false;
  }
  return SendVesk(link_.module_address(), values[0], values[1], values[2]);
}

// --- "Test" --------------------------------------------------------------------------------------

bool LiveControl::TestAspect(ModifierKeys keys) {
  if (keys.alt) {
    prompter_.Show(kTestHelpText);
    return false;
  }
  const int pin = config_.current_pin;
  const int aspect = config_.current_aspect;
  if (!IsPinNumber(pin)) return false;
  const bool flexible = IsVeskFlexibleAddressing(config_.general_settings);
  if (!keys.shift && !keys.control) return SendLive(kLiveSetPinAspect, pin, aspect);
  if (keys.shift && !keys.control && !flexible) {
    return SendVesk(link_.module_address(), kVeskSetPinAspect, pin, aspect);
  }
  return SendTestWithAddressMap(keys, pin, aspect);
}

// Control, Shift + Control, and Shift under flexible addressing: the pin's first serial address.
bool LiveControl::SendTestWithAddressMap(ModifierKeys keys, int pin, int aspect) {
  if (AddressCount(config_.pins[static_cast<std::size_t>(pin)], AddressKind::kSerial) == 0) {
    prompter_.Show(std::string(kNoVeskAddress) + std::to_string(pin + NumberingBase(config_)),
                   PromptIcon::kWarning);
    return false;
  }
  const int index = AddressesBefore(config_, AddressKind::kSerial, pin);
  if (!keys.shift) return SendLive(kLiveSetOutputAspect, index, aspect);
  if (!IsVeskFlexibleAddressing(config_.general_settings)) {
    return SendVesk(link_.module_address(), kVeskSetOutputAspect, index, aspect);
  }
  const int n = config_.general_settings.serial_base_address * kVeskBaseUnit + index;
  return SendVesk(n / kVeskAddressesPerModule, kVeskSetOutputAspect, n % kVeskAddressesPerModule,
                  aspect);
}

// --- Matrix and Vesk test buttons ----------------------------------------------------------------

bool LiveControl::SetMatrix(int button, const MatrixOutputs& outputs) {
  if (button < 0 || button >= kMatrixButtons) return false;
  for (int output = 0; output < kMatrixOutputs; ++output) {
    if (!outputs[static_cast<std::size_t>(output)]) continue;
    if (!SendLive(kLiveSetOutputAspect, output, button)) return false;
  }
  return true;
}

bool LiveControl::SendVeskTest(VeskTest test, int button) {
  const std::span<const int> modules = VeskTestButtonModules(test);
  if (button < 0 || static_cast<std::size_t>(button) >= modules.size()) return false;
  const int chosen = modules[static_cast<std::size_t>(button)];
  const int module = chosen == kCurrentModule ? link_.module_address() : chosen;
  if (test == VeskTest::kReset) return SendVesk(module, kVeskReset, 0, 0);

  // Thirty-two frames: with no port, one message rather than one per frame.
  if (!link_.port_open()) {
    prompter_.Show(kSelectPort);
    return false;
  }
  const bool lamp_test = test == VeskTest::kLampTest;
  for (int pin = 0; pin < kPinCount; ++pin) {
    const bool sent = lamp_test ? SendVesk(module, kVeskLampTest, pin, kVeskLampTestValue)
                                : SendVesk(module, kVeskClearOutput, pin, 0);
    if (!sent) return false;
  }
  return true;
}

// --- PWM and servo -------------------------------------------------------------------------------

bool LiveControl::ConfirmLevel(LiveOutput output, int typed) {
  return ApplyLevel(output, typed, true);
}

bool LiveControl::ConfirmLevel(LiveOutput output, std::string_view typed) {
  return ConfirmLevel(output, TypedNumber(typed));
}

bool LiveControl::MoveSlider(LiveOutput output, int value) {
  return ApplyLevel(output, value, state(output).slider_focus);
}

bool LiveControl::Jump(LiveOutput output) { return SendLevel(output, false); }

void LiveControl::SetSliderFocus(LiveOutput output, bool has_focus) {
  state(output).slider_focus = has_focus;
}

void LiveControl::SetGradual(LiveOutput output, bool ticked) { state(output).gradual = ticked; }

void LiveControl::FollowCurrentPin(LiveOutput output) {
  if (!IsPinNumber(config_.current_pin)) return;
  const LiveOutputRange& range = RangeOf(output);
  const int shown = config_.pins[config_.current_pin].live_value - range.wire_offset;
  state(output).value = std::clamp(shown, range.min, range.max);
}

bool LiveControl::ApplyLevel(LiveOutput output, int value, bool may_send) {
  const LiveOutputRange& range = RangeOf(output);
  OutputState& s = state(output);
  s.value = std::clamp(value, range.min, range.max);
  if (IsPinNumber(config_.current_pin)) {
    config_.pins[config_.current_pin].live_value =
        static_cast<std::uint8_t>(s.value + range.wire_offset);
  }
  if (!may_send || !link_.port_open()) return false;
  return SendLevel(output, s.gradual);
}

bool LiveControl::SendLevel(LiveOutput output, bool gradual) {
  const LiveOutputRange& range = RangeOf(output);
  if (!IsPinNumber(config_.current_pin)) return false;
  const auto sub_command =
      static_cast<std::uint8_t>(range.sub_command + (gradual ? kLiveGradual : 0));
  return SendLive(sub_command, config_.current_pin, state(output).value + range.wire_offset);
}

}  // namespace tarn
