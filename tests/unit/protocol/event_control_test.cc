// Event control: the action bytes and enable masks, the reads and writes against the simulated
// Tarn, and the rules of the event control tab's fields.

#include "protocol/event_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "protocol/event_control_tab.h"
#include "sim/direct_frame.h"
#include "support/simulated_line.h"

namespace tarn {
namespace {

using sim::Fault;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::SimulatedLine;

struct Line : SimulatedLine {
  explicit Line(bool tunnelled = false) : SimulatedLine(tunnelled), events(link, clock, prompter) {}
  sim::PinMemory& Pin(int pin) { return tarn.memory().pins[pin]; }
  EventControl events;
};

// Actions that differ from pin to pin and from the start values, none included.
EventActions VariedActions() {
  EventActions actions;
  for (int pin = 0; pin < kPinCount; ++pin) {
    for (int input = 0; input < kEventInputCount; ++input) {
      actions[pin].on[input] = static_cast<std::int16_t>((pin + input) % 13 - 1);
      actions[pin].off[input] = static_cast<std::int16_t>((pin * 3 + input) % 13 - 1);
    }
  }
  return actions;
}

TEST(EventBytesTest, ActionBytes) {
  const struct {
    int input;
    std::int16_t action;
    std::uint8_t byte;
  } cases[] = {
      {2, 5, 0x25},  {2, -1, 0x2F},  {0, 0, 0x00},
      {3, 11, 0x3B}, {3, 14, 0x3E},  // the largest the nibble carries
      {1, 15, 0x1F},                 // would read as none
      {1, -7, 0x1F}, {0, 300, 0x0F},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EventActionByte(c.input, c.action), c.byte) << c.input << " " << c.action;
  }
  const struct {
    int input;
    std::uint8_t byte;
    std::int16_t action;
  } decoded[] = {
      {2, 0x25, 5}, {2, 0x15, -1}, {1, 0x1F, -1}, {1, 0x0F, -1}, {0, 0x00, 0}, {3, 0x3E, 14},
  };
  for (const auto& c : decoded) {
    EXPECT_EQ(DecodeEventActionByte(c.input, c.byte), c.action) << c.input << " " << int{c.byte};
  }
}

TEST(EventBytesTest, EnableMasksSetTheBitsOfDisabledInputs) {
  EXPECT_EQ(EnableMask({true, false, true, false}), 0x0A);
  EXPECT_EQ(EnableMask({true, true, true, true}), 0x00);
  EXPECT_EQ(EnableMask({false, false, false, false}), 0x0F);
  for (std::uint8_t mask = 0; mask < 16; ++mask) EXPECT_EQ(EnableMask(EnablesOfMask(mask)), mask);
}

class EventMessagesTest : public ::testing::TestWithParam<bool> {};

TEST_P(EventMessagesTest, WriteAllLandsInTheTarnAndReadAllBringsItBack) {
  Line line(GetParam());
  const EventActions written = VariedActions();
  ASSERT_TRUE(line.events.WriteAll(written));
  for (int pin = 0; pin < kPinCount; ++pin) {
    EXPECT_EQ(line.Pin(pin).event_on, EventActionBytes(written[pin].on)) << pin;
    EXPECT_EQ(line.Pin(pin).event_off, EventActionBytes(written[pin].off)) << pin;
  }
  EXPECT_EQ(line.Pin(3).initial_aspect, 0x7F) << "the initial aspect is not touched";

  line.link.SetBidirectional(false);
  EventActions read;
  ASSERT_TRUE(line.events.ReadAll(read));
  EXPECT_TRUE(line.link.bidirectional());
  EXPECT_EQ(read, written);
  EXPECT_THAT(line.prompter.Texts(), IsEmpty());
}

TEST_P(EventMessagesTest, OnePinWrittenAndReadAlone) {
  Line line(GetParam());
  EventActions actions;
  actions[9].on = {11, -1, 0, 7};
  actions[9].off = {-1, 3, -1, 2};
  ASSERT_TRUE(line.events.WritePin(9, actions));
  EXPECT_THAT(line.Pin(9).event_on, ElementsAre(0x0B, 0x1F, 0x20, 0x37));
  EXPECT_THAT(line.Pin(9).event_off, ElementsAre(0x0F, 0x13, 0x2F, 0x32));
  EXPECT_THAT(line.Pin(8).event_on, ElementsAre(0x0F, 0x1F, 0x2F, 0x3F)) << "other pins alone";

  EventActions read;
  ASSERT_TRUE(line.events.ReadPin(9, read));
  EXPECT_EQ(read[9], actions[9]);
  EXPECT_EQ(read[8], PinEventActions{}) << "only the event pin is read";
}

TEST_P(EventMessagesTest, EnableMapWrittenAndRead) {
  Line line(GetParam());
  const EventEnableMap written = {.on = {true, false, true, false},
                                  .off = {false, false, false, true}};
  ASSERT_TRUE(line.events.WriteEnableMap(written));
  EXPECT_THAT(line.tarn.memory().registers[11], ElementsAre(0x0A, 0x07));
  EventEnableMap read;
  ASSERT_TRUE(line.events.ReadEnableMap(read));
  EXPECT_EQ(read, written);
}

INSTANTIATE_TEST_SUITE_P(DirectAndTunnelled, EventMessagesTest, ::testing::Bool());

TEST(EventWritePauseTest, EachPinWritePausesOnlyWithoutBidirectionalComm) {
  Line line;
  line.link.SetBidirectional(false);
  const EventActions actions = VariedActions();
  double start = line.clock.Now();
  ASSERT_TRUE(line.events.WriteAll(actions));
  EXPECT_GE(line.clock.Now() - start, 64 * 0.1 - 1e-9);
  EXPECT_LT(line.clock.Now() - start, 64 * 0.1 + 1.0);

  start = line.clock.Now();
  ASSERT_TRUE(line.events.WriteEnableMap({}));
  EXPECT_LT(line.clock.Now() - start, 0.1) << "no pause after the enable map";

  line.link.SetBidirectional(true);
  start = line.clock.Now();
  ASSERT_TRUE(line.events.WritePin(0, actions));
  EXPECT_LT(line.clock.Now() - start, 0.1) << "the replies pace the writes";
}

TEST(EventReadTest, ReadAllAgainstADeviceThatRefusesEventOnReads) {
  Line line;
  const EventActions written = VariedActions();
  ASSERT_TRUE(line.events.WriteAll(written));
  line.tarn.InjectFault(Fault::kRefuseEventReads, 1);
  EventActions read;
  EXPECT_TRUE(line.events.ReadAll(read));
  EXPECT_THAT(line.prompter.Texts(),
              ElementsAre("Read Event-On: Function not supported by Device"));
  for (int pin = 0; pin < kPinCount; ++pin) {
    EXPECT_EQ(read[pin].on, PinEventActions{}.on) << "Event-On reads skipped";
    EXPECT_EQ(read[pin].off, written[pin].off) << "Event-Off still read";
  }
}

TEST(EventReadTest, ReadAllAgainstADeviceThatRefusesAllEventReads) {
  Line line;
  line.tarn.InjectFault(Fault::kRefuseEventReads, sim::kAlways);
  EventActions read = VariedActions();
  EXPECT_TRUE(line.events.ReadAll(read)) << "the flows go on";
  EXPECT_THAT(line.prompter.Texts(),
              ElementsAre("Read Event-On: Function not supported by Device",
                          "Read Event-Off: Function not supported by Device"));
  EXPECT_EQ(read, VariedActions());
}

TEST(EventReadTest, SinglePinReadRules) {
  const struct {
    const char* name;
    Fault fault;
    bool refresh;
    std::vector<std::string> messages;
  } cases[] = {
      {"refused", Fault::kRefuseEventReads, false, {"Function not supported by Device"}},
      {"wrong pin", Fault::kWrongTarget, false, {"Function not supported by Device"}},
      {"wrong echo", Fault::kWrongEcho, false, {"Function not supported by Device"}},
      {"short", Fault::kShortReply, false, {"Function not supported by Device"}},
      {"no reply",
       Fault::kNoReply,
       false,
       {"No response received, resetting bidirectional communication"}},
  };
  for (const auto& c : cases) {
    Line line;
    EventActions actions;
    actions[6].on = {4, 4, 4, 4};
    actions[6].off = {5, 5, 5, 5};
    ASSERT_TRUE(line.events.WritePin(6, actions));
    line.tarn.InjectFault(c.fault);
    EventActions read;
    EXPECT_EQ(line.events.ReadPin(6, read), c.refresh) << c.name;
    EXPECT_EQ(line.prompter.Texts(), c.messages) << c.name;
    EXPECT_EQ(read[6], PinEventActions{}) << c.name << ": nothing stored, not even Event-Off";
  }
  // Event-Off refused alone: the Event-On actions are the Tarn's, the Event-Off ones not read.
  Line line;
  EventActions actions;
  actions[6].on = {4, 4, 4, 4};
  ASSERT_TRUE(line.events.WritePin(6, actions));
  line.tarn.InjectFaultAtReply(Fault::kWrongTarget, 2);
  EventActions read;
  EXPECT_TRUE(line.events.ReadPin(6, read));
  EXPECT_EQ(read[6].on, actions[6].on);
  EXPECT_THAT(line.events.TakeNotRead(), ElementsAre(NotRead{"the Event-Off actions", 6, 6}));
}

// A direct line whose Tarn gets a fault just before it answers the n-th request (1 = first), so
// that a later message of a sequence can be spoilt alone.
struct LaterFaultLine : sim::SimulatedDevice {
  LaterFaultLine(int request, Fault spoilt_by)
      : port(*this, clock),
        link(port, clock, prompter),
        events(link, clock, prompter),
        fault_request(request),
        fault(spoilt_by) {
    link.TakeOverModuleAddress(0);
    link.SelectPort("1 sim");
    link.SetBidirectional(true);
  }
  void Receive(std::uint8_t byte, std::vector<std::uint8_t>& answer) override {
    const auto frame = decoder.Take(byte);
    if (frame && frame->kind == sim::DirectFrame::Kind::kTarn && !frame->values.empty() &&
        ++requests == fault_request) {
      tarn.InjectFault(fault);
    }
    tarn.Receive(byte, answer);
  }
  double LastAnswerDelay() const override { return tarn.LastAnswerDelay(); }

  sim::ManualClock clock;
  sim::SimulatedTarn tarn;
  sim::SimulatedPort port;
  testing::RecordingPrompter prompter;
  Link link;
  EventControl events;
  sim::DirectFrameDecoder decoder;
  int requests = 0;
  int fault_request;
  Fault fault;
};

// A refused Event-Off read still shows the Event-On actions it got: the display is refreshed.
TEST(EventReadTest, SinglePinReadWithTheEventOffReplyRefused) {
  for (const Fault fault : {Fault::kRefuseEventReads, Fault::kWrongTarget, Fault::kShortReply}) {
    LaterFaultLine line(2, fault);
    line.tarn.memory().pins[6].event_on = {0x04, 0x14, 0x24, 0x34};
    line.tarn.memory().pins[6].event_off = {0x05, 0x15, 0x25, 0x35};
    EventActions read;
    EXPECT_TRUE(line.events.ReadPin(6, read));
    EXPECT_THAT(line.prompter.Texts(), ElementsAre("Function not supported by Device"));
    EXPECT_THAT(read[6].on, ElementsAre(4, 4, 4, 4));
    EXPECT_EQ(read[6].off, PinEventActions{}.off) << "Event-Off left as it was";
  }
}

// A device that refuses the Event-Off read of one pin is told once, and no later pin is asked.
TEST(EventReadTest, ReadAllStopsTheEventOffHalfAtItsFirstRefusal) {
  LaterFaultLine line(kPinCount + 3, Fault::kWrongEcho);  // the Event-Off read of pin 2
  const EventActions written = VariedActions();
  for (int pin = 0; pin < kPinCount; ++pin) {
    line.tarn.memory().pins[pin].event_on = EventActionBytes(written[pin].on);
    line.tarn.memory().pins[pin].event_off = EventActionBytes(written[pin].off);
  }
  EventActions read;
  EXPECT_TRUE(line.events.ReadAll(read));
  EXPECT_THAT(line.prompter.Texts(),
              ElementsAre("Read Event-Off: Function not supported by Device"));
  EXPECT_EQ(line.requests, kPinCount + 3);
  for (int pin = 0; pin < kPinCount; ++pin) {
    EXPECT_EQ(read[pin].on, written[pin].on) << pin;
    EXPECT_EQ(read[pin].off, pin < 2 ? written[pin].off : PinEventActions{}.off) << pin;
  }
}

TEST(EventReadTest, ReadAllWithoutAReplyFails) {
  Line line;
  line.tarn.InjectFault(Fault::kNoReply);
  EventActions read;
  EXPECT_FALSE(line.events.ReadAll(read));
  EXPECT_THAT(line.prompter.Texts(),
              ElementsAre("No response received, resetting bidirectional communication"));
}

TEST(EventReadTest, TunnelledSilenceEndsReadAll) {
  Line line(true);
  line.tarn.InjectFault(Fault::kNoReply);
  EventActions read;
  EXPECT_FALSE(line.events.ReadAll(read));
  EXPECT_THAT(line.prompter.Texts(),
              ElementsAre("Read Event-On: Function not supported by Device"));
}

TEST(EventReadTest, EnableMapWrongRepliesStillCountAsReplies) {
  const struct {
    Fault fault;
    const char* message;
  } cases[] = {
      {Fault::kShortReply, "No valid response size"},
      {Fault::kWrongEcho, "No valid response type"},
      {Fault::kWrongTarget, "No valid response type"},
  };
  for (const auto& c : cases) {
    Line line;
    line.tarn.memory().registers[11] = {0x0F, 0x0F};
    line.tarn.InjectFault(c.fault);
    EventEnableMap map;
    EXPECT_TRUE(line.events.ReadEnableMap(map)) << c.message;
    EXPECT_THAT(line.prompter.Texts(), ElementsAre(c.message));
    EXPECT_EQ(map, EventEnableMap{}) << c.message;
  }
  Line line;
  line.tarn.InjectFault(Fault::kNoReply);
  EventEnableMap map;
  EXPECT_FALSE(line.events.ReadEnableMap(map));
}

// --- The tab's fields --------------------------------------------------------------------------

TEST(EventTabTest, ConfirmingAnActionField) {
  const struct {
    const char* typed;
    const char* shown;
    std::int16_t stored;
    EventFieldBackground background;
  } cases[] = {
      {"40", "11", 11, EventFieldBackground::kWindow},
      {"-7", "-1", -1, EventFieldBackground::kNoAction},
      {"-1", "-1", -1, EventFieldBackground::kNoAction},
      {"5", "5", 5, EventFieldBackground::kWindow},
      {"11", "11", 11, EventFieldBackground::kWindow},
      {"3.6", "3.6", 4, EventFieldBackground::kWindow},
      {"-1.2", "-1", -1, EventFieldBackground::kNoAction},
      {"11.2", "11", 11, EventFieldBackground::kWindow},
      {"", "", 0, EventFieldBackground::kWindow},
      {"x", "x", 0, EventFieldBackground::kWindow},
  };
  for (const auto& c : cases) {
    for (const EventEdge edge : {EventEdge::kOn, EventEdge::kOff}) {
      EventActions actions;
      const EventField field = ConfirmEventActionField(c.typed, edge, 2, 17, actions);
      EXPECT_EQ(field.text, c.shown) << c.typed;
      EXPECT_EQ(field.background, c.background) << c.typed;
      const auto& row = edge == EventEdge::kOn ? actions[17].on : actions[17].off;
      EXPECT_EQ(row[2], c.stored) << c.typed;
      EXPECT_EQ(actions[16], PinEventActions{}) << "only the event pin";
    }
  }
}

TEST(EventTabTest, SteppingStaysWithinItsBounds) {
  EventActions actions;
  actions[0].on[1] = 11;
  EXPECT_EQ(StepEventActionField(StepDirection::kUp, EventEdge::kOn, 1, 0, actions).text, "11");
  EXPECT_EQ(StepEventActionField(StepDirection::kDown, EventEdge::kOn, 1, 0, actions).text, "10");
  EXPECT_EQ(actions[0].on[1], 10);

  actions[0].off[3] = 0;
  const EventField field =
      StepEventActionField(StepDirection::kDown, EventEdge::kOff, 3, 0, actions);
  EXPECT_EQ(field, (EventField{"-1", EventFieldBackground::kNoAction}));
  StepEventActionField(StepDirection::kDown, EventEdge::kOff, 3, 0, actions);
  EXPECT_EQ(actions[0].off[3], -1);
}

TEST(EventTabTest, RefreshShowsTheEventPinWithNoneGreyed) {
  EventActions actions;
  actions[4].on = {3, -1, 0, 11};
  const EventFields fields = ShowEventFields(actions, 4);
  EXPECT_EQ(fields.on[0], (EventField{"3", EventFieldBackground::kWindow}));
  EXPECT_EQ(fields.on[1], (EventField{"-1", EventFieldBackground::kNoAction}));
  EXPECT_EQ(fields.on[2].background, EventFieldBackground::kWindow);
  for (const EventField& field : fields.off) {
    EXPECT_EQ(field, (EventField{"-1", EventFieldBackground::kNoAction}));
  }
  EXPECT_EQ(EventFieldBackgroundOf(" -1"), EventFieldBackground::kNoAction);
  EXPECT_EQ(EventFieldBackgroundOf("0"), EventFieldBackground::kWindow);
}

TEST(EventTabTest, EventPinField) {
  const struct {
    int base;
    const char* typed;
    EventPinField result;
  } cases[] = {
      {1, "0", {"1", 0}},    {1, "40", {"32", 31}}, {1, "5", {"5", 4}},
      {1, "32", {"32", 31}}, {0, "0", {"0", 0}},    {0, "31", {"31", 31}},
      {0, "32", {"31", 31}}, {0, "-3", {"0", 0}},   {1, "abc", {"1", 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ConfirmEventPinField(c.typed, c.base), c.result) << c.base << " " << c.typed;
  }
  EXPECT_EQ(StepEventPinField(StepDirection::kUp, 4, 1), (EventPinField{"6", 5}));
  EXPECT_EQ(StepEventPinField(StepDirection::kUp, 31, 1), (EventPinField{"32", 31}));
  EXPECT_EQ(StepEventPinField(StepDirection::kDown, 0, 0), (EventPinField{"0", 0}));
  EXPECT_EQ(EventPinText(0, 1), "1");
}

TEST(EventTabTest, CopyToAllGivesEveryPinTheShownActions) {
  EventActions actions = VariedActions();
  CopyEventFieldsToAll({"3", "-1", "-1", "0"}, {"-1", "-1", "-1", "-1"}, actions);
  for (const PinEventActions& pin : actions) {
    EXPECT_THAT(pin.on, ElementsAre(3, -1, -1, 0));
    EXPECT_THAT(pin.off, ElementsAre(-1, -1, -1, -1));
  }
  CopyEventFieldsToAll({"40", "-7", "2.5", ""}, {"0", "1", "2", "3"}, actions);
  EXPECT_THAT(actions[31].on, ElementsAre(11, -1, 3, 0));
  EXPECT_THAT(actions[0].off, ElementsAre(0, 1, 2, 3));
}

}  // namespace
}  // namespace tarn
