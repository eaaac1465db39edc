#include "model/typed_number.h"

#include <algorithm>

namespace tarn {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int TypedNumber(std::string_view text) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string_view::npos) return 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;  // wide enough for the limit times ten
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = std::min<long long>(value * 10 + (text[i] - '0'), kTypedNumberLimit);
  }
  if (i + 1 < text.size() && text[i] == '.' && IsDigit(text[i + 1]) && text[i + 1] >= '5') {
    value = std::min<long long>(value + 1, kTypedNumberLimit);
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace tarn
