#ifndef TARN_MODEL_TYPED_NUMBER_H_
#define TARN_MODEL_TYPED_NUMBER_H_

#include <string_view>

namespace tarn {

// The number a user typed into a field: its leading number (blanks, a sign, digits, a decimal
// fraction) rounded to the nearest whole number, halves away from zero. Text that starts with no
// number counts as 0; anything after the number is ignored ("7x" is 7). Very long numbers
// saturate at ±kTypedNumberLimit instead of overflowing, so every caller can clamp the result.
inline constexpr int kTypedNumberLimit = 1'000'000'000;
int TypedNumber(std::string_view text);

}  // namespace tarn

#endif  // TARN_MODEL_TYPED_NUMBER_H_
