#include "files/device_definitions.h"

#include <array>

#include "files/data_file_format.h"
#include "files/item_reader.h"
#include "files/item_writer.h"
#include "files/pin_sub_records.h"
#include "model/devices.h"

namespace tarn {
namespace {

constexpr int kSectionIndent = 0;  // "Dev", "End"
constexpr int kPinIndent = 2;      // "Pin"
constexpr int kPinPartIndent = 4;  // "Cfg", "PAM", "Asp"; "Ins" two further in
constexpr long long kMaxPinNumberItem = 255;

// Walks a definitions file section by section. Records are read with their items, so that a
// description that happens to read "Dev" or "End" is never taken for a tag.
class DefinitionsReader {
 public:
  explicit DefinitionsReader(std::string_view contents) : items_(contents) {}

  // The version text, or nullopt when the first item is missing or is no definitions header.
  std::optional<std::string> ReadHeader() {
    const std::optional<Item> header = items_.Next();
    if (!header || !header->text.starts_with(kDefinitionsHeaderPrefix)) return std::nullopt;
    if (header->text.size() <= kDefinitionsHeader.size()) return std::string();
    return header->text.substr(kDefinitionsHeader.size());
  }

  enum class Section { kFound, kEnd, kBroken };

  // Skips to the next "Dev" and reads its name; items before it are skipped one by one.
  Section NextSection(std::string& name) {
    for (;;) {
      const std::optional<Item> item = items_.Next();
      if (!item) return Section::kBroken;
      if (item->text == kTagEnd) return Section::kEnd;
      if (item->text == kTagDevice) {
        return NextText(items_, name) ? Section::kFound : Section::kBroken;
      }
    }
  }

  // Applies the records up to the next "Dev" or "End", which is left for NextSection, to the
  // device headed by `head`. False when the file ends first or an item does not fit its field.
  bool ApplySection(DeviceConfiguration& config, int head, std::vector<int>& already_used) {
    SectionState section{config, head, already_used};
    for (;;) {
      const std::optional<Item> tag = items_.Peek();
      if (!tag) return false;
      if (tag->text == kTagDevice || tag->text == kTagEnd) return true;
      items_.Next();
      if (!ApplyRecord(tag->text, section)) return false;
    }
  }

 private:
  struct SectionState {
    DeviceConfiguration& config;
    int head;
    std::vector<int>& already_used;
    int target = head;
    int record_aspect = 0;
    std::array<bool, kPinCount> targeted{};

    PinRecord& pin() { return config.pins[target]; }
  };

  bool ApplyRecord(std::string_view tag, SectionState& section) {
    if (tag == kTagPin || tag == kTagAbsolutePin) {
      int number = 0;
      if (!NextField(items_, number, 0, kMaxPinNumberItem)) return false;
      const int target = tag == kTagPin ? section.head + number : number;
      return ReadPin(WrapPin(target), section);
    }
    if (tag == kTagAddressCounts) return ReadAddressCountsRecord(items_, section.pin());
    if (tag == kTagConfig) return ReadConfig(section.pin().pin_config);
    if (tag == kTagAspect) return ReadAspectRecord(items_, section.pin(), section.record_aspect);
    if (tag == kTagStep) return ReadStepRecord(items_, section.pin(), section.record_aspect);
    return true;  // any other item is skipped on its own
  }

  bool ReadPin(int target, SectionState& section) {
    DeviceConfiguration& config = section.config;
    PinRecord& pin = config.pins[target];
    if (target != section.head) {
      DissolveDevice(config, target);
      pin.device_name.clear();  // only the head's name counts
    }
    pin.device_pointer = static_cast<std::int16_t>(section.head - target);
    // A pin this load has already written is the device's own, not one that was in use.
    if (!pin.description.empty() && !section.targeted[target]) {
      section.already_used.push_back(target);
    }
    section.targeted[target] = true;
    section.target = target;
    return ReadPinRecordItems(items_, pin);
  }

  // Bytes the record leaves out keep their values, and so does the live value.
  bool ReadConfig(PinConfig& config) {
    if (!NextField(items_, config[0])) return false;
    switch (config[0]) {
      case 1:
        return ReadConfigBytes(items_, config, 1, 11);
      case 2:
      case 3: {
        if (!ReadConfigBytes(items_, config, 1, 3)) return false;
        // Off- and on-level may be left out; then the next item is already the next tag.
        const std::optional<Item> next = items_.Peek();
        if (!next || !ParseWholeNumber(next->text)) return true;
        return ReadConfigBytes(items_, config, 4, 5);
      }
      case 4:
      case 5:
        return ReadConfigBytes(items_, config, 1, 4);
      default:
        return true;
    }
  }

  ItemReader items_;
};

void WriteDevicePin(PinRecord& pin, int relative, ItemWriter& out) {
  out.Line(kPinIndent)
      .Text(kTagPin)
      .Number(relative)
      .Number(pin.aspect_layout)
      .Number(pin.initial_aspect)
      .Text(pin.description);
  WriteConfigRecord(pin, kPinPartIndent, out);
  WriteAddressCountsRecord(pin, kPinPartIndent, out);
  WriteProgramRecords(pin, ProgramRecords::kUsedAspects, kPinPartIndent, out);
}

}  // namespace

std::optional<DeviceLibraryIndex> ReadDeviceLibraryIndex(std::string_view contents) {
  DefinitionsReader reader(contents);
  DeviceLibraryIndex index;
  std::optional<std::string> version = reader.ReadHeader();
  if (!version) return std::nullopt;
  index.version_text = std::move(*version);
  DeviceConfiguration scratch;
  std::vector<int> ignored;
  for (;;) {
    std::string name;
    switch (reader.NextSection(name)) {
      case DefinitionsReader::Section::kEnd:
        return index;
      case DefinitionsReader::Section::kBroken:
        return std::nullopt;
      case DefinitionsReader::Section::kFound:
        break;
    }
    if (!reader.ApplySection(scratch, 0, ignored)) return std::nullopt;
    ignored.clear();
    index.device_names.push_back(std::move(name));
  }
}

DeviceLoadResult ApplyDeviceDefinition(std::string_view contents, std::string_view name,
                                       DeviceConfiguration& config) {
  DefinitionsReader reader(contents);
  if (!reader.ReadHeader()) return {DeviceLoadOutcome::kNoMatch, {}};
  DeviceConfiguration scratch;
  for (;;) {
    std::string section;
    switch (reader.NextSection(section)) {
      case DefinitionsReader::Section::kEnd:
        return {DeviceLoadOutcome::kNoMatch, {}};
      case DefinitionsReader::Section::kBroken:
        return {DeviceLoadOutcome::kInvalid, {}};
      case DefinitionsReader::Section::kFound:
        break;
    }
    DeviceLoadResult result;
    if (section != name) {
      if (!reader.ApplySection(scratch, 0, result.already_used)) {
        return {DeviceLoadOutcome::kInvalid, {}};
      }
      continue;
    }
    DeviceConfiguration loaded = config;
    const int head = WrapPin(config.current_pin);
    // The current pin becomes a head even when it was a member of another device; every pin
    // that pointed to it is freed, so that no stray pin joins the loaded device.
    loaded.pins[head].device_pointer = 0;
    DissolveDevice(loaded, head);
    loaded.pins[head].device_name = section;
    if (!reader.ApplySection(loaded, head, result.already_used)) {
      return {DeviceLoadOutcome::kInvalid, {}};
    }
    config = std::move(loaded);
    result.outcome = DeviceLoadOutcome::kLoaded;
    return result;
  }
}

std::optional<int> DeviceHeadToSave(const DeviceConfiguration& config, int pin) {
  pin = WrapPin(pin);
  if (IsBrokenReferral(config, pin)) return std::nullopt;
  return DeviceHead(config, pin);
}

std::string WriteDeviceDefinition(DeviceConfiguration& config, int head) {
  head = WrapPin(head);
  const std::string& name = config.pins[head].device_name;
  ItemWriter out;
  out.Line(kSectionIndent).Text(std::string(kDefinitionsHeader) + name);
  out.Line(kSectionIndent).Text(kTagDevice).Text(name);
  WriteDevicePin(config.pins[head], 0, out);
  for (int pin = 0; pin < kPinCount; ++pin) {
    if (pin != head && BelongsToDevice(config, pin, head)) {
      WriteDevicePin(config.pins[pin], WrapPin(pin - head), out);
    }
  }
  out.Line(kSectionIndent).Text(kTagEnd);
  return out.Finish();
}

}  // namespace tarn
