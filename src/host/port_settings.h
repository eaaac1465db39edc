#ifndef TARN_HOST_PORT_SETTINGS_H_
#define TARN_HOST_PORT_SETTINGS_H_

#include <charconv>
#include <optional>
#include <string_view>

namespace tarn {

// The line settings of a port, written as "19200,o,8,1".
struct PortSettings {
  int bits_per_second = 19200;
  char parity = 'o';  // 'n', 'o' or 'e'
  int data_bits = 8;
  int stop_bits = 1;

  // The time one byte takes on the wire: start bit, data bits, parity bit and stop bits.
  double ByteSeconds() const {
    const int bits = 1 + data_bits + (parity == 'n' ? 0 : 1) + stop_bits;
    return static_cast<double>(bits) / bits_per_second;
  }
};

inline std::optional<PortSettings> ParsePortSettings(std::string_view text) {
  PortSettings settings;
  auto next_field = [&text]() {
    const auto comma = text.find(',');
    const std::string_view field = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    return field;
  };
  auto to_int = [](std::string_view field, int& value) {
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    return error == std::errc() && end == field.data() + field.size();
  };
  const std::string_view rate = next_field();
  const std::string_view parity = next_field();
  const std::string_view data_bits = next_field();
  const std::string_view stop_bits = next_field();
  if (!to_int(rate, settings.bits_per_second) || settings.bits_per_second <= 0) return std::nullopt;
  if (parity.size() != 1) return std::nullopt;
  settings.parity = static_cast<char>(parity[0] | 0x20);
  if (settings.parity != 'n' && settings.parity != 'o' && settings.parity != 'e')
    return std::nullopt;
  if (!to_int(data_bits, settings.data_bits) || settings.data_bits < 5 || settings.data_bits > 8)
    return std::nullopt;
  if (!to_int(stop_bits, settings.stop_bits) || settings.stop_bits < 1 || settings.stop_bits > 2)
    return std::nullopt;
  if (!text.empty()) return std::nullopt;
  return settings;
}

}  // namespace tarn

#endif  // TARN_HOST_PORT_SETTINGS_H_
