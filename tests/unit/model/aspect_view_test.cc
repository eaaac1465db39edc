#include "model/aspect_view.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

#include "model/aspect_layout.h"
#include "model/instruction_set.h"

namespace tarn {
namespace {

constexpr std::uint8_t kSetLevel = 38, kWait = 102, kUndefined = 2;

int MenuIndexOf(std::string_view name) {
  const auto menu = InstructionMenu();
  for (std::size_t i = 0; i < menu.size(); ++i) {
    if (menu[i].name == name) return static_cast<int>(i);
  }
  ADD_FAILURE() << "no instruction " << name;
  return 0;
}

// A pin of twelve aspects showing aspect 7, with initial aspect 9, on pin 5 of a configuration
// that numbers from 1.
DeviceConfiguration TwelveAspectPin() {
  DeviceConfiguration config;
  config.current_pin = 5;
  config.current_aspect = 7;
  PinRecord& pin = config.pins[5];
  pin.aspect_layout = kLayoutTwelveAspects;
  pin.initial_aspect = 10;
  pin.description = "Home signal";
  pin.aspects[7].description = "Clear";
  pin.dcc_address_count = 2;
  return config;
}

// Showing the aspect view settles the model first: the layout byte, the current aspect, the
// initial aspect and every step of the aspect, the hidden ones included.
TEST(AspectViewTest, ShowingSettlesTheModelAndTellsWhatTheLayoutShows) {
  const struct {
    const char* what;
    std::function<void(DeviceConfiguration&)> setup;
    LayoutOption option;
    std::uint8_t layout;  // the layout byte afterwards
    int step_rows;
    const char* aspect;
    const char* initial;
    std::function<void(const DeviceConfiguration&, const AspectView&)> check;
  } cases[] = {
      {"twelve aspects as they are", [](DeviceConfiguration&) {}, LayoutOption::kTwelveAspects,
       kLayoutTwelveAspects, 3, "7", "9",
       [](const DeviceConfiguration&, const AspectView& view) {
         EXPECT_EQ(view.pin_text, "6");
         EXPECT_EQ(view.description, "Home signal");
         EXPECT_EQ(view.aspect_description, "Clear");
         EXPECT_EQ(view.counts, (std::array<std::string, 3>{"1", "2", "1"}));
         EXPECT_EQ(view.shape.max_aspect, 11);
         EXPECT_TRUE(view.shape.aspect_controls);
       }},
      {"twelve to four: aspect 7 becomes 3, initial 9 none",
       [](DeviceConfiguration& c) { c.pins[5].aspect_layout = kLayoutFourAspects; },
       LayoutOption::kFourAspects, kLayoutFourAspects, 9, "3", "-1",
       [](const DeviceConfiguration& c, const AspectView& view) {
         EXPECT_EQ(c.current_aspect, 3);
         EXPECT_EQ(c.pins[5].initial_aspect, 0);
         EXPECT_EQ(view.shape.max_aspect, 3);
       }},
      {"four aspects keep an initial aspect within them",
       [](DeviceConfiguration& c) {
         c.pins[5].aspect_layout = kLayoutFourAspects;
         c.pins[5].initial_aspect = 4;
       },
       LayoutOption::kFourAspects, kLayoutFourAspects, 9, "3", "3",
       [](const DeviceConfiguration&, const AspectView&) {}},
      {"a layout byte the Tarn does not know becomes 0",
       [](DeviceConfiguration& c) { c.pins[5].aspect_layout = 5; }, LayoutOption::kNone,
       kLayoutNone, 0, "7", "9",
       [](const DeviceConfiguration& c, const AspectView& view) {
         EXPECT_FALSE(view.shape.aspect_controls);
         EXPECT_EQ(c.current_aspect, 7) << "kept for the next pin with a program";
       }},
      {"every step is normalised, the hidden ones too",
       [](DeviceConfiguration& c) {
         c.pins[5].aspects[7].steps[1] =
             Step{.opcode = kSetLevel, .fade = 1, .p1 = 3, .p2 = 20, .p3 = 9, .p4 = 2};
         c.pins[5].aspects[7].steps[8] =
             Step{.opcode = kWait, .fade = 1, .p1 = 4, .p2 = 5, .p3 = 25, .p4 = 0};
       },
       LayoutOption::kTwelveAspects, kLayoutTwelveAspects, 3, "7", "9",
       [](const DeviceConfiguration& c, const AspectView& view) {
         EXPECT_EQ(c.pins[5].aspects[7].steps[1],
                   (Step{.opcode = kSetLevel, .fade = 1, .p1 = 3, .p2 = 20}));
         EXPECT_EQ(c.pins[5].aspects[7].steps[8], (Step{.opcode = kWait, .p3 = 25}));
         EXPECT_EQ(view.rows[8].time_text, "00:00.50");
         EXPECT_EQ(view.rows[1].menu_index, MenuIndexOf("Set Level"));
         EXPECT_EQ(view.rows[1].params[1].text, "20");
       }},
      {"an opcode without descriptor shows \"-\" and loses its parameters",
       [](DeviceConfiguration& c) {
         c.pins[5].aspects[7].steps[0] = Step{.opcode = kUndefined, .fade = 1, .p2 = 7};
       },
       LayoutOption::kTwelveAspects, kLayoutTwelveAspects, 3, "7", "9",
       [](const DeviceConfiguration& c, const AspectView& view) {
         EXPECT_EQ(view.rows[0].menu_index, 0);
         EXPECT_EQ(c.pins[5].aspects[7].steps[0], (Step{.opcode = kUndefined}));
         for (const StepParamView& param : view.rows[0].params) EXPECT_FALSE(param.used);
       }},
      {"a broken referral names no device and cannot be named",
       [](DeviceConfiguration& c) {
         c.pins[4].device_pointer = -1;
         c.pins[5].device_pointer = -1;
         c.pins[5].device_name = "stale";
       },
       LayoutOption::kTwelveAspects, kLayoutTwelveAspects, 3, "7", "9",
       [](const DeviceConfiguration& c, const AspectView& view) {
         EXPECT_EQ(view.device.pin_text, "5");
         EXPECT_EQ(view.device.name.text, "<Referral is no Device !>");
         EXPECT_FALSE(view.device.name.editable);
         EXPECT_EQ(c.pins[5].device_name, "") << "a member keeps no name of its own";
       }},
      {"a head shows and edits its own name",
       [](DeviceConfiguration& c) {
         c.pins[5].device_name = "Signal";
         c.pins[6].device_pointer = -1;
       },
       LayoutOption::kTwelveAspects, kLayoutTwelveAspects, 3, "7", "9",
       [](const DeviceConfiguration&, const AspectView& view) {
         EXPECT_EQ(view.device.pin_text, "6");
         EXPECT_EQ(view.device.name.text, "Signal");
         EXPECT_TRUE(view.device.name.editable);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DeviceConfiguration config = TwelveAspectPin();
    c.setup(config);
    const AspectView view = ShowAspectView(config);
    EXPECT_EQ(view.option, c.option);
    EXPECT_EQ(config.pins[5].aspect_layout, c.layout);
    EXPECT_EQ(view.shape.step_rows, c.step_rows);
    EXPECT_EQ(view.aspect_text, c.aspect);
    EXPECT_EQ(view.initial_aspect_text, c.initial);
    c.check(config, view);
  }
}

// The pin, aspect and initial-aspect fields: typed numbers clamp to the layout's bounds, an
// up/down steps within them, and the text shown afterwards is what was stored.
TEST(AspectViewTest, PinAspectAndInitialFieldsClampToTheLayout) {
  using Entry = std::function<std::string(DeviceConfiguration&)>;
  const struct {
    const char* what;
    std::uint8_t layout;
    Entry entry;
    const char* shown;
    int pin, aspect, initial;  // the model afterwards: current pin and aspect, stored initial
  } cases[] = {
      {"pin typed, numbered from 1", kLayoutFourAspects,
       [](DeviceConfiguration& c) { return SelectPin(c, "12"); }, "12", 11, 2, 0},
      {"pin 0 is below the numbering", kLayoutFourAspects,
       [](DeviceConfiguration& c) { return SelectPin(c, "0"); }, "1", 0, 2, 0},
      {"pin 40 is the last", kLayoutFourAspects,
       [](DeviceConfiguration& c) { return SelectPin(c, "40"); }, "32", 31, 2, 0},
      {"pin text", kLayoutFourAspects, [](DeviceConfiguration& c) { return SelectPin(c, "x"); },
       "1", 0, 2, 0},
      {"pin up", kLayoutFourAspects, [](DeviceConfiguration& c) { return StepPin(c, 1); }, "5", 4,
       2, 0},
      {"aspect 9 of four", kLayoutFourAspects,
       [](DeviceConfiguration& c) { return SelectAspect(c, "9"); }, "3", 3, 3, 0},
      {"aspect 9 of twelve", kLayoutTwelveAspects,
       [](DeviceConfiguration& c) { return SelectAspect(c, "9"); }, "9", 3, 9, 0},
      {"aspect -2", kLayoutTwelveAspects,
       [](DeviceConfiguration& c) { return SelectAspect(c, "-2"); }, "0", 3, 0, 0},
      {"aspect up at the last of four", kLayoutFourAspects,
       [](DeviceConfiguration& c) {
         c.current_aspect = 3;
         return StepAspect(c, 1);
       },
       "3", 3, 3, 0},
      {"initial -1 is none", kLayoutFourAspects,
       [](DeviceConfiguration& c) { return EnterInitialAspect(c, "-1"); }, "-1", 3, 2, 0},
      {"initial -7", kLayoutFourAspects,
       [](DeviceConfiguration& c) { return EnterInitialAspect(c, "-7"); }, "-1", 3, 2, 0},
      {"initial 11 of four", kLayoutFourAspects,
       [](DeviceConfiguration& c) { return EnterInitialAspect(c, "11"); }, "3", 3, 2, 4},
      {"initial 11 of twelve", kLayoutTwelveAspects,
       [](DeviceConfiguration& c) { return EnterInitialAspect(c, "11"); }, "11", 3, 2, 12},
      {"initial up from none", kLayoutFourAspects,
       [](DeviceConfiguration& c) { return StepInitialAspect(c, 1); }, "0", 3, 2, 1},
      {"initial held beyond the layout steps down from the last", kLayoutFourAspects,
       [](DeviceConfiguration& c) {
         c.pins[3].initial_aspect = 12;
         return StepInitialAspect(c, -1);
       },
       "2", 3, 2, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DeviceConfiguration config;
    config.current_pin = 3;
    config.current_aspect = 2;
    config.pins[3].aspect_layout = c.layout;
    EXPECT_EQ(c.entry(config), c.shown);
    EXPECT_EQ(config.current_pin, c.pin);
    EXPECT_EQ(config.current_aspect, c.aspect);
    EXPECT_EQ(config.pins[3].initial_aspect, c.initial);
  }
}

// A row edit changes the step, normalises it and says how the row and the headings show it.
TEST(AspectViewTest, RowEditsNormaliseTheStepAndGiveTheHeadings) {
  using Edit = std::function<StepRowView(DeviceConfiguration&)>;
  const Step set_level{.opcode = kSetLevel, .fade = 1, .p1 = 2, .p2 = 20};
  const struct {
    const char* what;
    Step start;
    Edit edit;
    Step stored;
    std::array<const char*, 4> headings;
    std::array<const char*, 4> texts;
    const char* fade_heading;
    const char* time;
  } cases[] = {
      {"Wait over Set Level zeroes p1 and p2",
       set_level,
       [](DeviceConfiguration& c) { return ChooseInstruction(c, 4, MenuIndexOf("Wait")); },
       Step{.opcode = kWait},
       {"", "", "Time", "Base"},
       {"0", "0", "0", "0"},
       "",
       "00:00.00"},
      {"Set Level p2 typed 40 is 31",
       set_level,
       [](DeviceConfiguration& c) { return CommitStepField(c, 4, StepParam::kP2, "40"); },
       Step{.opcode = kSetLevel, .fade = 1, .p1 = 2, .p2 = 31},
       {"P.O.", "Level", "", ""},
       {"2", "31", "0", "0"},
       "Fade",
       "00:00.00"},
      {"P.O. -2 on pin 5 is held as 30",
       set_level,
       [](DeviceConfiguration& c) { return CommitStepField(c, 4, StepParam::kP1, "-2"); },
       Step{.opcode = kSetLevel, .fade = 1, .p1 = 30, .p2 = 20},
       {"P.O.", "Level", "", ""},
       {"-2", "20", "0", "0"},
       "Fade",
       "00:00.00"},
      {"fade off",
       set_level,
       [](DeviceConfiguration& c) { return SetFade(c, 4, false); },
       Step{.opcode = kSetLevel, .p1 = 2, .p2 = 20},
       {"P.O.", "Level", "", ""},
       {"2", "20", "0", "0"},
       "Fade",
       "00:00.00"},
      {"fade on a Wait stays off",
       Step{.opcode = kWait, .p3 = 1, .p4 = 1},
       [](DeviceConfiguration& c) { return SetFade(c, 4, true); },
       Step{.opcode = kWait, .p3 = 1, .p4 = 1},
       {"", "", "Time", "Base"},
       {"0", "0", "1", "1"},
       "",
       "00:00.16"},
      {"Wait time 63 base 3",
       Step{.opcode = kWait, .p3 = 63},
       [](DeviceConfiguration& c) { return CommitStepField(c, 4, StepParam::kP4, "7"); },
       Step{.opcode = kWait, .p3 = 63, .p4 = 3},
       {"", "", "Time", "Base"},
       {"0", "0", "63", "3"},
       "",
       "10:45.12"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    DeviceConfiguration config;
    config.current_pin = 5;
    config.current_aspect = 1;
    config.pins[5].aspect_layout = kLayoutFourAspects;
    config.pins[5].aspects[1].steps[4] = c.start;
    const StepRowView row = c.edit(config);
    EXPECT_EQ(config.pins[5].aspects[1].steps[4], c.stored);
    for (int i = 0; i < kStepParamCount; ++i) {
      EXPECT_EQ(row.params[i].label, c.headings[i]) << i;
      EXPECT_EQ(row.params[i].text, c.texts[i]) << i;
      EXPECT_EQ(row.params[i].used, *c.headings[i] != '\0') << i;
    }
    EXPECT_EQ(row.fade_heading, c.fade_heading);
    EXPECT_EQ(row.time_text, c.time);
  }
}

}  // namespace
}  // namespace tarn
