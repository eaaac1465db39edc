// The port list following the system's catalogue: what the start-up probe left out, renumbering,
// and an open port that leaves the catalogue or fails with nothing sent.

#include "link/port_watch.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/recording_prompter.h"
#include "support/scripted_port.h"

namespace tarn {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Optional;
using ::testing::StartsWith;
using testing::FakeClock;
using testing::RecordingPrompter;
using testing::ScriptedPort;

class FakeCatalogue : public PortCatalogue {
 public:
  std::vector<ListedPort> ListPorts() override { return ports; }
  std::vector<ListedPort> ports;
};

class PortWatchTest : public ::testing::Test {
 protected:
  FakeClock clock_;
  ScriptedPort port_{clock_};
  RecordingPrompter prompter_;
  Link link_{port_, clock_, prompter_};
  FakeCatalogue catalogue_;
  PortWatch watch_{catalogue_, link_};
};

TEST_F(PortWatchTest, ThePortsThatCameAreOfferedAndThoseTheProbeLeftOutStayOut) {
  catalogue_.ports = {{1, "/dev/ttyS0"}, {2, "/dev/ttyUSB0"}};
  watch_.Offer({"2 /dev/ttyUSB0"});  // ttyS0 would not open
  EXPECT_EQ(watch_.Look(), std::nullopt) << "nothing changed";
  catalogue_.ports = {{1, "/dev/ttyACM0"}, {2, "/dev/ttyS0"}, {3, "/dev/ttyUSB0"}};
  EXPECT_THAT(watch_.Look(), Optional(ElementsAre("1 /dev/ttyACM0", "3 /dev/ttyUSB0")));
  catalogue_.ports = {{1, "/dev/ttyS0"}};
  EXPECT_THAT(watch_.Look(), Optional(IsEmpty()));
  // Pulled out and plugged in anew, a port is offered again.
  catalogue_.ports = {};
  EXPECT_EQ(watch_.Look(), std::nullopt);
  catalogue_.ports = {{1, "/dev/ttyS0"}};
  EXPECT_THAT(watch_.Look(), Optional(ElementsAre("1 /dev/ttyS0")));
}

TEST_F(PortWatchTest, AnOpenPortIsGoneWhenItLeavesTheCatalogueOrFails) {
  const struct {
    const char* name;
    const char* device;
    bool listed;        // in the catalogue while open
    bool leaves;        // and then no longer
    bool fails;         // the port reports a failure
    bool gone;
  } cases[] = {
      {"listed and staying", "/dev/ttyUSB0", true, false, false, false},
      {"listed, then pulled out", "/dev/ttyUSB0", true, true, false, true},
      {"a pseudo-terminal never listed", "/dev/pts/7", false, false, false, false},
      {"a pseudo-terminal that failed", "/dev/pts/7", false, false, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    prompter_.messages.clear();
    port_.failed = false;
    catalogue_.ports = c.listed ? std::vector<ListedPort>{{1, c.device}} : std::vector<ListedPort>{};
    watch_.Offer({});
    ASSERT_TRUE(link_.OpenPortByName(c.device));
    if (c.leaves) catalogue_.ports.clear();
    port_.failed = c.fails;
    watch_.Look();
    EXPECT_EQ(link_.port_open(), !c.gone);
    if (c.gone) {
      EXPECT_THAT(prompter_.Texts(), ElementsAre(StartsWith("The serial port " +
                                                            std::string(c.device) + " is gone")));
    } else {
      EXPECT_THAT(prompter_.Texts(), IsEmpty());
    }
    link_.ClosePort();
  }
}

}  // namespace
}  // namespace tarn
