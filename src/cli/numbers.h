#ifndef TARN_CLI_NUMBERS_H_
#define TARN_CLI_NUMBERS_H_

#include <charconv>
#include <optional>
#include <string_view>

namespace tarn::cli {

// A whole number typed on the command line: decimal, or hexadecimal after "0x".
inline std::optional<int> ParseNumber(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace tarn::cli

#endif  // TARN_CLI_NUMBERS_H_
