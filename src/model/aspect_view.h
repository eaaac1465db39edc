#ifndef TARN_MODEL_ASPECT_VIEW_H_
#define TARN_MODEL_ASPECT_VIEW_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/address_assignment.h"
#include "model/device_configuration.h"
#include "model/devices.h"
#include "model/step_params.h"

// What the aspect program editor shows of the current pin and aspect, and what its pin, aspect,
// layout and initial-aspect controls store. The editor keeps nothing of its own: every text here
// is worked out from the model, and showing settles the model first (steps normalised, a layout
// byte the Tarn does not know cleared), so that what is shown is what a write sends.

namespace tarn {

// OptionPAspConf, by option index: "0", "4", "12".
enum class LayoutOption : std::uint8_t { kNone = 0, kFourAspects = 1, kTwelveAspects = 2 };
inline constexpr int kLayoutOptionCount = 3;
inline constexpr std::array<LayoutOption, kLayoutOptionCount> kLayoutOptions = {
    LayoutOption::kNone, LayoutOption::kFourAspects, LayoutOption::kTwelveAspects};
inline constexpr std::array<std::string_view, kLayoutOptionCount> kLayoutOptionCaptions = {"0", "4",
                                                                                           "12"};

constexpr int OptionIndex(LayoutOption option) { return static_cast<int>(option); }

// The option a layout byte selects: 3 selects "4", 2 selects "12", anything else "0".
LayoutOption LayoutOptionOf(std::uint8_t layout);
std::uint8_t LayoutByteOf(LayoutOption option);

// What an option shows.
struct LayoutShape {
  // The "Aspect" and "Init" fields with their up/downs, the aspect description and "Test".
  bool aspect_controls = false;
  int step_rows = 0;   // rows 0 .. step_rows - 1
  int max_aspect = 0;  // the bound of the aspect and initial-aspect fields and their up/downs
};
LayoutShape ShapeOf(LayoutOption option);

// Applying an option, shown or clicked: the pin's layout byte becomes the option's, and the
// current aspect and the pin's initial aspect are brought within the layout ("4" turns an aspect
// above 3 into 3 and an initial aspect above 3 into none).
void ApplyLayoutOption(DeviceConfiguration& config, LayoutOption option);

struct DeviceView {
  std::string pin_text;  // TextDevicePin: the head's number, numbering base included
  DeviceNameView name;   // TextDeviceDescription
};
DeviceView ShowDevice(DeviceConfiguration& config);
// TextDevicePin left: points the current pin at the typed head when it names a pin.
DeviceView EnterDevicePin(DeviceConfiguration& config, std::string_view typed);

// The count fields in the order the editor shows them: "Serial", "B-DCC", "X-DCC".
inline constexpr std::array<AddressField, 3> kPinCountFields = {
    AddressField::kPinVeskCount, AddressField::kPinDccCount, AddressField::kPinXdccCount};

// What the editor shows again when the current pin changed: the pin's addresses and counts.
AddressRefresh CurrentPinAddresses();

struct AspectView {
  std::string pin_text;     // TextPAspOutput
  std::string description;  // TextPAspDesc, Windows-1252
  DeviceView device;
  LayoutOption option = LayoutOption::kNone;
  LayoutShape shape;
  std::string aspect_text;            // TextPAspAspect
  std::string aspect_description;     // TextPAspAspDesc, Windows-1252
  std::string initial_aspect_text;    // TextPAspInit, "-1" for none
  std::array<std::string, 3> counts;  // as kPinCountFields
  std::array<StepRowView, kMaxStepsPerAspect> rows;
};

// Shows the current pin and aspect: settles the layout (ApplyLayoutOption of the option its byte
// selects), then normalises all nine steps of the current aspect, the hidden ones too.
AspectView ShowAspectView(DeviceConfiguration& config);

// --- The pin, aspect and initial-aspect fields
// ---------------------------------------------------- Each returns the text the field shows
// afterwards. A typed number is read as every typed field is read (TypedNumber) and clamped; an
// up/down steps within the same bounds.

// TextPAspOutput: numbering base .. numbering base + 31 becomes the current pin.
std::string SelectPin(DeviceConfiguration& config, std::string_view typed);
std::string StepPin(DeviceConfiguration& config, int direction);

// TextPAspAspect: 0 .. the layout's last aspect becomes the current aspect.
std::string SelectAspect(DeviceConfiguration& config, std::string_view typed);
std::string StepAspect(DeviceConfiguration& config, int direction);

// TextPAspInit: -1 (none) .. the layout's last aspect, stored + 1.
std::string EnterInitialAspect(DeviceConfiguration& config, std::string_view typed);
std::string StepInitialAspect(DeviceConfiguration& config, int direction);

// --- Step row edits ------------------------------------------------------------------------------
// Each changes step `row` of the current aspect of the current pin and returns how the row shows
// it afterwards (RefreshStepRow).

// Entry `menu_index` of the row's instruction selector (InstructionMenu order).
StepRowView ChooseInstruction(DeviceConfiguration& config, int row, int menu_index);
StepRowView SetFade(DeviceConfiguration& config, int row, bool on);
// A typed p1..p4 committed: EnterParam with the current pin and numbering base.
StepRowView CommitStepField(DeviceConfiguration& config, int row, StepParam param,
                            std::string_view typed);

}  // namespace tarn

#endif  // TARN_MODEL_ASPECT_VIEW_H_
