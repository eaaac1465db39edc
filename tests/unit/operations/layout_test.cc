// The whole layout on a simulated bus: the scan, Back Up All, Check All and Restore.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>

#include "files/data_file.h"
#include "operations/flows.h"
#include "operations/layout_folder.h"
#include "operations/layout_view.h"
#include "support/simulated_line.h"
#include "unit/files/temporary_folder.h"
#include "unit/operations/device_ready_configuration.h"

namespace tarn {
namespace {

using sim::Fault;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::SimulatedBusLine;

// Puts `config` into the Tarn at `address` as a user would: "Write All" over the bus.
void Load(SimulatedBusLine& line, const LayoutAddress& address, DeviceConfiguration config) {
  const KeepLinkSettings keep(line.link);
  AddressLink(line.link, address);
  Workspace workspace;
  workspace.config = std::move(config);
  SilentProgress progress;
  Session session(line.link, line.clock, line.prompter, progress, workspace);
  ASSERT_TRUE(Flows(session).WriteAll()) << LayoutAddressText(address);
}

DeviceConfiguration Named(const std::string& id) {
  DeviceConfiguration config = testing::DeviceReadyConfiguration();
  config.general_settings.id_string = id;
  return config;
}

struct ScanCase {
  const char* name;
  bool tunnelled;
  bool extended;  // scan the extended addresses of module 2
  // Tarn address -> the fault it answers with (kAlways), or none.
  std::vector<std::pair<LayoutAddress, std::optional<Fault>>> tarns;
  std::map<LayoutAddress, ScanOutcome> expected;  // every other address is silent
};

TEST(LayoutScanTest, FindsEveryTarnAndReportsBadAnswersWithoutAMessageEach) {
  const std::vector<std::pair<LayoutAddress, std::optional<Fault>>> bus = {
      {{0, {}}, {}},
      {{7, {}}, {}},
      {{15, {}}, {}},
      {{3, {}}, Fault::kNoReply},
      {{5, {}}, Fault::kBadChecksum},
      {{9, {}}, Fault::kForeignAddress},
      {{11, {}}, Fault::kWrongEcho},
  };
  const ScanCase cases[] = {
      {"direct",
       false,
       false,
       bus,
       {{{0, {}}, ScanOutcome::kFound},
        {{7, {}}, ScanOutcome::kFound},
        {{15, {}}, ScanOutcome::kFound},
        {{5, {}}, ScanOutcome::kGarbled},
        {{9, {}}, ScanOutcome::kWrongAddress},
        {{11, {}}, ScanOutcome::kGarbled}}},
      // The unit drops a reply that does not add up, and hands out another module's only to a
      // poll that asks for it: both look silent through it.
      {"tunnelled",
       true,
       false,
       bus,
       {{{0, {}}, ScanOutcome::kFound},
        {{7, {}}, ScanOutcome::kFound},
        {{15, {}}, ScanOutcome::kFound},
        {{11, {}}, ScanOutcome::kGarbled}}},
      {"extended addresses of module 2",
       false,
       true,
       {{{2, 0}, {}}, {{2, 40}, {}}, {{2, 95}, {}}, {{3, 41}, {}}, {{2, 50}, Fault::kNoReply}},
       {{{2, 0}, ScanOutcome::kFound},
        {{2, 40}, ScanOutcome::kFound},
        {{2, 95}, ScanOutcome::kFound}}},
  };
  for (const ScanCase& c : cases) {
    SimulatedBusLine line(c.tunnelled);
    for (const auto& [address, fault] : c.tarns) {
      sim::SimulatedTarn& tarn = line.bus.Add(
          static_cast<std::uint8_t>(address.module_address),
          address.extended_address ? std::optional<std::uint8_t>(*address.extended_address)
                                   : std::nullopt);
      tarn.memory().registers[sim::kIdStringRegister] = {
          'T', static_cast<std::uint8_t>('a' + address.module_address)};
      if (fault) tarn.InjectFault(*fault, sim::kAlways);
    }
    // The user's settings, which the scan must leave as they are.
    line.link.TakeOverModuleAddress(2);
    line.link.SetExtendedAddressing(c.extended);
    line.link.TakeOverExtendedAddress(7);
    line.prompter.messages.clear();
    const double start = line.clock.Now();
    SilentProgress progress;
    std::vector<LayoutAddress> heard;
    const ScanResult result =
        ScanBus(line.link, line.prompter, progress, EffectiveScanWait(line.link, 0),
                [&heard](const ScanEntry& entry) { heard.push_back(entry.address); });

    ASSERT_TRUE(result.completed) << c.name;
    EXPECT_EQ(result.entries.size(), c.extended ? 96u : 16u) << c.name;
    EXPECT_EQ(heard.size(), result.entries.size()) << c.name;
    for (const ScanEntry& entry : result.entries) {
      const auto expected = c.expected.find(entry.address);
      const ScanOutcome outcome =
          expected == c.expected.end() ? ScanOutcome::kSilent : expected->second;
      EXPECT_EQ(entry.outcome, outcome)
          << c.name << ", " << LayoutAddressText(entry.address) << ": " << entry.detail;
      if (entry.outcome == ScanOutcome::kFound) {
        EXPECT_EQ(entry.firmware, "3.1.0.10");
        EXPECT_EQ(entry.id_string, std::string("T") + char('a' + entry.address.module_address));
      }
    }
    if (!c.tunnelled && !c.extended) {
      const auto wrong =
          std::ranges::find(result.entries, LayoutAddress{9, {}}, &ScanEntry::address);
      EXPECT_EQ(wrong->detail, "answered as module 10");
      EXPECT_EQ(result.BadAnswers().size(), 3u);
    }
    EXPECT_TRUE(line.prompter.messages.empty()) << c.name << ": " << line.prompter.Texts().front();
    EXPECT_EQ(line.link.module_address(), 2) << c.name;
    EXPECT_EQ(line.link.extended_addressing(), c.extended) << c.name;
    EXPECT_EQ(line.link.extended_address(), 7) << c.name;
    EXPECT_TRUE(line.link.bidirectional()) << c.name << ": a silent address switched it off";
    EXPECT_EQ(line.link.reply_time_limit(), kReplyTimeLimitSeconds) << c.name;
    // Far below the ordinary 2 s a silent address would cost.
    const double per_address =
        (line.clock.Now() - start) / static_cast<double>(result.entries.size());
    EXPECT_LT(per_address, c.tunnelled ? 0.45 : 0.2) << c.name;
  }
}

TEST(LayoutScanTest, TheWaitFitsATarnsAnswerAndTheUserMayOnlyLengthenIt) {
  // 19200 baud: 36 bytes of 11 bits, two 16 ms adapter holds, doubled, and 40 ms.
  EXPECT_DOUBLE_EQ(ScanWaitSeconds(1, false), 0.15);
  EXPECT_GT(ScanWaitSeconds(0, false), ScanWaitSeconds(1, false));
  EXPECT_GT(ScanWaitSeconds(1, true), 2 * ScanWaitSeconds(1, false));
  SimulatedBusLine line;
  EXPECT_DOUBLE_EQ(EffectiveScanWait(line.link, 0), 0.15);
  EXPECT_DOUBLE_EQ(EffectiveScanWait(line.link, 0.05), 0.15);
  EXPECT_DOUBLE_EQ(EffectiveScanWait(line.link, 0.5), 0.5);
  EXPECT_DOUBLE_EQ(EffectiveScanWait(line.link, 9), kReplyTimeLimitSeconds);

  // A Tarn that answers within the wait is found; one slower than it is not taken for one.
  line.bus.Add(4).set_late_reply_delay(0.1);
  line.bus.tarns().back()->InjectFault(Fault::kLateReply, sim::kAlways);
  SilentProgress progress;
  EXPECT_EQ(ScanBus(line.link, line.prompter, progress, 0.15).Found().size(), 1u);
  line.bus.tarns().back()->set_late_reply_delay(0.3);
  EXPECT_TRUE(ScanBus(line.link, line.prompter, progress, 0.15).Found().empty());
  EXPECT_EQ(ScanBus(line.link, line.prompter, progress, 0.5).Found().size(), 1u);
}

TEST(LayoutScanTest, AStopEndsTheScanAndSaysSoOnce) {
  SimulatedBusLine line;
  line.bus.Add(12);
  int asked = 0;
  line.link.SetStopCheck([&asked] { return ++asked > 10; });
  SilentProgress progress;
  const ScanResult result = ScanBus(line.link, line.prompter, progress, 0.15);
  EXPECT_FALSE(result.completed);
  EXPECT_LT(result.entries.size(), 16u);
  EXPECT_EQ(line.prompter.Texts(), std::vector<std::string>{std::string(kStoppedByUser)});
}

TEST(LayoutViewTest, RowsAreNumberedAsTheLinkBarAndARowMadeCurrentGoesThroughItsFields) {
  LayoutTarn tarn;
  tarn.address = {3, 12};
  tarn.state = LayoutState::kNotAnswering;
  tarn.firmware = "3.1.0.10";
  const struct {
    LayoutAddress address;
    int base;
    const char* module;
    const char* extended;
  } cases[] = {{{3, 12}, 1, "4", "13"}, {{3, 12}, 0, "3", "12"}, {{15, {}}, 1, "16", "-"}};
  for (const auto& c : cases) {
    tarn.address = c.address;
    const LayoutRowTexts row = LayoutRow(tarn, c.base);
    EXPECT_EQ(row.module_address, c.module);
    EXPECT_EQ(row.extended_address, c.extended);
    EXPECT_EQ(row.state, "not answering");

    SimulatedBusLine line;
    DeviceConfiguration config;
    config.numbering_base = static_cast<std::uint8_t>(c.base);
    line.link.SetExtendedAddressing(!c.address.extended_address);
    const MadeCurrent made = MakeLayoutTarnCurrent(c.address, config, line.link);
    EXPECT_TRUE(made.changed);
    EXPECT_EQ(line.link.module_address(), c.address.module_address);
    EXPECT_EQ(line.link.extended_addressing(), c.address.extended_address.has_value());
    if (c.address.extended_address) {
      EXPECT_EQ(line.link.extended_address(), *c.address.extended_address);
    }
    EXPECT_FALSE(MakeLayoutTarnCurrent(c.address, config, line.link).changed);
  }
}

class LayoutFolderRunTest : public testing::TemporaryFolderTest {
 protected:
  LayoutFolderRunTest() {
    for (const int module : {1, 6, 14}) bus_line.bus.Add(static_cast<std::uint8_t>(module));
    Load(bus_line, {1, {}}, Named("Nord Yard 7"));
    Load(bus_line, {6, {}}, Named("Depot"));
    Load(bus_line, {14, {}}, Named("Depot"));
    bus_line.prompter.messages.clear();
  }

  sim::SimulatedTarn& TarnAt(int module) {
    return *bus_line.bus.Find(static_cast<std::uint8_t>(module));
  }
  std::string FileAt(const std::string& name) { return testing::FileText(folder_ / name); }

  SimulatedBusLine bus_line;
  SilentProgress progress;
  std::chrono::system_clock::time_point now{std::chrono::seconds(1'796'792'574)};
  LayoutLine line{bus_line.link,         bus_line.clock, bus_line.prompter, progress, 0,
                  [this] { return now; }};
};

std::vector<std::string> StatesOf(const LayoutRunResult& result) {
  std::vector<std::string> states;
  for (const LayoutTarn& tarn : result.tarns) {
    states.push_back(std::to_string(tarn.address.module_address) + " " +
                     std::string(LayoutStateText(tarn.state)));
  }
  return states;
}

TEST_F(LayoutFolderRunTest, BackUpCheckAndRestoreRoundTrip) {
  // Back Up All: one file per Tarn, named by address and ID string, and the index.
  LayoutRunResult backup = BackUpAll(line, folder_);
  ASSERT_TRUE(backup.all_good) << bus_line.prompter.Texts().size();
  EXPECT_THAT(StatesOf(backup), ElementsAre("1 backed up", "6 backed up", "14 backed up"));
  EXPECT_THAT(FileAt("tarn-01-Nord Yard 7.dat"), HasSubstr("\"ID$\",\"Nord Yard 7\""));
  EXPECT_THAT(FileAt("tarn-06-Depot.dat"), HasSubstr("\"ID$\",\"Depot\""));
  EXPECT_THAT(FileAt("tarn-14-Depot.dat"), HasSubstr("\"ID$\",\"Depot\""));
  std::optional<LayoutIndex> index = LoadLayoutIndex(folder_, true, bus_line.prompter);
  ASSERT_TRUE(index);
  ASSERT_EQ(index->entries.size(), 3u);
  EXPECT_EQ(index->entries[1], (LayoutEntry{{6, {}},
                                            19200,
                                            false,
                                            "3.1.0.10",
                                            "Depot",
                                            "2026-12-09T05:02:54Z",
                                            "tarn-06-Depot.dat"}));

  // Check All: every Tarn matches.
  LayoutRunResult check = CheckAll(line, folder_);
  EXPECT_TRUE(check.all_good);
  EXPECT_THAT(StatesOf(check), ElementsAre("1 matches", "6 matches", "14 matches"));

  // One Tarn changed, one gone quiet, one new on the bus.
  TarnAt(6).memory().registers[sim::kDccAddressRegister] = {45, 0};
  TarnAt(14).InjectFault(Fault::kNoReply, sim::kAlways);
  bus_line.bus.Add(9);
  Load(bus_line, {9, {}}, Named("Sud"));
  check = CheckAll(line, folder_);
  EXPECT_FALSE(check.all_good);
  EXPECT_THAT(StatesOf(check), ElementsAre("1 matches", "6 differs", "9 new", "14 not answering"));
  EXPECT_THAT(check.tarns[1].differences, ElementsAre(HasSubstr("DCC address")));
  EXPECT_EQ(LayoutTarnLine(check.tarns[1]),
            "module 6 \"Depot\": differs, 1 difference [tarn-06-Depot.dat]");

  // Restore of the Tarn just read: only what differs goes.
  const int replies_before = TarnAt(6).replies_asked();
  const LayoutTarn restored = Restore(line, folder_, {6, {}}, check.tarns[1].tarn_read);
  EXPECT_EQ(restored.state, LayoutState::kRestored) << restored.detail;
  EXPECT_LT(TarnAt(6).replies_asked() - replies_before, 5);
  // Restore without a read: all of it.
  TarnAt(1).memory().EraseToFactory();
  EXPECT_EQ(Restore(line, folder_, {1, {}}, std::nullopt).state, LayoutState::kRestored);
  TarnAt(14).ClearFaults();
  bus_line.bus.tarns().back()->InjectFault(Fault::kNoReply, sim::kAlways);  // the new one goes
  check = CheckAll(line, folder_);
  EXPECT_TRUE(check.all_good) << LayoutTarnLine(check.tarns[0]);
  // Not in the index: nothing to restore.
  EXPECT_EQ(Restore(line, folder_, {9, {}}, std::nullopt).state, LayoutState::kFailed);
  EXPECT_THAT(bus_line.prompter.messages.back().text, HasSubstr("has no Tarn at module 9"));
}

TEST_F(LayoutFolderRunTest, ATarnThatFailsMidBackupKeepsItsEarlierFile) {
  ASSERT_TRUE(BackUpAll(line, folder_).all_good);
  const std::string earlier = FileAt("tarn-06-Depot.dat");
  const std::string earlier_index = FileAt(std::string(kLayoutIndexName));

  // The second backup: module 6 changed, and then stops answering half way through its read.
  TarnAt(6).memory().registers[sim::kDccAddressRegister] = {45, 0};
  TarnAt(6).InjectFaultAtReply(Fault::kNoReply, 2 + 300, sim::kAlways);
  now += std::chrono::hours(1);
  const LayoutRunResult backup = BackUpAll(line, folder_);
  EXPECT_FALSE(backup.all_good);
  EXPECT_TRUE(backup.completed);
  EXPECT_THAT(StatesOf(backup), ElementsAre("1 backed up", "6 failed", "14 backed up"));
  EXPECT_THAT(backup.tarns[1].detail, HasSubstr("its earlier backup is kept"));
  EXPECT_EQ(FileAt("tarn-06-Depot.dat"), earlier);
  const std::optional<LayoutIndex> index = LoadLayoutIndex(folder_, true, bus_line.prompter);
  ASSERT_TRUE(index);
  EXPECT_EQ(index->Find({6, {}})->read_at, "2026-12-09T05:02:54Z");
  EXPECT_EQ(index->Find({1, {}})->read_at, "2026-12-09T06:02:54Z");
  EXPECT_NE(FileAt(std::string(kLayoutIndexName)), earlier_index);
  // No message box for the Tarn that failed: the row says it.
  EXPECT_TRUE(bus_line.prompter.messages.empty()) << bus_line.prompter.Texts().front();
}

TEST_F(LayoutFolderRunTest, ABrokenIndexStopsEveryRunAndTouchesNothing) {
  ASSERT_TRUE(BackUpAll(line, folder_).all_good);
  std::string index_text = FileAt(std::string(kLayoutIndexName));
  index_text.resize(index_text.size() / 2);
  std::ofstream(folder_ / kLayoutIndexName, std::ios::trunc | std::ios::binary) << index_text;
  const std::string file = FileAt("tarn-01-Nord Yard 7.dat");
  TarnAt(1).memory().registers[sim::kDccAddressRegister] = {45, 0};
  const int replies = bus_line.bus.replies_asked();

  EXPECT_FALSE(BackUpAll(line, folder_).completed);
  EXPECT_FALSE(CheckAll(line, folder_).completed);
  EXPECT_EQ(Restore(line, folder_, {1, {}}, std::nullopt).state, LayoutState::kFailed);
  EXPECT_EQ(bus_line.bus.replies_asked(), replies) << "the bus was not asked";
  EXPECT_EQ(FileAt("tarn-01-Nord Yard 7.dat"), file);
  EXPECT_EQ(FileAt(std::string(kLayoutIndexName)), index_text);
  ASSERT_EQ(bus_line.prompter.messages.size(), 3u);
  EXPECT_THAT(bus_line.prompter.messages[0].text, HasSubstr("layout.json cannot be used: line "));
}

}  // namespace
}  // namespace tarn
