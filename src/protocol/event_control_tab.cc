#include "protocol/event_control_tab.h"

#include <algorithm>
#include <cmath>

namespace tarn {
namespace {

// Far beyond every field's range, small enough to round into an int.
constexpr double kTypedNumberLimit = 1e9;

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The number a field holds: its leading number (blanks, sign, digits, a decimal fraction); text
// that starts with no number counts as 0.
double TypedValue(std::string_view text) {
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string_view::npos) return 0;
  double sign = 1;
  if (text[i] == '+' || text[i] == '-') {
    if (text[i] == '-') sign = -1;
    ++i;
  }
  double value = 0;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    value = std::min(value * 10 + (text[i] - '0'), kTypedNumberLimit);
  }
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && IsDigit(text[i]); ++i, scale /= 10) {
      value += (text[i] - '0') * scale;
    }
  }
  return sign * value;
}

// Halves away from zero.
int Rounded(double value) { return static_cast<int>(std::lround(value)); }

std::int16_t ClampedAction(int value) {
  return static_cast<std::int16_t>(std::clamp(value, kMinEventActionField, kMaxEventActionField));
}

EventFieldBackground BackgroundOf(int action) {
  return action == kNoEventAction ? EventFieldBackground::kNoAction : EventFieldBackground::kWindow;
}

EventField FieldOf(std::int16_t action) { return {std::to_string(action), BackgroundOf(action)}; }

std::int16_t& ActionOf(EventActions& actions, EventEdge edge, int input, int event_pin) {
  PinEventActions& pin = actions[std::clamp(event_pin, 0, kPinCount - 1)];
  return EdgeActions(pin, edge)[std::clamp(input, 0, kEventInputCount - 1)];
}

}  // namespace

EventFieldBackground EventFieldBackgroundOf(std::string_view text) {
  return BackgroundOf(Rounded(TypedValue(text)));
}

EventFields ShowEventFields(const EventActions& actions, int event_pin) {
  const PinEventActions& pin = actions[std::clamp(event_pin, 0, kPinCount - 1)];
  EventFields fields;
  for (int input = 0; input < kEventInputCount; ++input) {
    fields.on[input] = FieldOf(pin.on[input]);
    fields.off[input] = FieldOf(pin.off[input]);
  }
  return fields;
}

EventField ConfirmEventActionField(std::string_view typed, EventEdge edge, int input, int event_pin,
                                   EventActions& actions) {
  const double value = TypedValue(typed);
  EventField field;
  std::int16_t action = 0;
  if (value < kMinEventActionField) {
    action = kMinEventActionField;
    field.text = std::to_string(action);
  } else if (value > kMaxEventActionField) {
    action = kMaxEventActionField;
    field.text = std::to_string(action);
  } else {
    action = ClampedAction(Rounded(value));
    field.text = std::string(typed);
  }
  field.background = BackgroundOf(action);
  ActionOf(actions, edge, input, event_pin) = action;
  return field;
}

EventField StepEventActionField(StepDirection direction, EventEdge edge, int input, int event_pin,
                                EventActions& actions) {
  std::int16_t& action = ActionOf(actions, edge, input, event_pin);
  action = ClampedAction(ClampedAction(action) + static_cast<int>(direction));
  return FieldOf(action);
}

std::string EventPinText(int event_pin, int numbering_base) {
  return std::to_string(event_pin + numbering_base);
}

EventPinField ConfirmEventPinField(std::string_view typed, int numbering_base) {
  const double value = TypedValue(typed);
  const int last = numbering_base + kPinCount - 1;
  if (value < numbering_base) return {std::to_string(numbering_base), 0};
  if (value > last) return {std::to_string(last), kPinCount - 1};
  return {std::string(typed), std::clamp(Rounded(value) - numbering_base, 0, kPinCount - 1)};
}

EventPinField StepEventPinField(StepDirection direction, int event_pin, int numbering_base) {
  const int pin = std::clamp(event_pin + static_cast<int>(direction), 0, kPinCount - 1);
  return {EventPinText(pin, numbering_base), pin};
}

void CopyEventFieldsToAll(const std::array<std::string, kEventInputCount>& on_texts,
                          const std::array<std::string, kEventInputCount>& off_texts,
                          EventActions& actions) {
  PinEventActions shown;
  for (int input = 0; input < kEventInputCount; ++input) {
    shown.on[input] = ClampedAction(Rounded(TypedValue(on_texts[input])));
    shown.off[input] = ClampedAction(Rounded(TypedValue(off_texts[input])));
  }
  actions.fill(shown);
}

}  // namespace tarn
