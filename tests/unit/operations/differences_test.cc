// Differences between two configurations, group by group, and the lines a person reads.

#include "operations/differences.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace tarn {
namespace {

using ::testing::ElementsAreArray;

// Pin 3 (shown 4) runs a four-aspect program whose aspect 2 step 1 sets a level; pin 7 (shown
// 8) is a servo.
Workspace TarnWorkspace() {
  Workspace workspace;
  PinRecord& signal = workspace.config.pins[3];
  signal.aspect_layout = 3;
  signal.aspects[2].steps[1] = {38, 1, 31, 20, 0, 0};  // "Set Level", fade, P.O. -1, Level 20
  PinRecord& servo = workspace.config.pins[7];
  servo.pin_config = {1, 64, 0x0A, 64, 4, 5, 6, 7, 80, 9, 50, 11, 0};
  return workspace;
}

struct Case {
  const char* name;
  std::function<void(Workspace&)> edit;
  std::vector<std::string> lines;
  std::function<void(ChangedGroups&)> changed;  // what the edit must mark
  bool as_files = false;                        // no enable map, pins from 0
};

TEST(DifferencesTest, OneLinePerChangeInWriteOrderWithTheGroupsToWrite) {
  const Case cases[] = {
      {"step parameter",
       [](Workspace& w) { w.config.pins[3].aspects[2].steps[1].p2 = 25; },
       {"Pin 4 aspect 2 step 1: Set Level, Level 20 -> 25"},
       [](ChangedGroups& c) { c.pins[3].aspects[2] = true; }},
      {"another instruction",
       [](Workspace& w) { w.config.pins[3].aspects[2].steps[1] = {102, 0, 0, 0, 5, 1}; },
       {"Pin 4 aspect 2 step 1: Set Level (fade, P.O. -1, Level 20) -> Wait (Time 5, Base 1)"},
       [](ChangedGroups& c) { c.pins[3].aspects[2] = true; }},
      {"pin mode",
       [](Workspace& w) { w.config.pins[5].pin_config = {2, 0, 0, 0, 0, 31}; },
       {"Pin 6 configuration: not configured -> PWM"},
       [](ChangedGroups& c) { c.pins[5].configuration = true; }},
      {"servo fields by their names",
       [](Workspace& w) {
         w.config.pins[7].pin_config[2] = 0x1B;  // range L, Auto Suspend
         w.config.pins[7].pin_config[3] = 69;
         w.config.pins[7].pin_config[12] = 1;  // travels with no mode
       },
       {"Pin 8 Range: M -> L", "Pin 8 Auto Suspend: off -> on", "Pin 8 Midpoint: 0 -> 5"},
       [](ChangedGroups& c) { c.pins[7].configuration = true; }},
      {"layout, initial aspect and addresses",
       [](Workspace& w) {
         w.config.pins[3].aspect_layout = 2;
         w.config.pins[3].initial_aspect = 3;
         w.config.pins[3].device_pointer = -3;
       },
       {"Pin 4 aspect layout: 4 -> 12", "Pin 4 initial aspect: -1 -> 2",
        "Pin 4 device head: 4 -> 1"},
       [](ChangedGroups& c) {
         c.pins[3].layout = c.pins[3].initial_aspect = c.pins[3].address_configuration = true;
         c.pins[3].aspects.fill(true);  // the Tarn's steps no longer fit the new layout
       }},
      {"enable map",
       [](Workspace& w) { w.enable_map.off[2] = false; },
       {"Initial enable Event-Off Input 2: enabled -> disabled"},
       [](ChangedGroups& c) { c.enable_map = true; }},
      {"descriptions only",
       [](Workspace& w) {
         w.config.pins[3].description = "Home\r\nsignal";
         w.config.pins[3].aspects[2].description = "Clear";
       },
       {"Pin 4 description: \"\" -> \"Home\\x0D\\x0Asignal\"",
        "Pin 4 aspect 2 description: \"\" -> \"Clear\""},
       [](ChangedGroups& c) { c.descriptions = true; }},
      {"general settings in write order, module address last",
       [](Workspace& w) {
         GeneralSettings& g = w.config.general_settings;
         g.module_extended_address = 4;
         g.serial_port_enable = true;
         g.sink_driver[1] = true;
         g.green_led_mask = 1;
         g.dcc_address = 300;
         g.id_string = "Yard";
       },
       {"ID string: \"\" -> \"Yard\"", "DCC address: 1 -> 300",
        "Green LED Basic DCC Packet: off -> on", "Green LED Idle Flash: on -> off",
        "Hardware configuration pins 9..16 Sink: off -> on", "Serial port Enable: off -> on",
        "Module extended address: 1 -> 5"},
       [](ChangedGroups& c) {
         c.id_string = c.dcc = c.led = c.hardware_configuration = c.serial_port = true;
         c.module_address_settings = true;
       }},
      {"events after every pin",
       [](Workspace& w) {
         w.config.event_actions[0].on[1] = kNoEventAction;
         w.config.pins[31].initial_aspect = 1;
       },
       {"Pin 32 initial aspect: -1 -> 0", "Pin 1 Event-On Input 1: 1 -> -1"},
       [](ChangedGroups& c) { c.pins[31].initial_aspect = c.pins[0].events = true; }},
      {"nothing a Tarn or a file keeps",
       [](Workspace& w) {
         w.config.pins[7].pin_config[2] |= 0x40;  // Servo Initialised, the Tarn's own report
         w.config.pins[3].aspects[5].steps[0].opcode = 38;  // beyond the four aspects
         w.config.pins[3].live_value = 9;
         w.config.current_pin = 3;
         w.config.numbering_base = 0;
       },
       {},
       [](ChangedGroups&) {}},
      {"files: pins from 0, no enable map",
       [](Workspace& w) {
         w.config.pins[3].aspects[2].steps[1].p2 = 25;
         w.enable_map.on[0] = false;
       },
       {"Pin 3 aspect 2 step 1: Set Level, Level 20 -> 25"},
       [](ChangedGroups& c) { c.pins[3].aspects[2] = true; },
       true},
  };
  for (const Case& c : cases) {
    const Workspace tarn = TarnWorkspace();
    Workspace edited = tarn;
    c.edit(edited);
    const ConfigurationDifferences differences =
        c.as_files ? CompareConfigurations(tarn.config, edited.config, 0)
                   : CompareWorkspaces(tarn, edited);
    std::vector<std::string> lines;
    bool any_to_write = false;
    for (const Difference& d : differences.list) {
      lines.push_back(d.text);
      any_to_write |= IsKeptByTarn(d.group);
    }
    EXPECT_THAT(lines, ElementsAreArray(c.lines)) << c.name;
    ChangedGroups expected;
    c.changed(expected);
    EXPECT_EQ(differences.changed, expected) << c.name;
    EXPECT_EQ(differences.changed.AnyToWrite(), any_to_write) << c.name;
    EXPECT_TRUE(CompareWorkspaces(edited, edited).empty()) << c.name;
  }
}

TEST(DifferencesTest, ADifferenceNamesItsPinAspectAndStep) {
  Workspace edited = TarnWorkspace();
  edited.config.pins[3].aspects[2].steps[1].p2 = 25;
  edited.config.pins[3].aspects[2].description = "Clear";
  const auto list = CompareWorkspaces(TarnWorkspace(), edited).list;
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].group, DifferenceGroup::kPinAspect);
  EXPECT_EQ(std::tie(list[0].pin, list[0].aspect, list[0].step), std::make_tuple(3, 2, 1));
  EXPECT_EQ(list[1].group, DifferenceGroup::kDescription);
  EXPECT_EQ(std::tie(list[1].pin, list[1].aspect, list[1].step), std::make_tuple(3, 2, -1));
}

}  // namespace
}  // namespace tarn
