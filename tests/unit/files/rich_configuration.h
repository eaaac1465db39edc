#ifndef TARN_TESTS_UNIT_FILES_RICH_CONFIGURATION_H_
#define TARN_TESTS_UNIT_FILES_RICH_CONFIGURATION_H_

#include <array>
#include <string>

#include "model/device_configuration.h"

namespace tarn::testing {

// Every byte value 0..255 once, the quote and the line breaks included.
inline std::string AllBytes() {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  return bytes;
}

// A configuration in which every stored field differs from its start value and which the data
// file can carry whole: live values equal byte 1, bytes a mode does not store are 0, only fading
// opcodes fade, and aspects without a description and empty steps hold nothing (so that a compact
// file carries them too). Every fourth pin, from pin 2 on, has no description.
inline DeviceConfiguration RichConfiguration() {
  DeviceConfiguration config;
  GeneralSettings& g = config.general_settings;
  g.id_string = "Nord \xE9\x80\xFF";
  g.dcc_address = 300;
  g.extended_dcc_address = 2000;
  g.packet_retention = 1;
  g.basic_packet_state_invert = true;
  g.allow_address_0 = true;
  g.serial_addressing = SerialAddressing::kVeskFlexible;
  g.serial_base_address = 100;
  g.module_extended_address = 77;
  for (int group = 0; group < kExtendedGroupCount; ++group) {
    g.extended_group_mask[group] = group % 3 != 0;
  }
  g.sink_driver = {true, false, true, false};
  g.source_driver = {true, true, false, false};
  g.green_led_mask = 0x55;
  g.orange_led_mask = 0x2A;
  g.serial_port_enable = true;
  g.serial_bit_rate = 7;
  g.serial_data_bits = 8;
  g.serial_parity = kParityOdd;
  g.serial_stop_bits = 2;

  for (int pin = 0; pin < kPinCount; ++pin) {
    for (int i = 0; i < kEventInputCount; ++i) {
      config.event_actions[pin].on[i] = static_cast<std::int16_t>((pin + i + 5) % 13 - 1);
      config.event_actions[pin].off[i] = static_cast<std::int16_t>((3 * pin + i) % 13 - 1);
    }
  }

  // Normalised steps: fading ones whose code stays in 19..63, and codes that carry no fade.
  const std::array<Step, 9> kSteps = {{{38, 1, 30, 17, 0, 0},
                                       {100, 0, 0, 64, 25, 1},
                                       {3, 1, 1, 1, 0, 0},
                                       {47, 1, 2, 100, 0, 0},
                                       {16, 0, 0, 5, 0, 0},
                                       {18, 0, 3, 10, 31, 0},
                                       {5, 0, 0, 200, 10, 0},
                                       {0, 0, 0, 0, 0, 0},
                                       {119, 0, 31, 0, 63, 3}}};
  for (int pin = 0; pin < kPinCount; ++pin) {
    PinRecord& r = config.pins[pin];
    if (pin % 4 != 2) r.description = "Pin " + std::to_string(pin) + " \xE4\xDF";
    const auto b = static_cast<std::uint8_t>(pin);
    switch (pin % 6) {
      case 1:
        r.pin_config = {1, 70, 26, 60, 4, 5, 6, 7, 80, 9, 50, 11, 0};
        break;
      case 2:
      case 3:
        r.pin_config = {static_cast<std::uint8_t>(pin % 6), b, 3, 40, 2, 29};
        break;
      case 4:
      case 5:
        r.pin_config = {static_cast<std::uint8_t>(pin % 6), b, 7, 8, 9};
        break;
      default:
        break;
    }
    r.live_value = r.pin_config[1];
    r.xdcc_address_count = static_cast<std::uint8_t>(pin % 2);
    r.dcc_address_count = static_cast<std::uint8_t>(pin % 7);
    r.vesk_address_count = static_cast<std::uint8_t>((pin + 3) % 7);
    const int kind = pin % 3;
    r.aspect_layout = kind == 0 ? 3 : (kind == 1 ? 2 : 0);
    const int aspects = kind == 0 ? 4 : (kind == 1 ? 12 : 0);
    const int steps = kind == 0 ? 9 : 3;
    r.initial_aspect = static_cast<std::uint8_t>(aspects == 0 ? 0 : pin % aspects + 1);
    for (int a = 0; a < aspects; ++a) {
      if (a % 3 == 1) continue;
      r.aspects[a].description = "Asp " + std::to_string(a) + " \xFC";
      for (int s = 0; s < steps; ++s) r.aspects[a].steps[s] = kSteps[(pin + a + s) % 9];
    }
  }
  config.pins[0].description = AllBytes();
  config.pins[3].device_name = "Signal \"B\"\r\nline";
  for (int pin : {4, 5, 6}) config.pins[pin].device_pointer = static_cast<std::int16_t>(3 - pin);
  config.pins[31].device_name = "Crossing";
  config.pins[30].device_pointer = 1;
  config.pins[9].aspects[0].description = "say \"go\"\nnow\rthen";
  return config;
}

}  // namespace tarn::testing

#endif  // TARN_TESTS_UNIT_FILES_RICH_CONFIGURATION_H_
