#include "protocol/event_control.h"

#include <string>
#include <vector>

#include "protocol/command_exchange.h"

namespace tarn {
namespace {

constexpr std::uint8_t kNoActionNibble = 15;
constexpr std::size_t kEnableMapReplySize = 4;

bool IsPin(int pin) { return pin >= 0 && pin < kPinCount; }

struct HalfRule {
  std::uint8_t read_command;
  std::uint8_t write_command;
  std::size_t reply_size;
  std::size_t first_action;  // reply position of input 0's action byte
  std::string_view read_all_refusal;
};

// The Event-On reply carries the pin's initial aspect before the four actions.
constexpr HalfRule kOnRule = {kEventOnReadCommand, kEventOnWriteCommand, 7, 3,
                              "Read Event-On: Function not supported by Device"};
constexpr HalfRule kOffRule = {kEventOffReadCommand, kEventOffWriteCommand, 6, 2,
                               "Read Event-Off: Function not supported by Device"};

}  // namespace

std::uint8_t EnableMask(const std::array<bool, kEventInputCount>& enables) {
  std::uint8_t mask = 0;
  for (int input = 0; input < kEventInputCount; ++input) {
    if (!enables[input]) mask = static_cast<std::uint8_t>(mask | (1u << input));
  }
  return mask;
}

std::array<bool, kEventInputCount> EnablesOfMask(std::uint8_t mask) {
  std::array<bool, kEventInputCount> enables{};
  for (int input = 0; input < kEventInputCount; ++input) enables[input] = !((mask >> input) & 1u);
  return enables;
}

std::uint8_t EventActionByte(int input, std::int16_t action) {
  const bool carried = action >= 0 && action < kNoActionNibble;
  return static_cast<std::uint8_t>(16 * (input & 0x07) + (carried ? action : kNoActionNibble));
}

std::int16_t DecodeEventActionByte(int input, std::uint8_t byte) {
  const int low = byte & 0x0F;
  if ((byte >> 4) != input || low == kNoActionNibble) return kNoEventAction;
  return static_cast<std::int16_t>(low);
}

std::array<std::uint8_t, kEventInputCount> EventActionBytes(
    const std::array<std::int16_t, kEventInputCount>& actions) {
  std::array<std::uint8_t, kEventInputCount> bytes{};
  for (int input = 0; input < kEventInputCount; ++input) {
    bytes[input] = EventActionByte(input, actions[input]);
  }
  return bytes;
}

EventControl::EventControl(Link& link, Clock& clock, Prompter& prompter)
    : link_(link), clock_(clock), prompter_(prompter) {}

bool EventControl::ReadEnableMap(EventEnableMap& map) {
  const std::array<std::uint8_t, 2> request = {kGeneralReadCommand, kEventEnableMapRegister};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return false;
  const std::vector<std::uint8_t>& p = reply.payload;
  if (p.size() != kEnableMapReplySize) {
    prompter_.Show("No valid response size");
  } else if (p[0] != kGeneralReadCommand || p[1] != kEventEnableMapRegister) {
    prompter_.Show("No valid response type");
  } else {
    map.on = EnablesOfMask(p[2]);
    map.off = EnablesOfMask(p[3]);
  }
  return reply.from_tarn;
}

bool EventControl::WriteEnableMap(const EventEnableMap& map) {
  const std::array<std::uint8_t, 4> message = {kGeneralWriteCommand, kEventEnableMapRegister,
                                               EnableMask(map.on), EnableMask(map.off)};
  return SendWriteMessage(link_, message);
}

EventControl::Outcome EventControl::ReadHalf(Half half, int pin, EventActions& actions) {
  const HalfRule& rule = half == Half::kOn ? kOnRule : kOffRule;
  const std::array<std::uint8_t, 2> request = {rule.read_command, static_cast<std::uint8_t>(pin)};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return Outcome::kNoReply;
  if (!reply.from_tarn) return Outcome::kNoTarn;
  const std::vector<std::uint8_t>& p = reply.payload;
  if (p.size() != rule.reply_size || p[0] != rule.read_command || p[1] != pin) {
    return Outcome::kRefused;
  }
  auto& stored = half == Half::kOn ? actions[pin].on : actions[pin].off;
  for (int input = 0; input < kEventInputCount; ++input) {
    stored[input] = DecodeEventActionByte(input, p[rule.first_action + input]);
  }
  return Outcome::kStored;
}

bool EventControl::WriteHalf(Half half, int pin, const EventActions& actions) {
  const HalfRule& rule = half == Half::kOn ? kOnRule : kOffRule;
  const auto bytes = EventActionBytes(half == Half::kOn ? actions[pin].on : actions[pin].off);
  const std::array<std::uint8_t, 2 + kEventInputCount> message = {
      rule.write_command, static_cast<std::uint8_t>(pin), bytes[0], bytes[1], bytes[2], bytes[3]};
  if (!SendWriteMessage(link_, message)) return false;
  PauseAfterWrite(link_, clock_);
  return true;
}

bool EventControl::ReadPin(int pin, EventActions& actions) {
  if (!IsPin(pin)) return false;
  for (const Half half : {Half::kOn, Half::kOff}) {
    const Outcome outcome = ReadHalf(half, pin, actions);
    if (outcome == Outcome::kNoTarn || outcome == Outcome::kRefused) {
      prompter_.Show(kEventReadNotSupported);
    }
    if (outcome == Outcome::kNoReply || outcome == Outcome::kNoTarn) return false;
    // A device that refuses Event-On reads is not asked for Event-Off actions.
    if (outcome == Outcome::kRefused && half == Half::kOn) return false;
  }
  return true;
}

bool EventControl::WritePin(int pin, const EventActions& actions) {
  if (!IsPin(pin)) return false;
  return WriteHalf(Half::kOn, pin, actions) && WriteHalf(Half::kOff, pin, actions);
}

bool EventControl::ReadAll(EventActions& actions) {
  link_.SetBidirectional(true);
  for (const Half half : {Half::kOn, Half::kOff}) {
    for (int pin = 0; pin < kPinCount; ++pin) {
      const Outcome outcome = ReadHalf(half, pin, actions);
      if (outcome == Outcome::kNoTarn || outcome == Outcome::kRefused) {
        prompter_.Show((half == Half::kOn ? kOnRule : kOffRule).read_all_refusal);
      }
      if (outcome == Outcome::kNoReply || outcome == Outcome::kNoTarn) return false;
      if (outcome == Outcome::kRefused) break;
    }
  }
  return true;
}

bool EventControl::WriteAll(const EventActions& actions) {
  for (const Half half : {Half::kOn, Half::kOff}) {
    for (int pin = 0; pin < kPinCount; ++pin) {
      if (!WriteHalf(half, pin, actions)) return false;
    }
  }
  return true;
}

}  // namespace tarn
