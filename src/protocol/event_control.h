#ifndef TARN_PROTOCOL_EVENT_CONTROL_H_
#define TARN_PROTOCOL_EVENT_CONTROL_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "host/clock.h"
#include "host/prompter.h"
#include "link/link.h"
#include "model/event_actions.h"
#include "model/model_limits.h"
#include "protocol/command_exchange.h"

// The messages that read and write what a Tarn does on its four event inputs: every pin's
// Event-On and Event-Off actions, and the initial enable map.

namespace tarn {

inline constexpr std::uint8_t kEventOnWriteCommand = 0x64;
inline constexpr std::uint8_t kEventOffWriteCommand = 0x65;
inline constexpr std::uint8_t kEventOnReadCommand = 0x74;
inline constexpr std::uint8_t kEventOffReadCommand = 0x75;
// The enable map's reply: the echoed command and register, then the Event-On and Event-Off masks.
inline constexpr std::size_t kEnableMapReplySize = 4;

inline constexpr std::string_view kEventReadNotSupported = "Function not supported by Device";

// A pin's Event-On or Event-Off actions (TextECon or TextECoff on the tab).
enum class EventEdge : std::uint8_t { kOn, kOff };

std::array<std::int16_t, kEventInputCount>& EdgeActions(PinEventActions& pin, EventEdge edge);
const std::array<std::int16_t, kEventInputCount>& EdgeActions(const PinEventActions& pin,
                                                              EventEdge edge);

// What the messages of one edge are. The Event-On reply carries the pin's initial aspect before
// the four actions.
struct EventEdgeRule {
  std::uint8_t read_command;
  std::uint8_t write_command;
  std::size_t reply_size;
  std::size_t first_action;  // reply position of input 0's action byte
  std::string_view name;     // "Event-On"
  std::string_view refusal;  // "Read Event-On: Function not supported by Device"
};
const EventEdgeRule& EventEdgeRuleOf(EventEdge edge);

// The four actions of an `edge` reply for `pin`; nullopt for a reply of the wrong size, echo or
// pin, which is how a device refuses the read.
std::optional<std::array<std::int16_t, kEventInputCount>> EventActionsOfReply(
    std::span<const std::uint8_t> reply, EventEdge edge, int pin);

// The initial enable map (CheckInitEE): entries 0..3 the Event-On enables of inputs 0..3,
// entries 4..7 the Event-Off enables. Not kept in files; every event starts enabled, as on a
// Tarn fresh from the factory.
struct EventEnableMap {
  std::array<bool, kEventInputCount> on = {true, true, true, true};
  std::array<bool, kEventInputCount> off = {true, true, true, true};
  friend bool operator==(const EventEnableMap&, const EventEnableMap&) = default;
};

// The mask the Tarn keeps for four enables: bit k set when input k is NOT enabled.
std::uint8_t EnableMask(const std::array<bool, kEventInputCount>& enables);
std::array<bool, kEventInputCount> EnablesOfMask(std::uint8_t mask);

// One action as it travels: the input in the high nibble, the action (0..14) in the low nibble,
// 15 for none. An action the nibble cannot carry travels as none.
std::uint8_t EventActionByte(int input, std::int16_t action);
// The byte at reply position `input`: its action when the high nibble names that input and the
// low nibble is not 15; otherwise none (-1).
std::int16_t DecodeEventActionByte(int input, std::uint8_t byte);
std::array<std::uint8_t, kEventInputCount> EventActionBytes(
    const std::array<std::int16_t, kEventInputCount>& actions);

class EventControl {
 public:
  EventControl(Link& link, Clock& clock, Prompter& prompter);

  // "Read Enable Map". Succeeds whenever a reply arrived, even one shown as of the wrong size
  // ("No valid response size") or echo ("No valid response type"); such a reply changes nothing
  // and is listed as not read.
  bool ReadEnableMap(EventEnableMap& map);
  // "Write Enable Map": no pause afterwards.
  bool WriteEnableMap(const EventEnableMap& map);

  // "Read" for one pin: its Event-On actions, then its Event-Off actions. Returns whether the
  // tab's display is to be refreshed: not when a reply was missing or the device refused the
  // Event-On read. Refused Event-Off actions are listed as not read.
  bool ReadPin(int pin, EventActions& actions);
  // "Write" for one pin: Event-On, then Event-Off, each followed by the write pause. Fails at
  // the first message that cannot be sent.
  bool WritePin(int pin, const EventActions& actions);

  // "Read All Events": every pin's Event-On actions, then every pin's Event-Off actions. A device
  // that refuses one half is told once and that half is skipped (and listed as not read); only a
  // missing reply fails.
  bool ReadAll(EventActions& actions);
  // "Write All Events": every pin's Event-On write, then every Event-Off write.
  bool WriteAll(const EventActions& actions);

  // What the reads went past without taking it (a refused half, a wrong enable-map reply).
  std::vector<NotRead> TakeNotRead() { return std::exchange(not_read_, {}); }

 private:
  enum class Outcome : std::uint8_t {
    kNoReply,  // the link has shown why
    kNoTarn,   // the interface unit answered but the Tarn did not: shown as a refusal, then
               // treated as a missing reply
    kRefused,  // a reply of the wrong size, echo or pin
    kStored,
  };
  Outcome ReadEdge(EventEdge edge, int pin, EventActions& actions);
  bool WriteEdge(EventEdge edge, int pin, const EventActions& actions);

  Link& link_;
  Clock& clock_;
  Prompter& prompter_;
  std::vector<NotRead> not_read_;
};

}  // namespace tarn

#endif  // TARN_PROTOCOL_EVENT_CONTROL_H_
