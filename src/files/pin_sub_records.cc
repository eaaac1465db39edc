#include "files/pin_sub_records.h"

#include <array>

#include "files/data_file_format.h"
#include "model/aspect_layout.h"
#include "model/pin_mode.h"
#include "model/pin_program.h"
#include "model/servo_flags.h"
#include "model/step_codec.h"

namespace tarn {
namespace {

constexpr int kStepIndentStep = 2;
// A Tarn reports initial aspects in a nibble, aspects 0..14, and a model read from one saves them
// as they came; a file must take back what it was given.

bool AspectHasSteps(const Aspect& aspect, int steps) {
  for (int s = 0; s < steps; ++s) {
    if (aspect.steps[s].opcode != 0) return true;
  }
  return false;
}

bool WritesAspect(const Aspect& aspect, int steps, ProgramRecords which) {
  switch (which) {
    case ProgramRecords::kAll:
      return true;
    case ProgramRecords::kNamedAspects:
      return !aspect.description.empty();
    case ProgramRecords::kUsedAspects:
      return !aspect.description.empty() || AspectHasSteps(aspect, steps);
  }
  return true;
}

}  // namespace

void WriteConfigRecord(PinRecord& pin, int indent, ItemWriter& out) {
  PinConfig& config = pin.pin_config;
  if (ModeOf(pin) == PinMode::kServo) config[2] = ServoFlagsToKeep(config[2]);
  out.Line(indent).Text(kTagConfig);
  for (int i = 0; i < ConfigBytesOfMode(config[0]); ++i) out.Number(config[i]);
}

void WriteAddressCountsRecord(const PinRecord& pin, int indent, ItemWriter& out) {
  out.Line(indent)
      .Text(kTagAddressCounts)
      .Number(pin.xdcc_address_count)
      .Number(pin.dcc_address_count)
      .Number(pin.vesk_address_count);
}

void WriteProgramRecords(const PinRecord& pin, ProgramRecords which, int indent, ItemWriter& out) {
  const int steps = StepsPerAspect(pin.aspect_layout);
  for (int a = 0; a < AspectCount(pin.aspect_layout); ++a) {
    const Aspect& aspect = pin.aspects[a];
    if (!WritesAspect(aspect, steps, which)) continue;
    out.Line(indent).Text(kTagAspect).Number(a).Text(aspect.description);
    for (int s = 0; s < steps; ++s) {
      const Step& step = aspect.steps[s];
      if (which != ProgramRecords::kAll && step.opcode == 0) continue;
      const FileStepItems items = EncodeFileStep(step);
      out.Line(indent + kStepIndentStep).Text(kTagStep).Number(s).Number(items.code);
      for (int param : items.params) out.Number(param);
    }
  }
}

bool ReadPinRecordItems(ItemReader& items, PinRecord& pin) {
  if (!NextField(items, pin.aspect_layout) ||
      !NextField(items, pin.initial_aspect, 0, kMaxInitialAspect) ||
      !NextText(items, pin.description)) {
    return false;
  }
  ClearPinProgram(pin);
  pin.dcc_address_count = 1;
  pin.xdcc_address_count = 1;
  pin.vesk_address_count = 1;
  return true;
}

bool ReadConfigBytes(ItemReader& items, PinConfig& config, int first, int last) {
  for (int i = first; i <= last; ++i) {
    if (!NextField(items, config[i])) return false;
  }
  return true;
}

bool ReadAddressCountsRecord(ItemReader& items, PinRecord& pin) {
  return NextField(items, pin.xdcc_address_count) && NextField(items, pin.dcc_address_count) &&
         NextField(items, pin.vesk_address_count);
}

bool ReadAspectRecord(ItemReader& items, PinRecord& pin, int& record_aspect) {
  int aspect = 0;
  std::string description;
  if (!NextField(items, aspect, 0, kAspectSlots - 1) || !NextText(items, description)) {
    return false;
  }
  record_aspect = aspect;
  pin.aspects[aspect].description = std::move(description);
  return true;
}

bool ReadStepRecord(ItemReader& items, PinRecord& pin, int record_aspect) {
  // A negative "Value" of the comparing instructions is taken too (DecodeFileStep).
  constexpr long long kLowestParam = -64;
  constexpr long long kHighestByte = 255;
  int index = 0;
  FileStepItems step_items;
  if (!NextField(items, index, 0, kStepSlots - 1) ||
      !NextField(items, step_items.code, 0, kHighestByte)) {
    return false;
  }
  for (int& param : step_items.params) {
    if (!NextField(items, param, kLowestParam, kHighestByte)) return false;
  }
  const std::optional<Step> step = DecodeFileStep(step_items);
  if (!step) return false;
  pin.aspects[record_aspect].steps[index] = *step;
  return true;
}

}  // namespace tarn
