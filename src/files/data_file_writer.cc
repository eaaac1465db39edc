#include <string>

#include "files/data_file.h"
#include "files/data_file_format.h"
#include "files/item_writer.h"
#include "files/pin_sub_records.h"

namespace tarn {
namespace {

void WriteGeneralSettings(const GeneralSettings& settings, ItemWriter& out) {
  out.Line().Text(kTagIdString).Text(settings.id_string);
  out.Line()
      .Text(kTagDcc)
      .Number(settings.dcc_address)
      .Number(settings.extended_dcc_address)
      .Number(DccOptionsByte(settings));
  out.Line()
      .Text(kTagAddressing)
      .Number(SerialAddressByte(settings))
      .Number(IsVeskFlexibleAddressing(settings) ? 1 : 0)
      .Number(settings.module_extended_address);
  for (std::uint8_t m : ExtendedGroupMaskValues(settings)) out.Number(m);
  out.Line().Text(kTagHardware);
  for (std::uint8_t value : HardwareConfigurationValues(settings)) out.Number(value);
  out.Line().Text(kTagLeds).Number(settings.green_led_mask).Number(settings.orange_led_mask);
  const std::string_view bit_rate = settings.serial_bit_rate < kSerialBitRateTexts.size()
                                        ? kSerialBitRateTexts[settings.serial_bit_rate]
                                        : kSerialBitRateTexts[0];
  out.Line()
      .Text(kTagSerialPort)
      .Number(settings.serial_port_enable ? 1 : 0)
      .Text(bit_rate)
      .Number(settings.serial_data_bits)
      .Number(settings.serial_parity)
      .Number(settings.serial_stop_bits);
}

// Actions are stored + 1, so that "no action" is 0.
void WriteEventActions(const EventActions& actions, ItemWriter& out) {
  for (int pin = 0; pin < kPinCount; ++pin) {
    out.Line().Text(kTagEventOn).Number(pin);
    for (std::int16_t action : actions[pin].on) out.Number(action + 1);
  }
  for (int pin = 0; pin < kPinCount; ++pin) {
    out.Line().Text(kTagEventOff).Number(pin);
    for (std::int16_t action : actions[pin].off) out.Number(action + 1);
  }
}

void WritePin(int pin, PinRecord& record, DataFileForm form, ItemWriter& out) {
  out.Line(kPinRecordIndent)
      .Text(kTagPin)
      .Number(pin)
      .Number(record.aspect_layout)
      .Number(record.initial_aspect)
      .Text(record.description);
  out.Line(kPinPartIndent).Text(kTagDevice).Number(record.device_pointer).Text(record.device_name);
  WriteConfigRecord(record, kPinPartIndent, out);
  WriteAddressCountsRecord(record, kPinPartIndent, out);
  WriteProgramRecords(
      record, form == DataFileForm::kCompact ? ProgramRecords::kNamedAspects : ProgramRecords::kAll,
      kPinPartIndent, out);
}

}  // namespace

std::string WriteDataFile(DeviceConfiguration& config, DataFileForm form) {
  ItemWriter out;
  out.Line().Text(kDataFileHeader);
  WriteGeneralSettings(config.general_settings, out);
  WriteEventActions(config.event_actions, out);
  for (int pin = 0; pin < kPinCount; ++pin) {
    PinRecord& record = config.pins[pin];
    if (form == DataFileForm::kCompact && record.description.empty()) continue;
    WritePin(pin, record, form, out);
  }
  out.Line().Text(kTagEnd);
  return out.Finish();
}

}  // namespace tarn
