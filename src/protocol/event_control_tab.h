#ifndef TARN_PROTOCOL_EVENT_CONTROL_TAB_H_
#define TARN_PROTOCOL_EVENT_CONTROL_TAB_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/address_fields.h"
#include "model/event_actions.h"
#include "model/model_limits.h"
#include "protocol/event_control.h"

// The rules of the event control tab's fields: the event pin (TextECpin with UpDownECpin) and
// the eight action fields, entries 0..3 of TextECon (Event-On) and TextECoff (Event-Off), each
// with its up/down control. A window keeps the texts; these functions say what they become and
// what the model stores.

namespace tarn {

inline constexpr int kMinEventActionField = -1;
inline constexpr int kMaxEventActionField = 11;

// A field holding -1 (no action) is light grey; any other number has the system's normal window
// background.
enum class EventFieldBackground : std::uint8_t { kWindow, kNoAction };
struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};
inline constexpr Rgb kNoActionBackground = {224, 224, 224};

struct EventField {
  std::string text;
  EventFieldBackground background = EventFieldBackground::kWindow;
  friend bool operator==(const EventField&, const EventField&) = default;
};

// The eight fields for one pin, indexed by input.
struct EventFields {
  std::array<EventField, kEventInputCount> on;
  std::array<EventField, kEventInputCount> off;
};

// The background for a field's text, by the number it holds.
EventFieldBackground EventFieldBackgroundOf(std::string_view text);

// Refresh: the event pin's actions as decimal numbers, each field coloured.
EventFields ShowEventFields(const EventActions& actions, int event_pin);

// Leaving or clicking an action field: a number below -1 becomes "-1", one above 11 becomes
// "11", any other text stays as typed; the rounded number is stored as the event pin's action.
EventField ConfirmEventActionField(std::string_view typed, EventEdge edge, int input, int event_pin,
                                   EventActions& actions);

// The field's up/down control: one step within -1..11 from the stored action, stored at once.
EventField StepEventActionField(StepDirection direction, EventEdge edge, int input, int event_pin,
                                EventActions& actions);

struct EventPinField {
  std::string text;  // what TextECpin shows afterwards
  int event_pin;     // 0..31
  friend bool operator==(const EventPinField&, const EventPinField&) = default;
};

// What TextECpin shows for an event pin.
std::string EventPinText(int event_pin, int numbering_base);

// Leaving or clicking TextECpin: a number below the numbering base becomes the base, one above
// base + 31 becomes base + 31; the event pin is the number less the base. The caller then
// shows the fields of the new event pin.
EventPinField ConfirmEventPinField(std::string_view typed, int numbering_base);

// UpDownECpin: one pin up or down, within the pins.
EventPinField StepEventPinField(StepDirection direction, int event_pin, int numbering_base);

// "Copy to All": every pin gets the eight numbers the fields show, rounded, and limited to
// -1..11 as their fields limit them. Nothing is sent.
void CopyEventFieldsToAll(const std::array<std::string, kEventInputCount>& on_texts,
                          const std::array<std::string, kEventInputCount>& off_texts,
                          EventActions& actions);

}  // namespace tarn

#endif  // TARN_PROTOCOL_EVENT_CONTROL_TAB_H_
