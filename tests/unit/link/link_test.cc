#include "link/link.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>

#include "link/frame_checksum.h"
#include "link/tarn_frame.h"
#include "link/tolvik_frame.h"
#include "support/recording_prompter.h"
#include "support/scripted_port.h"

namespace tarn {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::FakeClock;
using testing::RecordingPrompter;
using testing::ScriptedPort;

class RecordingListener : public LinkListener {
 public:
  void BidirectionalChanged(bool on) override { bidirectional.push_back(on); }
  void TunnellingChanged(bool on) override { tunnelling.push_back(on); }
  void TransparentButtonShown(bool shown) override { transparent_button.push_back(shown); }
  void ResponseTextChanged(std::string_view text) override { response = text; }
  void CommunicationLogLine(std::string_view line) override { log.emplace_back(line); }
  std::vector<bool> bidirectional, tunnelling, transparent_button;
  std::string response;
  std::vector<std::string> log;
};

Bytes TarnReply(std::uint8_t address, const Bytes& payload, std::uint8_t header = 0x60) {
  Bytes frame = {address, static_cast<std::uint8_t>(0x80 | header | payload.size())};
  for (const std::uint8_t value : payload) frame.push_back(0x80 | value);
  frame.push_back(FrameChecksum(frame));
  return frame;
}

class LinkTest : public ::testing::Test {
 protected:
  LinkTest() : port_(clock_), link_(port_, clock_, prompter_) {
    link_.SetListener(&listener_);
    // Every direct frame that asks for a reply, and every Tolvik frame, takes the next answer.
    port_.on_write = [this](ScriptedPort& port, std::span<const std::uint8_t> bytes) {
      const bool tarn_request = bytes.size() >= 2 && bytes[0] != 0 && (bytes[1] & 0xE0) == 0xE0;
      if ((tolvik_ || tarn_request) && !answers_.empty()) {
        port.Queue(answers_.front());
        answers_.pop_front();
      }
    };
  }

  void OpenPort() {
    ASSERT_TRUE(link_.SelectPort("1 /dev/ttyS0"));
    port_.written.clear();
  }

  Bytes Send(const Bytes& payload, bool wait = true) {
    port_.written.clear();
    link_.SendTarnMessage(wait, payload);
    return port_.written;
  }

  FakeClock clock_;
  ScriptedPort port_;
  RecordingPrompter prompter_;
  RecordingListener listener_;
  Link link_;
  std::deque<Bytes> answers_;
  bool tolvik_ = false;  // every frame written is a Tolvik frame that the unit answers
};

TEST_F(LinkTest, FirstMessageAfterOpeningResynchronisesThenTogglesAlternate) {
  link_.TakeOverModuleAddress(3);
  OpenPort();
  answers_ = {TarnReply(0x4F, {0x70, 0x01, 0, 0, 0, 0}), TarnReply(0x0F, {0x70, 0x01, 0, 0, 0, 0}),
              TarnReply(0x4F, {0x70, 0x01, 0, 0, 0, 0})};
  Bytes expected(kResynchronisationPreamble.begin(), kResynchronisationPreamble.end());
  expected.insert(expected.end(), {0x0F, 0xC0, FrameChecksum(Bytes{0x0F, 0xC0})});
  expected.insert(expected.end(), {0x4F, 0xE2, 0xF0, 0x81, 0xDE});
  EXPECT_THAT(Send({0x70, 0x01}), ElementsAreArray(expected));
  EXPECT_TRUE(link_.reply_valid());
  EXPECT_THAT(Send({0x70, 0x01}), ElementsAre(0x0F, 0xE2, 0xF0, 0x81, 0x9E));
  EXPECT_TRUE(link_.reply_valid());
  EXPECT_THAT(Send({0x70, 0x01}), ElementsAre(0x4F, 0xE2, 0xF0, 0x81, 0xDE));
  EXPECT_TRUE(prompter_.messages.empty());
  EXPECT_EQ(listener_.response, "[4F] [66] [70] [1] [0] [0] [0] [0]");
  EXPECT_THAT(link_.ReplyPayload(), ElementsAre(0x70, 0x01, 0, 0, 0, 0));
}

TEST_F(LinkTest, ExtendedAddressByteTravelsAfterTheHeader) {
  link_.TakeOverModuleAddress(3);
  link_.SetExtendedAddressing(true);
  link_.TakeOverExtendedAddress(5);
  OpenPort();
  Send({});  // the resynchronisation and toggle 64; nobody answers
  link_.SetBidirectional(true);
  EXPECT_THAT(Send({0x70, 0x01}, false), ElementsAre(0x0F, 0xF2, 0x85, 0xF0, 0x81, 0x89));
}

TEST_F(LinkTest, RefusesWhatCannotGoOnTheWire) {
  const struct {
    const char* name;
    bool open;
    Bytes payload;
    std::string message;
  } cases[] = {
      {"size overrun", true, Bytes(16, 0), "SendTarnMessage: Message Size Overrun, size = 16"},
      {"port closed", false, {0x70, 0}, "Select communications port"},
      {"value above 127",
       true,
       {0x70, 200},
       "SendTarnMessage: Value out of range (0..127), value = 200 at position 1; nothing was sent"},
  };
  for (const auto& c : cases) {
    port_.open = c.open;
    prompter_.messages.clear();
    EXPECT_FALSE(link_.SendTarnMessage(true, c.payload)) << c.name;
    EXPECT_TRUE(port_.written.empty()) << c.name;
    EXPECT_THAT(prompter_.Texts(), ElementsAre(c.message)) << c.name;
  }
  // Fifteen values are allowed.
  port_.open = true;
  link_.SetBidirectional(false);
  EXPECT_TRUE(link_.SendTarnMessage(true, Bytes(15, 0)));
}

TEST_F(LinkTest, NoReplySwitchesBidirectionalOffButCountsAsSent) {
  OpenPort();
  const double start = clock_.now;
  EXPECT_TRUE(link_.SendTarnMessage(true, Bytes{0x70, 0}));
  EXPECT_FALSE(link_.reply_valid());
  EXPECT_FALSE(link_.bidirectional());
  EXPECT_THAT(listener_.bidirectional, ElementsAre(false));
  EXPECT_THAT(prompter_.Texts(),
              ElementsAre("No response received, resetting bidirectional communication"));
  EXPECT_DOUBLE_EQ(clock_.now - start, kReplyTimeLimitSeconds);

  // With bidirectional off the frame asks for nothing and the call returns at once.
  const int waits = port_.waits;
  EXPECT_THAT(Send({0x70, 0}), ElementsAre(0x03, 0xC2, 0xF0, 0x80, 0xCB));
  EXPECT_FALSE(link_.reply_valid());
  EXPECT_EQ(port_.waits, waits);
}

TEST_F(LinkTest, LateReplyWithThePreviousToggleIsInvalid) {
  OpenPort();
  answers_ = {TarnReply(0x03, {0x70, 0x00, 3, 1, 0, 10})};  // we sent toggle 64
  EXPECT_TRUE(link_.SendTarnMessage(true, Bytes{0x70, 0}));
  EXPECT_FALSE(link_.reply_valid());
  EXPECT_THAT(prompter_.Texts(),
              ElementsAre("Invalid response received, \nReceived: Addr = 3 Header = 102\n"
                          "Expected: Addr = 3 Header > 95 "));
  EXPECT_EQ(listener_.response, "[3] [66] [70] [0] [3] [1] [0] [A]");
}

TEST_F(LinkTest, HeaderOf95OrLessIsInvalid) {
  OpenPort();
  answers_ = {TarnReply(0x43, {0x70}, 0x40)};
  link_.SendTarnMessage(true, Bytes{0x70, 0});
  EXPECT_FALSE(link_.reply_valid());
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_THAT(prompter_.messages[0].text, ::testing::HasSubstr("Header = 65"));
}

TEST_F(LinkTest, GoodReplyAfterABadChecksumIsAccepted) {
  OpenPort();
  Bytes bad = TarnReply(0x43, {0x70, 0x00});
  bad.back() ^= 0x02;
  Bytes both = bad;
  const Bytes good = TarnReply(0x43, {0x70, 0x00, 3, 1, 0, 10});
  both.insert(both.end(), good.begin(), good.end());
  answers_ = {both};
  link_.SendTarnMessage(true, Bytes{0x70, 0});
  EXPECT_TRUE(link_.reply_valid());
  EXPECT_THAT(link_.ReplyPayload(), ElementsAre(0x70, 0, 3, 1, 0, 10));
}

TEST_F(LinkTest, PortThatFailsMidExchangeEndsItWithAMessage) {
  OpenPort();
  port_.fail_when_waiting = true;
  EXPECT_FALSE(link_.SendTarnMessage(true, Bytes{0x70, 0}));
  EXPECT_FALSE(link_.port_open());
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_THAT(prompter_.messages[0].text, ::testing::HasSubstr("is gone"));
  // The next request asks for a port instead of waiting on a dead one.
  prompter_.messages.clear();
  link_.ForgetPortLoss();
  EXPECT_FALSE(link_.SendTarnMessage(true, Bytes{0x70, 0}));
  EXPECT_THAT(prompter_.Texts(), ElementsAre("Select communications port"));
}

TEST_F(LinkTest, PortListAndSelection) {
  port_.names = {"/dev/ttyS0", "/dev/ttyUSB0"};
  EXPECT_THAT(link_.BuildPortList(), ElementsAre("1 /dev/ttyS0", "2 /dev/ttyUSB0"));
  for (const char* text : {"0", "", "x1"}) {
    port_.opened.clear();
    EXPECT_FALSE(link_.SelectPort(text)) << text;
    EXPECT_TRUE(port_.opened.empty()) << text;
  }
  EXPECT_TRUE(prompter_.messages.empty());
  // A number the list does not hold: the window's advice, or the one a program sets instead.
  EXPECT_FALSE(link_.SelectPort("3"));
  link_.SetPortListAdvice("Run \"tarnctl ports\".");
  EXPECT_FALSE(link_.SelectPort("3"));
  EXPECT_THAT(prompter_.Texts(),
              ElementsAre("There is no serial port 3. Press \"Refresh\" to list the ports that "
                          "are there now.",
                          "There is no serial port 3. Run \"tarnctl ports\"."));
  EXPECT_TRUE(link_.SelectPort("2 /dev/ttyUSB0"));
  EXPECT_EQ(port_.opened.back(), "/dev/ttyUSB0");
  EXPECT_EQ(link_.link_toggle(), 128);
  EXPECT_TRUE(link_.SelectBitRate(0));
  EXPECT_EQ(port_.settings, "9600,o,8,1");
  EXPECT_EQ(port_.opened.back(), "/dev/ttyUSB0");

  // A chosen port: a list entry or number by number, anything else as a device path.
  EXPECT_TRUE(link_.ChoosePort("1 /dev/ttyS0"));
  EXPECT_EQ(port_.opened.back(), "/dev/ttyS0");
  EXPECT_TRUE(link_.ChoosePort(" /tmp/tarn0"));
  EXPECT_EQ(port_.opened.back(), "/tmp/tarn0");
  EXPECT_FALSE(link_.ChoosePort(""));
  EXPECT_FALSE(link_.port_open());
}

TEST_F(LinkTest, ModuleAddressTakeOverResynchronises) {
  OpenPort();
  link_.SetBidirectional(false);
  Send({});
  EXPECT_EQ(link_.link_toggle(), 0);
  link_.TakeOverModuleAddress(0);  // the same value still resynchronises
  EXPECT_EQ(link_.link_toggle(), 128);
  link_.TakeOverExtendedAddress(7);
  EXPECT_EQ(link_.link_toggle(), 128);
}

TEST_F(LinkTest, VeskFrameResynchronisesButKeepsTheToggle) {
  OpenPort();
  port_.written.clear();
  link_.SendVeskMessage(0x03, 1, 2, 3);
  Bytes expected(kResynchronisationPreamble.begin(), kResynchronisationPreamble.end());
  const Bytes empty = EncodeVeskFrame(3, 0, 0, 0);
  const Bytes frame = EncodeVeskFrame(3, 1, 2, 3);
  expected.insert(expected.end(), empty.begin(), empty.end());
  expected.insert(expected.end(), frame.begin(), frame.end());
  EXPECT_THAT(port_.written, ElementsAreArray(expected));
  EXPECT_EQ(link_.link_toggle(), 64);
  port_.written.clear();
  link_.SendVeskMessage(0x03, 1, 2, 3);
  EXPECT_THAT(port_.written, ElementsAreArray(frame));
  EXPECT_EQ(link_.link_toggle(), 64);
}

// --- Tolvik ------------------------------------------------------------------------------------

Bytes TolvikAnswer(const Bytes& data) { return EncodeTolvikFrame(0, data); }

TEST_F(LinkTest, TunnelledRequestIsAcknowledgedAndTheReplyComesWithAPoll) {
  tolvik_ = true;
  link_.TakeOverModuleAddress(3);
  OpenPort();
  answers_ = {TolvikAnswer({}), TolvikAnswer({1, 2, 0x1A, 0x00}), TolvikAnswer({})};
  link_.SwitchTunnelling(true);
  ASSERT_TRUE(link_.tunnelling());
  EXPECT_THAT(listener_.transparent_button, ElementsAre(false));
  EXPECT_EQ(link_.tunnel_toggle(), 0);  // three frames sent from 1

  port_.written.clear();
  answers_ = {TolvikAnswer({}), TolvikAnswer({}),
              TolvikAnswer({0, 0x63, 0x66, 0x70, 0x00, 3, 1, 0, 10})};
  EXPECT_TRUE(link_.SendTarnMessage(true, Bytes{0x70, 0x00}));
  EXPECT_TRUE(link_.reply_valid());
  const Bytes request = {0x2D, 0x80, 0xE3, 0xE0, 0xF0, 0x80, 0xA0};
  EXPECT_THAT(Bytes(port_.written.begin(), port_.written.begin() + 7), ElementsAreArray(request));
  EXPECT_EQ(link_.reply()[0], 0x0F);
  EXPECT_EQ(link_.reply()[1], 0x66);
  EXPECT_THAT(link_.ReplyPayload(), ElementsAre(0x70, 0x00, 3, 1, 0, 10));
  EXPECT_EQ(listener_.log[listener_.log.size() - 6], "> 2D0636070020");
}

TEST_F(LinkTest, TunnelledReplyWithAnExtendedAddressByte) {
  tolvik_ = true;
  link_.TakeOverModuleAddress(1);
  link_.SetExtendedAddressing(true);
  link_.TakeOverExtendedAddress(9);
  OpenPort();
  const struct {
    std::uint8_t received;
    bool payload_seen;
  } cases[] = {{9, true}, {8, false}};
  for (const auto& c : cases) {
    link_.SwitchTunnelling(false);
    answers_ = {TolvikAnswer({}), TolvikAnswer({1, 2, 0x1A, 0}), TolvikAnswer({}), TolvikAnswer({}),
                TolvikAnswer({0, 97, 0x73, c.received, 0x70, 2, 9})};
    link_.SwitchTunnelling(true);
    ASSERT_TRUE(link_.tunnelling());
    prompter_.messages.clear();
    EXPECT_TRUE(link_.SendTarnMessage(true, Bytes{0x70, 2}));
    EXPECT_EQ(link_.reply()[0], 0x07);
    if (c.payload_seen) {
      EXPECT_THAT(link_.ReplyPayload(), ElementsAre(0x70, 2, 9));
      EXPECT_TRUE(prompter_.messages.empty());
    } else {
      EXPECT_TRUE(link_.ReplyPayload().empty());
      EXPECT_THAT(prompter_.Texts(),
                  ElementsAre("Incorrect eXtended Address byte \nReceived 8 Expected 9"));
    }
  }
}

// A Tarn reply is taken only when the frame holds just what its Tarn header announces: fewer
// values would hand the caller zeros, and values behind a header announcing none are a tunnelled
// request relayed, not an empty answer that confirms a write. An empty answer is taken.
TEST_F(LinkTest, TunnelledReplyIsTakenOnlyWithThePayloadItsHeaderAnnounces) {
  tolvik_ = true;
  OpenPort();
  answers_ = {TolvikAnswer({}), TolvikAnswer({1, 2, 0x1A, 0}), TolvikAnswer({})};
  link_.SwitchTunnelling(true);
  const struct {
    const char* name;
    Bytes unit_answer;
    bool taken;
  } cases[] = {
      {"six values announced, two behind it", {0, 96, 0x66, 0x70, 0}, false},
      {"a relayed request", {0, 96, 0x60, 0x60, 6, 5}, false},
      {"an empty answer", {0, 96, 0x60}, true},
  };
  for (const auto& c : cases) {
    answers_ = {TolvikAnswer({}), TolvikAnswer(c.unit_answer)};
    link_.SendTarnMessage(true, Bytes{0x60, 6, 5});
    EXPECT_EQ(link_.tarn_reply_received(), c.taken) << c.name;
  }
}

TEST_F(LinkTest, SwitchingTunnellingOnChecksTheProtocolVersion) {
  tolvik_ = true;
  const struct {
    const char* name;
    std::deque<Bytes> answers;
    bool on_after;
    std::vector<std::string> messages;
  } cases[] = {
      {"3.200 accepted",
       {TolvikAnswer({}), TolvikAnswer({1, 2, 0x1A, 0}), TolvikAnswer({})},
       true,
       {}},
      {"3.100 refused",
       {TolvikAnswer({}), TolvikAnswer({1, 2, 0x19, 0}), TolvikAnswer({})},
       false,
       {"Your system does not support this function\nProtocol = 3.100"}},
      {"odd answer refused",
       {TolvikAnswer({}), TolvikAnswer({1, 3, 0x1A, 0}), TolvikAnswer({})},
       false,
       {"Your system does not support this function"}},
      {"unanswered query keeps it on",
       {TolvikAnswer({}), Bytes{}, TolvikAnswer({})},
       true,
       {"No answer from Tolvik"}},
      {"silent unit", {}, false, {"No answer from Tolvik"}},
  };
  for (const auto& c : cases) {
    OpenPort();
    link_.SwitchTunnelling(false);
    prompter_.messages.clear();
    answers_ = c.answers;
    link_.SwitchTunnelling(true);
    EXPECT_EQ(link_.tunnelling(), c.on_after) << c.name;
    EXPECT_EQ(prompter_.Texts(), c.messages) << c.name;
  }
  port_.open = false;
  prompter_.messages.clear();
  link_.SwitchTunnelling(true);
  EXPECT_FALSE(link_.tunnelling());
  ASSERT_EQ(prompter_.messages.size(), 1u);
  EXPECT_EQ(prompter_.messages[0].text, "Select communications port");
  EXPECT_EQ(prompter_.messages[0].icon, PromptIcon::kWarning);
}

TEST_F(LinkTest, TransparentModeDependsOnUnitTypeAndVersion) {
  tolvik_ = true;
  // The last two digits of a version are coded in octal-sized steps, so the highest version
  // below 1020 that a unit can report is 1017 (0x08, 0x0F); 1020 is 0x08, 0x10.
  const struct {
    const char* name;
    Bytes interface_answer;
    std::string message;
    bool request_sent;
  } cases[] = {
      {"NQ-7 1017", {1, 10, 2, 0x08, 0x0F}, "Your NQ-7 does not support this function", false},
      {"NQ-7 1020", {1, 10, 2, 0x08, 0x10}, "Your NQ-7 has been put in Transparent Mode", true},
      {"NQ-5 any", {1, 10, 3, 0x00, 0x00}, "Your NQ-5 has been put in Transparent Mode", true},
      {"Plexa 1027", {1, 10, 10, 0x08, 0x17}, "Your Plexa does not support this function", false},
      {"Plexa 1030", {1, 10, 10, 0x08, 0x18}, "Your Plexa has been put in Transparent Mode", true},
      {"other unit", {1, 10, 4, 0x08, 0x1E}, "Your system does not support this function", false},
      {"odd answer", {1, 11, 2, 0x08, 0x1E}, "Your system does not support this function", false},
  };
  for (const auto& c : cases) {
    OpenPort();
    prompter_.messages.clear();
    answers_ = {TolvikAnswer({}), TolvikAnswer({1, 2, 0x19, 0}), TolvikAnswer(c.interface_answer),
                TolvikAnswer({})};
    link_.ActivateTransparentMode();
    EXPECT_THAT(prompter_.Texts(), ElementsAre(c.message)) << c.name;
    const Bytes request =
        EncodeTolvikFrame(link_.tunnel_toggle() ^ 1, kTolvikTransparentModeRequest);
    const bool sent = port_.written.size() >= request.size() &&
                      Bytes(port_.written.end() - static_cast<long>(request.size()),
                            port_.written.end()) == request;
    EXPECT_EQ(sent, c.request_sent) << c.name;
  }
}

TEST_F(LinkTest, TransparentModeOnANewSystemAsksFirst) {
  tolvik_ = true;
  for (const PromptAnswer answer : {PromptAnswer::kNo, PromptAnswer::kYes}) {
    OpenPort();
    prompter_.messages.clear();
    prompter_.answers = {answer};
    answers_ = {TolvikAnswer({}), TolvikAnswer({1, 2, 0x1A, 0}), TolvikAnswer({}),
                TolvikAnswer({1, 10, 3, 0, 0}), TolvikAnswer({})};
    link_.ActivateTransparentMode();
    ASSERT_GE(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].buttons, PromptButtons::kYesNo);
    EXPECT_EQ(prompter_.messages[0].text,
              "Your Tolvik system supports Tarn Tunneling\n"
              "We recommend to use the Tolvik Tunneling option instead\n"
              "Do you still want to activate Transparant Mode?");
    EXPECT_EQ(prompter_.messages.size(), answer == PromptAnswer::kYes ? 2u : 1u);
  }
}

TEST_F(LinkTest, TolvikChecksumErrorIsShownWithTheFrame) {
  tolvik_ = true;
  OpenPort();
  Bytes bad = TolvikAnswer({1, 2});
  bad.back() ^= 0x01;
  answers_ = {bad};
  EXPECT_FALSE(link_.TolvikExchange({}));
  EXPECT_THAT(prompter_.Texts(),
              ElementsAre("Checksum Error\nSize = 2< 2A1252", "No answer from Tolvik"));
  EXPECT_THAT(listener_.log, ElementsAre("> 2858", "< 2A1252"));
}

}  // namespace
}  // namespace tarn
