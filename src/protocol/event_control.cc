#include "protocol/event_control.h"

#include <string>
#include <vector>

#include "protocol/command_exchange.h"
#include "protocol/general_settings_commands.h"

namespace tarn {
namespace {

constexpr std::uint8_t kNoActionNibble = 15;

// Indexed by EventEdge.
constexpr EventEdgeRule kEdgeRules[] = {
    {kEventOnReadCommand, kEventOnWriteCommand, 7, 3, "Event-On",
     "Read Event-On: Function not supported by Device"},
    {kEventOffReadCommand, kEventOffWriteCommand, 6, 2, "Event-Off",
     "Read Event-Off: Function not supported by Device"},
};

}  // namespace

std::array<std::int16_t, kEventInputCount>& EdgeActions(PinEventActions& pin, EventEdge edge) {
  return edge == EventEdge::kOn ? pin.on : pin.off;
}

const std::array<std::int16_t, kEventInputCount>& EdgeActions(const PinEventActions& pin,
                                                              EventEdge edge) {
  return edge == EventEdge::kOn ? pin.on : pin.off;
}

const EventEdgeRule& EventEdgeRuleOf(EventEdge edge) {
  return kEdgeRules[static_cast<std::size_t>(edge)];
}

std::optional<std::array<std::int16_t, kEventInputCount>> EventActionsOfReply(
    std::span<const std::uint8_t> reply, EventEdge edge, int pin) {
  const EventEdgeRule& rule = EventEdgeRuleOf(edge);
  if (!IsReplyFor(reply, rule.read_command, pin, rule.reply_size)) return std::nullopt;
  std::array<std::int16_t, kEventInputCount> actions{};
  for (int input = 0; input < kEventInputCount; ++input) {
    actions[input] = DecodeEventActionByte(input, reply[rule.first_action + input]);
  }
  return actions;
}

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
  const std::array<std::uint8_t, 2> request = {kGeneralReadCommand, kRegisterEventEnableMap};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return false;
  const std::vector<std::uint8_t>& p = reply.payload;
  switch (JudgeRegisterReply(p, kRegisterEventEnableMap, kEnableMapReplySize)) {
    case RegisterReplyFault::kSize:
      prompter_.Show("No valid response size");
      not_read_.push_back({"the event enable map"});
      break;
    case RegisterReplyFault::kEcho:
      prompter_.Show("No valid response type");
      not_read_.push_back({"the event enable map"});
      break;
    case RegisterReplyFault::kNone:
      map.on = EnablesOfMask(p[2]);
      map.off = EnablesOfMask(p[3]);
      break;
  }
  return reply.from_tarn;
}

bool EventControl::WriteEnableMap(const EventEnableMap& map) {
  const std::array<std::uint8_t, 4> message = {kGeneralWriteCommand, kRegisterEventEnableMap,
                                               EnableMask(map.on), EnableMask(map.off)};
  return SendWriteMessage(link_, message, prompter_);
}

EventControl::Outcome EventControl::ReadEdge(EventEdge edge, int pin, EventActions& actions) {
  const std::array<std::uint8_t, 2> request = {EventEdgeRuleOf(edge).read_command,
                                               static_cast<std::uint8_t>(pin)};
  const ReadReply reply = SendReadRequest(link_, request);
  if (!reply.answered) return Outcome::kNoReply;
  if (!reply.from_tarn) return Outcome::kNoTarn;
  const auto received = EventActionsOfReply(reply.payload, edge, pin);
  if (!received) return Outcome::kRefused;
  EdgeActions(actions[pin], edge) = *received;
  return Outcome::kStored;
}

bool EventControl::WriteEdge(EventEdge edge, int pin, const EventActions& actions) {
  const EventEdgeRule& rule = EventEdgeRuleOf(edge);
  const auto bytes = EventActionBytes(EdgeActions(actions[pin], edge));
  const std::array<std::uint8_t, 2 + kEventInputCount> message = {
      rule.write_command, static_cast<std::uint8_t>(pin), bytes[0], bytes[1], bytes[2], bytes[3]};
  if (!SendWriteMessage(link_, message, prompter_)) return false;
  PauseAfterWrite(link_, clock_);
  return true;
}

bool EventControl::ReadPin(int pin, EventActions& actions) {
  if (!IsPinNumber(pin)) return false;
  for (const EventEdge edge : {EventEdge::kOn, EventEdge::kOff}) {
    const Outcome outcome = ReadEdge(edge, pin, actions);
    if (outcome == Outcome::kNoTarn || outcome == Outcome::kRefused) {
      prompter_.Show(kEventReadNotSupported);
    }
    if (outcome == Outcome::kNoReply || outcome == Outcome::kNoTarn) return false;
    if (outcome == Outcome::kRefused) {
      // A device that refuses Event-On reads is not asked for Event-Off actions.
      if (edge == EventEdge::kOn) return false;
      not_read_.push_back(
          {"the " + std::string(EventEdgeRuleOf(edge).name) + " actions", pin, pin});
    }
  }
  return true;
}

bool EventControl::WritePin(int pin, const EventActions& actions) {
  if (!IsPinNumber(pin)) return false;
  return WriteEdge(EventEdge::kOn, pin, actions) && WriteEdge(EventEdge::kOff, pin, actions);
}

bool EventControl::ReadAll(EventActions& actions) {
  link_.SetBidirectional(true);
  for (const EventEdge edge : {EventEdge::kOn, EventEdge::kOff}) {
    for (int pin = 0; pin < kPinCount; ++pin) {
      const Outcome outcome = ReadEdge(edge, pin, actions);
      if (outcome == Outcome::kNoTarn || outcome == Outcome::kRefused) {
        prompter_.Show(EventEdgeRuleOf(edge).refusal);
      }
      if (outcome == Outcome::kNoReply || outcome == Outcome::kNoTarn) return false;
      if (outcome == Outcome::kRefused) {
        not_read_.push_back({"the " + std::string(EventEdgeRuleOf(edge).name) + " actions", pin,
                             kPinCount - 1});
        break;
      }
    }
  }
  return true;
}

bool EventControl::WriteAll(const EventActions& actions) {
  for (const EventEdge edge : {EventEdge::kOn, EventEdge::kOff}) {
    for (int pin = 0; pin < kPinCount; ++pin) {
      if (!WriteEdge(edge, pin, actions)) return false;
    }
  }
  return true;
}

}  // namespace tarn
