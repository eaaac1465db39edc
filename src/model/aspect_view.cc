#include "model/aspect_view.h"

#include <algorithm>

#include "model/aspect_layout.h"
#include "model/typed_number.h"

namespace tarn {
namespace {

constexpr int kNoInitialAspect = -1;

int LastAspect(const DeviceConfiguration& config) {
  return ShapeOf(LayoutOptionOf(CurrentPinRecord(config).aspect_layout)).max_aspect;
}

// The initial aspect as the field shows it: the stored byte - 1, -1 for none.
int ShownInitialAspect(const PinRecord& pin) { return pin.initial_aspect - 1; }

std::string StoreInitialAspect(DeviceConfiguration& config, int shown) {
  const int value = std::clamp(shown, kNoInitialAspect, LastAspect(config));
  CurrentPinRecord(config).initial_aspect = static_cast<std::uint8_t>(value + 1);
  return std::to_string(value);
}

std::string StoreAspect(DeviceConfiguration& config, int shown) {
  const int value = std::clamp(shown, 0, LastAspect(config));
  config.current_aspect = static_cast<std::uint8_t>(value);
  return std::to_string(value);
}

std::string StorePin(DeviceConfiguration& config, int shown) {
  const int base = NumberingBase(config);
  const int value = std::clamp(shown, base, base + kPinCount - 1);
  config.current_pin = static_cast<std::uint8_t>(value - base);
  return std::to_string(value);
}

Step& RowStep(DeviceConfiguration& config, int row) {
  return CurrentAspectRecord(config)
      .steps[static_cast<std::size_t>(std::clamp(row, 0, kMaxStepsPerAspect - 1))];
}

StepRowView RowView(DeviceConfiguration& config, int row) {
  return RefreshStepRow(RowStep(config, row), config.current_pin % kPinCount,
                        NumberingBase(config));
}

}  // namespace

LayoutOption LayoutOptionOf(std::uint8_t layout) {
  switch (layout) {
    case kLayoutFourAspects:
      return LayoutOption::kFourAspects;
    case kLayoutTwelveAspects:
      return LayoutOption::kTwelveAspects;
    default:
      return LayoutOption::kNone;
  }
}

std::uint8_t LayoutByteOf(LayoutOption option) {
  switch (option) {
    case LayoutOption::kFourAspects:
      return kLayoutFourAspects;
    case LayoutOption::kTwelveAspects:
      return kLayoutTwelveAspects;
    case LayoutOption::kNone:
      break;
  }
  return kLayoutNone;
}

LayoutShape ShapeOf(LayoutOption option) {
  const std::uint8_t layout = LayoutByteOf(option);
  if (layout == kLayoutNone) {
    // Nothing to choose from; the hidden fields keep the widest bound so that a current aspect
    // taken over from another pin survives until a pin with a program shows it.
    return {false, 0, kMaxAspects - 1};
  }
  return {true, StepsPerAspect(layout), AspectCount(layout) - 1};
}

void ApplyLayoutOption(DeviceConfiguration& config, LayoutOption option) {
  PinRecord& pin = CurrentPinRecord(config);
  pin.aspect_layout = LayoutByteOf(option);
  const LayoutShape shape = ShapeOf(option);
  if (!shape.aspect_controls) return;
  config.current_aspect =
      static_cast<std::uint8_t>(std::min<int>(config.current_aspect, shape.max_aspect));
  if (ShownInitialAspect(pin) > shape.max_aspect) pin.initial_aspect = 0;
}

DeviceView ShowDevice(DeviceConfiguration& config) {
  const int pin = config.current_pin % kPinCount;
  return {DevicePinText(config, pin), ShowDeviceName(config, pin)};
}

DeviceView EnterDevicePin(DeviceConfiguration& config, std::string_view typed) {
  SetDevicePointerFromText(config, config.current_pin % kPinCount, typed);
  return ShowDevice(config);
}

AddressRefresh CurrentPinAddresses() {
  AddressRefresh refresh{AddressDisplay::kPinBasicDccAddress,
                         AddressDisplay::kPinExtendedDccAddress, AddressDisplay::kPinSerialAddress,
                         AddressDisplay::kPinBusAddress};
  for (const AddressField field : kPinCountFields) refresh.Add(field);
  return refresh;
}

AspectView ShowAspectView(DeviceConfiguration& config) {
  PinRecord& pin = CurrentPinRecord(config);
  AspectView view;
  view.option = LayoutOptionOf(pin.aspect_layout);
  ApplyLayoutOption(config, view.option);
  view.shape = ShapeOf(view.option);

  view.pin_text = std::to_string(config.current_pin % kPinCount + NumberingBase(config));
  view.description = pin.description;
  view.device = ShowDevice(config);
  view.aspect_text = std::to_string(config.current_aspect % kMaxAspects);
  view.aspect_description = CurrentAspectRecord(config).description;
  view.initial_aspect_text = std::to_string(ShownInitialAspect(pin));
  view.counts = {std::to_string(AddressCount(pin, AddressKind::kSerial)),
                 std::to_string(AddressCount(pin, AddressKind::kBasicDcc)),
                 std::to_string(AddressCount(pin, AddressKind::kExtendedDcc))};
  for (int row = 0; row < kMaxStepsPerAspect; ++row) {
    view.rows[static_cast<std::size_t>(row)] = RowView(config, row);
  }
  return view;
}

std::string SelectPin(DeviceConfiguration& config, std::string_view typed) {
  return StorePin(config, TypedNumber(typed));
}

std::string StepPin(DeviceConfiguration& config, int direction) {
  return StorePin(config, config.current_pin % kPinCount + NumberingBase(config) + direction);
}

std::string SelectAspect(DeviceConfiguration& config, std::string_view typed) {
  return StoreAspect(config, TypedNumber(typed));
}

std::string StepAspect(DeviceConfiguration& config, int direction) {
  const int shown = std::clamp<int>(config.current_aspect, 0, LastAspect(config));
  return StoreAspect(config, shown + direction);
}

std::string EnterInitialAspect(DeviceConfiguration& config, std::string_view typed) {
  return StoreInitialAspect(config, TypedNumber(typed));
}

std::string StepInitialAspect(DeviceConfiguration& config, int direction) {
  // A value held beyond the layout (a file takes it over unchecked) steps from the nearer end.
  const int shown = std::clamp(ShownInitialAspect(CurrentPinRecord(config)), kNoInitialAspect,
                               LastAspect(config));
  return StoreInitialAspect(config, shown + direction);
}

StepRowView ChooseInstruction(DeviceConfiguration& config, int row, int menu_index) {
  const auto menu = InstructionMenu();
  const std::size_t index =
      static_cast<std::size_t>(std::clamp<int>(menu_index, 0, static_cast<int>(menu.size()) - 1));
  RowStep(config, row).opcode = menu[index].opcode;
  return RowView(config, row);
}

StepRowView SetFade(DeviceConfiguration& config, int row, bool on) {
  RowStep(config, row).fade = on ? 1 : 0;
  return RowView(config, row);
}

StepRowView CommitStepField(DeviceConfiguration& config, int row, StepParam param,
                            std::string_view typed) {
  EnterParam(RowStep(config, row), param, typed, config.current_pin % kPinCount,
             NumberingBase(config));
  return RowView(config, row);
}

}  // namespace tarn
