#include "model/instruction_set.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {
namespace {

using ::testing::ElementsAre;

std::vector<int> MenuOpcodesOfGroup(int group) {
  std::vector<int> opcodes;
  for (const InstructionMenuEntry& entry : InstructionMenu()) {
    if (InstructionOf(entry.opcode).menu_group == group) opcodes.push_back(entry.opcode);
  }
  return opcodes;
}

TEST(InstructionMenuTest, StartsWithOutputInstructionsInOpcodeOrder) {
  const auto menu = InstructionMenu();
  ASSERT_GE(menu.size(), 7u);
  std::vector<std::string> first;
  for (std::size_t i = 0; i < 7; ++i) first.emplace_back(menu[i].name);
  EXPECT_THAT(first, ElementsAre("-", "Blink alt", "Off", "On", "Invert", "Random", "Multibit 2"));
}

TEST(InstructionMenuTest, GroupsFollowEachOtherWithOpcodesAscending) {
  const auto menu = InstructionMenu();
  std::set<int> seen;
  for (std::size_t i = 0; i < menu.size(); ++i) {
    EXPECT_EQ(menu[i].name, InstructionOf(menu[i].opcode).name);
    EXPECT_TRUE(seen.insert(menu[i].opcode).second) << "listed twice: " << int{menu[i].opcode};
    if (i == 0) continue;
    const int group = InstructionOf(menu[i].opcode).menu_group;
    const int before = InstructionOf(menu[i - 1].opcode).menu_group;
    EXPECT_TRUE(group > before || (group == before && menu[i].opcode > menu[i - 1].opcode)) << i;
  }
  EXPECT_EQ(menu.size(), 57u);
  EXPECT_THAT(MenuOpcodesOfGroup(1), ElementsAre(38, 96, 97, 98, 99));
  EXPECT_THAT(MenuOpcodesOfGroup(2), ElementsAre(39, 100, 101, 127));
  EXPECT_THAT(MenuOpcodesOfGroup(4), ElementsAre(3, 7));
}

TEST(InstructionMenuTest, UnlistedOpcodeSelectsTheEmptyStep) {
  EXPECT_EQ(InstructionMenuIndex(6), 1);
  EXPECT_EQ(InstructionMenu()[InstructionMenuIndex(127)].name, "Suspend Servo");
  for (int opcode : {0, 2, 19, 64, 124, 128, 255}) EXPECT_EQ(InstructionMenuIndex(opcode), 0);
}

TEST(InstructionTableTest, UndefinedOpcodesAreEmpty) {
  for (int opcode : {2, 19, 31, 40, 63, 64, 95, 108, 111, 124, 126, 128, 200, 255, -1}) {
    const InstructionDescriptor d = InstructionOf(opcode);
    EXPECT_EQ(d.opcode, opcode);
    EXPECT_FALSE(d.defined()) << opcode;
    EXPECT_FALSE(d.fade_allowed) << opcode;
    EXPECT_THAT(d.uses, ElementsAre(false, false, false, false)) << opcode;
    EXPECT_EQ(d.help_tool, kHelpToolNone) << opcode;
  }
}

TEST(InstructionTableTest, OnlyWaitingInstructionsUseTimeAndBase) {
  for (int opcode = 0; opcode <= kMaxOpcode; ++opcode) {
    const InstructionDescriptor d = InstructionOf(opcode);
    if (!d.defined()) continue;
    const bool waiting = opcode >= kFirstWaitingOpcode;
    EXPECT_EQ(d.label(StepParam::kP3) == "Time", waiting) << opcode;
    EXPECT_EQ(d.uses_param(StepParam::kP4), waiting) << opcode;
    EXPECT_EQ(d.help_tool == kHelpToolTime, waiting) << opcode;
  }
}

// The details in which neighbouring rows differ, where a slip would pass every other test.
TEST(InstructionTableTest, RowsThatDifferInDetail) {
  struct Row {
    int opcode;
    std::string_view p1;
    std::string_view p2;
    int p2_min;
    int offset;
    int help;
  };
  for (const Row& row : {Row{6, "P.O.", "T(/60)", 0, 0, 0}, Row{12, "P.O.", "Patt.", 0, 0, 2},
                         Row{15, "P.O.", "Patt.", 0, 0, 5}, Row{16, "", "ETImap", 0, 0, 16},
                         Row{18, "MXpin", "T(/60)", 0, 0, 0}, Row{32, "P.O.", "Patt.", 0, 0, 6},
                         Row{37, "P.O.", "Patt.", 0, 0, 7}, Row{39, "P.O.", "Pos.", 0, -64, 0},
                         Row{42, "P.O.", "T(/60)", 0, 0, 0}, Row{47, "P.O.", "T(/60)", 0, 0, 0},
                         Row{98, "Accel", "Chance", 0, 0, 9}, Row{100, "", "Pos", 0, -64, 9},
                         Row{105, "P.O.", "Value", -64, 0, 9}, Row{123, "P.O.", "", 0, 0, 9}}) {
    const InstructionDescriptor d = InstructionOf(row.opcode);
    EXPECT_EQ(d.label(StepParam::kP1), row.p1) << row.opcode;
    EXPECT_EQ(d.label(StepParam::kP2), row.p2) << row.opcode;
    EXPECT_EQ(d.p2_min, row.p2_min) << row.opcode;
    EXPECT_EQ(d.display_offset, row.offset) << row.opcode;
    EXPECT_EQ(d.help_tool, row.help) << row.opcode;
  }
  EXPECT_EQ(InstructionOf(123).name, "SetAspect 11");
  EXPECT_EQ(InstructionOf(47).name, "Multiblink 7");
  EXPECT_EQ(InstructionOf(15).name, "Multibit 5");
}

struct NormaliseCase {
  std::string what;
  Step before;
  Step after;
};

class NormaliseStepTest : public ::testing::TestWithParam<NormaliseCase> {};

TEST_P(NormaliseStepTest, ClearsWhatTheInstructionDoesNotUse) {
  EXPECT_EQ(NormalisedStep(GetParam().before), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormaliseStepTest,
    ::testing::Values(
        NormaliseCase{"JumpBecameWait", {102, 0, 4, 5, 6, 2}, {102, 0, 0, 0, 6, 2}},
        NormaliseCase{"SetLevelKeepsFade", {38, 1, 30, 20, 7, 3}, {38, 1, 30, 20, 0, 0}},
        NormaliseCase{"JumpLosesFade", {1, 1, 1, 2, 3, 4}, {1, 0, 1, 2, 3, 0}},
        NormaliseCase{"UndefinedKeepsOpcode", {50, 1, 1, 2, 3, 4}, {50, 0, 0, 0, 0, 0}},
        NormaliseCase{"AboveTableKeepsOpcode", {200, 1, 1, 2, 3, 4}, {200, 0, 0, 0, 0, 0}},
        NormaliseCase{"SendSerialOneKeepsByte", {4, 1, 9, 200, 10, 1}, {4, 0, 0, 200, 0, 0}},
        NormaliseCase{"SendSerialTwoKeepsBoth", {5, 0, 9, 200, 10, 1}, {5, 0, 0, 200, 10, 0}},
        NormaliseCase{"MxPulseUsesThree", {18, 1, 3, 4, 5, 6}, {18, 0, 3, 4, 5, 0}},
        NormaliseCase{"SetServoWaitHasNoP1", {100, 1, 7, 64, 9, 1}, {100, 0, 0, 64, 9, 1}},
        NormaliseCase{"SetAspectHasNoP2", {115, 0, 7, 64, 9, 1}, {115, 0, 7, 0, 9, 1}}),
    [](const auto& test) { return test.param.what; });

}  // namespace
}  // namespace tarn
