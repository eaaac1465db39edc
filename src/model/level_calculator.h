#ifndef TARN_MODEL_LEVEL_CALCULATOR_H_
#define TARN_MODEL_LEVEL_CALCULATOR_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "model/calculator_parameter.h"

namespace tarn {

// A level parameter is one byte: time index x 16 + level.
inline constexpr int kMaxLevel = 15;
inline constexpr int kMaxTimeIndex = 7;
inline constexpr int kMaxLevelParameter = 127;

enum class LevelField : std::uint8_t { kLevel, kTimeIndex };

// Everything the level calculator shows. While a field is typed in, its text is what was typed;
// `level` and `time_index` are what the parameter is made of.
struct LevelCalculator {
  int level = 0;
  int time_index = 0;
  std::string level_text;       // "Level"
  std::string time_index_text;  // "Time-Index"
  std::string delay_text;       // "Delay (s)": the seconds the time index stands for
  CalculatorParameter parameter;
};

// Seconds per time index as a plain decimal ("0.7"); an index outside 0..7 counts as its bound.
std::string_view LevelDelayText(int time_index);

// Reads the p2 text as the parameter, clamped to 0..127; that value is also what "Cancel" gives
// back.
LevelCalculator OpenLevelCalculator(std::string_view parameter_text);

// Each keystroke: a value within the field's range is applied at once, anything else waits for
// the field to be left.
LevelCalculator TypeLevelField(LevelCalculator calc, LevelField field, std::string_view typed);

// Leaving the field: the value is clamped to its range, written back and applied.
LevelCalculator LeaveLevelField(LevelCalculator calc, LevelField field, std::string_view typed);

}  // namespace tarn

#endif  // TARN_MODEL_LEVEL_CALCULATOR_H_
