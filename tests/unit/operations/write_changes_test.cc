// "Write Changes" on the simulated Tarn, and the picture the window keeps of what the Tarn holds.

#include "operations/write_changes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "operations/flows.h"
#include "operations/scheduler.h"
#include "operations/tarn_picture.h"
#include "operations/verification.h"
#include "sim/direct_frame.h"
#include "support/simulated_line.h"
#include "unit/operations/device_ready_configuration.h"

namespace tarn {
namespace {

using Bytes = std::vector<std::uint8_t>;
using testing::DeviceReadyConfiguration;
using ::testing::ElementsAreArray;
using testing::SimulatedLine;

// Tells the picture of every write, as the window does.
class PictureListener : public LinkListener {
 public:
  PictureListener(TarnPicture& picture, const Workspace& sent_from)
      : picture_(picture), sent_from_(sent_from) {}
  void TarnWriteSent(std::span<const std::uint8_t> payload, bool confirmed) override {
    picture_.NoteWrite(payload, confirmed, sent_from_);
  }

 private:
  TarnPicture& picture_;
  const Workspace& sent_from_;
};

// A Tarn that holds the device-ready configuration, and the window's picture of it, on a direct
// line (the test reads the frames sent).
class WriteChangesTest : public ::testing::TestWithParam<testing::LineKind> {
 protected:
  WriteChangesTest()
      : line_(GetParam()),
        session_(line_.link, line_.clock, line_.prompter, progress_, workspace_),
        listener_(picture_, workspace_) {
    workspace_.config = DeviceReadyConfiguration();
    workspace_.enable_map.on = {true, false, true, true};
    EXPECT_TRUE(Flows(session_).WriteAll());
    picture_.TakeOver(workspace_);
    original_ = workspace_;
    line_.link.SetListener(&listener_);
    sent_before_ = line_.port.written().size();
  }

  // The payloads sent since the set-up, each cut to the length of the expected one.
  std::vector<Bytes> SentSince(const std::vector<Bytes>& expected) const {
    sim::DirectFrameDecoder decoder;
    std::vector<Bytes> sent;
    const std::vector<std::uint8_t>& written = line_.port.written();
    for (std::size_t i = sent_before_; i < written.size(); ++i) {
      const auto frame = decoder.Take(written[i]);
      if (!frame || frame->values.empty()) continue;
      const std::size_t index = sent.size();
      const std::size_t keep = index < expected.size() ? expected[index].size() : 4;
      sent.emplace_back(frame->values.begin(),
                        frame->values.begin() + std::min(keep, frame->values.size()));
    }
    return sent;
  }

  bool VerifiesWhole() {
    VerificationReport report;
    return Verification(session_).VerifyAll(report);
  }

  SimulatedLine line_;
  SilentProgress progress_;
  Workspace workspace_;
  Session session_;
  TarnPicture picture_;
  PictureListener listener_;
  Workspace original_;
  std::size_t sent_before_ = 0;
};

// Step requests: 0x63, pin, aspect, step.
std::vector<Bytes> AspectSteps(std::uint8_t pin, std::uint8_t aspect, int steps) {
  std::vector<Bytes> requests;
  for (int step = 0; step < steps; ++step) {
    requests.push_back({0x63, pin, aspect, static_cast<std::uint8_t>(step)});
  }
  return requests;
}

TEST_P(WriteChangesTest, SendsOnlyTheChangedGroupsInWriteAllOrderAndTheTarnThenVerifies) {
  const struct {
    const char* name;
    std::function<void(Workspace&)> edit;
    std::vector<Bytes> sent;
  } cases[] = {
      {"one step of one pin", [](Workspace& w) { w.config.pins[9].aspects[2].steps[4].p2 ^= 1; },
       AspectSteps(9, 2, 9)},
      {"a pin's mode",
       [](Workspace& w) { w.config.pins[5].pin_config = {2, 0, 0, 0, 0, 31}; },
       {{0x61, 5}}},
      {"the enable map", [](Workspace& w) { w.enable_map.off[3] = false; }, {{0x60, 11}}},
      {"a description only",
       [](Workspace& w) { w.config.pins[4].aspects[0].description = "Halt"; },
       {}},
      {"a layout: the layout, then every aspect of the new one",
       [](Workspace& w) { w.config.pins[12].aspect_layout = 2; },
       [] {
         std::vector<Bytes> sent = {{0x62, 12}};
         for (std::uint8_t aspect = 0; aspect < 12; ++aspect) {
           for (const Bytes& step : AspectSteps(12, aspect, 3)) sent.push_back(step);
         }
         return sent;
       }()},
      {"general settings first, events after the pins, the module address last",
       [](Workspace& w) {
         w.config.general_settings.module_extended_address = 12;
         w.config.event_actions[3].off[1] = 4;
         w.config.pins[7].initial_aspect = 2;
         w.config.general_settings.id_string = "Nord Yard 8";
       },
       {{0x60, 10}, {0x64, 7, 0x71}, {0x64, 3}, {0x65, 3}, {0x60, 8}, {0x60, 3}, {0x60, 2}}},
  };
  for (const auto& c : cases) {
    workspace_ = original_;
    c.edit(workspace_);
    const ChangedGroups changed = picture_.Changes(workspace_);
    sent_before_ = line_.port.written().size();
    EXPECT_TRUE(WriteChanges(session_, changed)) << c.name;
    EXPECT_THAT(SentSince(c.sent), ElementsAreArray(c.sent)) << c.name;
    EXPECT_TRUE(VerifiesWhole()) << c.name;
    EXPECT_FALSE(picture_.Changes(workspace_).AnyToWrite()) << c.name << ": taken over";
    // Back to where the next case starts.
    workspace_ = original_;
    ASSERT_TRUE(WriteChanges(session_, picture_.Changes(workspace_))) << c.name;
  }
  workspace_.config.pins[4].description = "Signal";
  EXPECT_EQ(NothingToWriteText(picture_.Changes(workspace_)), kOnlyTextsDiffer);
}

TEST_P(WriteChangesTest, AWriteTheTarnDoesNotConfirmStopsItAndStaysAChangeAfterUndo) {
  workspace_.config.general_settings.id_string = "Nord Yard 8";
  workspace_.config.pins[9].aspects[2].steps[4].p2 ^= 1;
  workspace_.config.pins[15].aspects[0].steps[0].p2 ^= 1;
  workspace_.config.general_settings.module_extended_address = 12;
  line_.tarn.InjectFaultAtReply(sim::Fault::kNoReply, 3);  // the second step of pin 9
  SchedulerListener quiet;
  Scheduler scheduler(session_, quiet);
  const OperationResult result = scheduler.RunWriteChanges(picture_.Changes(workspace_));
  EXPECT_FALSE(result.succeeded);
  EXPECT_EQ(result.summary, kWriteStopped);
  const std::vector<Bytes> sent = {{0x60, 10}, {0x63, 9, 2, 0}, {0x63, 9, 2, 1}};
  EXPECT_THAT(SentSince(sent), ElementsAreArray(sent)) << "nothing after the unconfirmed step";
  EXPECT_EQ(line_.tarn.memory().extended_address(),
            original_.config.general_settings.module_extended_address);

  // The ID string was confirmed; the aspect the Tarn may hold half of is still a change when the
  // user takes the edits back, pin 15 is one as long as it differs.
  ChangedGroups expected;
  expected.pins[9].aspects[2] = true;
  expected.pins[15].aspects[0] = true;
  expected.module_address_settings = true;
  EXPECT_EQ(picture_.Changes(workspace_), expected);
  ChangedGroups after_undo;
  after_undo.id_string = true;  // the Tarn holds the new one now
  after_undo.pins[9].aspects[2] = true;
  EXPECT_EQ(picture_.Changes(original_), after_undo);
}

TEST_P(WriteChangesTest, WritesSentWithoutConfirmationLeaveEverythingTheyTouchedUnknown) {
  line_.link.SetBidirectional(false);
  workspace_.config.pins[9].aspects[2].steps[4].p2 ^= 1;
  ASSERT_TRUE(WriteChanges(session_, picture_.Changes(workspace_)));
  ChangedGroups expected;
  expected.pins[9].aspects[2] = true;
  EXPECT_EQ(picture_.Changes(workspace_), expected);
  EXPECT_EQ(picture_.Changes(original_), expected) << "still unknown after an undo";
  picture_.TakeOver(workspace_);  // a verification that passed
  EXPECT_FALSE(picture_.Changes(workspace_).AnyToWrite());
}

// Another program changed the Tarn behind the window's back, and the user edited the window; a
// read of part of the Tarn brings the Tarn's values into the model. What the read took whole is
// then no difference; what it left out, or listed as not read, keeps the picture it had, so the
// user's edits there stay changes.
TEST_P(WriteChangesTest, APartialReadTakesOverWhatItReadWhole) {
  SchedulerListener quiet;
  Scheduler scheduler(session_, quiet);
  const auto operation = [&](Operation which) {
    return [&scheduler, which] { return scheduler.Run(which).read; };
  };
  const auto one_group = [this](bool ChangedGroups::*group,
                                const std::function<bool(GeneralSettings&)>& read) {
    return [this, group, read] {
      ChangedGroups groups;
      if (read(workspace_.config.general_settings) && session_.general.TakeNotRead().empty()) {
        groups.*group = true;
      }
      return groups;
    };
  };
  const auto read_dcc = [this](GeneralSettings& s) { return session_.general.ReadDcc(s); };
  const struct {
    const char* name;
    std::function<ChangedGroups()> read;
    std::function<void()> fault;
    bool takes_configuration;  // the user's edit of pin 9's configuration gives way to the Tarn's
    bool takes_events;         // the same for pin 4's events
    bool dcc_differs = false;  // the Tarn's new DCC address came, the picture kept the old
  } cases[] = {
      {"Read Pin", operation(Operation::kReadPin), {}, true, false},
      {"Read Asp's", operation(Operation::kReadPinAspects), {}, false, false},
      {"Read All Pins", operation(Operation::kReadAllPins), {}, true, false},
      {"Read Device", operation(Operation::kReadDevice), {}, true, false},
      {"Read All Events", operation(Operation::kReadAllEvents), {}, false, true},
      {"Read All Events refused", operation(Operation::kReadAllEvents),
       [this] { line_.tarn.InjectFault(sim::Fault::kRefuseEventReads, sim::kAlways); }, false,
       false},
      {"the DCC settings", one_group(&ChangedGroups::dcc, read_dcc), {}, false, false},
      {"the DCC settings, the options refused", one_group(&ChangedGroups::dcc, read_dcc),
       [this] { line_.tarn.InjectFault(sim::Fault::kWrongTarget); }, false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    line_.tarn.ClearFaults();
    workspace_ = original_;
    picture_.TakeOver(original_);
    // The other program writes over a line the picture does not hear.
    Workspace tarn = original_;
    tarn.config.pins[9].aspects[1].steps[0].p2 ^= 1;
    tarn.config.pins[9].pin_config = {2, 0, 0, 0, 0, 31};
    tarn.config.event_actions[4].on[0] = 3;
    tarn.config.general_settings.dcc_address = 77;
    line_.link.SetListener(nullptr);
    Session other(line_.link, line_.clock, line_.prompter, progress_, tarn);
    ASSERT_TRUE(Flows(other).WriteAll());
    line_.link.SetListener(&listener_);

    workspace_.config.current_pin = 9;
    workspace_.config.general_settings.serial_base_address ^= 1;
    workspace_.config.pins[9].pin_config = {2, 0, 0, 0, 0, 20};
    workspace_.config.event_actions[4].on[1] = 5;
    if (c.fault) c.fault();
    picture_.TakeOverRead(c.read(), workspace_);
    line_.prompter.messages.clear();
    ChangedGroups left;
    left.module_address_settings = true;  // never read
    left.pins[9].configuration = !c.takes_configuration;
    left.pins[4].events = !c.takes_events;
    left.dcc = c.dcc_differs;
    EXPECT_EQ(picture_.Changes(workspace_), left);
  }
  TarnPicture unknown;
  ChangedGroups everything;
  everything.dcc = true;
  unknown.TakeOverRead(everything, workspace_);
  EXPECT_FALSE(unknown.known()) << "a part read is no picture of the whole";
}

INSTANTIATE_TEST_SUITE_P(DirectTarns, WriteChangesTest,
                         ::testing::ValuesIn(testing::DirectLineKinds()),
                         testing::LineKindName);

TEST(TarnPictureTest, EveryWriteOfWriteAllIsTakenOverWhenConfirmed) {
  SimulatedLine line;
  SilentProgress progress;
  Workspace edited;
  edited.config = DeviceReadyConfiguration();
  edited.enable_map.off = {true, false, false, true};
  TarnPicture picture;
  picture.TakeOver(Workspace());
  PictureListener listener(picture, edited);
  line.link.SetListener(&listener);
  Session session(line.link, line.clock, line.prompter, progress, edited);
  ASSERT_TRUE(Flows(session).WriteAll());
  const ChangedGroups left = picture.Changes(edited);
  EXPECT_FALSE(left.AnyToWrite()) << "every message's values are in the picture";
  EXPECT_TRUE(left.descriptions) << "which no message carries";
}

TEST(TarnPictureTest, WhatEachWriteSets) {
  using Kind = TarnItem::Kind;
  const struct {
    Bytes payload;
    std::vector<TarnItem> items;
    bool kept = true;
    bool beyond = false;
  } cases[] = {
      {{0x60, 4, 1, 0}, {{Kind::kRegister, 4}}},
      {{0x60, 0, 0x45, 0x72}, {}, true, true},  // "Erase Flash"
      {{0x60, 9, 1}, {}, true, true},
      {{0x63, 3, 2, 8, 0, 0, 0, 0, 0}, {{Kind::kStep, 3, 2, 8}}},
      {{0x64, 6, 0x73}, {{Kind::kInitialAspect, 6}}},
      {{0x64, 6, 0x01, 0x1F, 0x22, 0x33}, {{Kind::kEventOn, 6}}},
      {{0x65, 6, 0x0F, 0x1F, 0x2F, 0x3F}, {{Kind::kEventOff, 6}}},
      {{0x41, 2, 4, 1}, {{Kind::kPinConfiguration, 2}}, false},  // "Set Pin Config"
      {{0x66, 40, 0, 0x10, 0x40}, {}, true, true},
  };
  for (const auto& c : cases) {
    const WrittenItems written = ItemsWrittenBy(c.payload);
    EXPECT_EQ(written.items, c.items) << int(c.payload[0]) << " " << int(c.payload[1]);
    EXPECT_EQ(written.kept, c.kept) << int(c.payload[0]);
    EXPECT_EQ(written.beyond_picture, c.beyond) << int(c.payload[0]) << " " << int(c.payload[1]);
  }
  TarnPicture picture;
  picture.TakeOver(Workspace());
  const Bytes erase = {0x60, 0, 0x45};
  picture.NoteWrite(erase, false, Workspace());
  EXPECT_FALSE(picture.known()) << "an erased Tarn is no longer the one in the picture";
}

TEST(DifferenceSummaryTest, TabsAndCountsOfTheGroupsToWrite) {
  ChangedGroups changed;
  EXPECT_EQ(DifferenceSummaryText(false, SummarizeChanges(changed)),
            "What the Tarn holds is not known");
  EXPECT_EQ(DifferenceSummaryText(true, SummarizeChanges(changed)),
            "The Tarn holds what the window shows");
  changed.descriptions = true;
  EXPECT_EQ(SummarizeChanges(changed), DifferenceSummary{}) << "a Tarn keeps no texts";
  changed.pins[3].events = true;
  EXPECT_EQ(SummarizeChanges(changed), (DifferenceSummary{false, true, false, 1}));
  EXPECT_EQ(PinDifferenceText(changed, 3, 1), "") << "events show on their own tab";
  changed.pins[3].aspects[1] = true;
  changed.pins[3].layout = true;
  changed.dcc = true;
  EXPECT_EQ(SummarizeChanges(changed), (DifferenceSummary{true, true, true, 4}));
  EXPECT_EQ(DifferenceSummaryText(true, SummarizeChanges(changed)),
            "4 groups differ from the Tarn");
  EXPECT_EQ(PinDifferenceText(changed, 3, 1), "Pin 4 differs from the Tarn");
}

}  // namespace
}  // namespace tarn
