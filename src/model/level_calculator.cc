#include "model/level_calculator.h"

#include <algorithm>
#include <array>

#include "model/typed_number.h"

namespace tarn {
namespace {

constexpr int kLevelsPerIndex = kMaxLevel + 1;

// Seconds per time index, as the Tarn times a level change.
constexpr std::array<std::string_view, kMaxTimeIndex + 1> kDelayTexts = {"0",   "0.5", "0.7", "1",
                                                                         "1.4", "2",   "2.8", "4"};

int MaxOf(LevelField field) { return field == LevelField::kLevel ? kMaxLevel : kMaxTimeIndex; }

int& ValueOf(LevelCalculator& calc, LevelField field) {
  return field == LevelField::kLevel ? calc.level : calc.time_index;
}

std::string& TextOf(LevelCalculator& calc, LevelField field) {
  return field == LevelField::kLevel ? calc.level_text : calc.time_index_text;
}

void Apply(LevelCalculator& calc) {
  calc.parameter.text = std::to_string(calc.time_index * kLevelsPerIndex + calc.level);
  calc.delay_text = std::string(LevelDelayText(calc.time_index));
}

}  // namespace

std::string_view LevelDelayText(int time_index) {
  return kDelayTexts[std::clamp(time_index, 0, kMaxTimeIndex)];
}

LevelCalculator OpenLevelCalculator(std::string_view parameter_text) {
  const int parameter = std::clamp(TypedNumber(parameter_text), 0, kMaxLevelParameter);
  LevelCalculator calc;
  calc.level = parameter % kLevelsPerIndex;
  calc.time_index = parameter / kLevelsPerIndex;
  calc.level_text = std::to_string(calc.level);
  calc.time_index_text = std::to_string(calc.time_index);
  calc.parameter.original = std::to_string(parameter);
  Apply(calc);
  return calc;
}

LevelCalculator TypeLevelField(LevelCalculator calc, LevelField field, std::string_view typed) {
  TextOf(calc, field) = std::string(typed);
  const int value = TypedNumber(typed);
  if (value < 0 || value > MaxOf(field)) return calc;
  ValueOf(calc, field) = value;
  Apply(calc);
  return calc;
}

LevelCalculator LeaveLevelField(LevelCalculator calc, LevelField field, std::string_view typed) {
  const int value = std::clamp(TypedNumber(typed), 0, MaxOf(field));
  ValueOf(calc, field) = value;
  TextOf(calc, field) = std::to_string(value);
  Apply(calc);
  return calc;
}

}  // namespace tarn
