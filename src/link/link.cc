#include "link/link.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "link/direct_receiver.h"
#include "link/hex_text.h"
#include "link/tarn_frame.h"
#include "link/tolvik_frame.h"
#include "link/tolvik_receiver.h"

namespace tarn {
namespace {

constexpr std::uint8_t kLinkToggleResync = 128;
constexpr std::uint8_t kTunnelledTarnHeader = 0x60;
constexpr std::uint8_t kTarnHeaderExtendedAddress = 0x10;
constexpr std::uint8_t kTarnReplyHeaderMinimum = 96;
constexpr std::uint8_t kTunnelledAddressOffset = 96;
constexpr int kTunnellingMinimumProtocol = 3200;

constexpr std::string_view kNoTolvikAnswer = "No answer from Tolvik";
constexpr std::string_view kNotSupported = "Your system does not support this function";

// The number a port text starts with, as the port list writes it; 0 when it starts with none.
int LeadingNumber(std::string_view text) {
  int number = 0;
  for (const char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) break;
    number = number * 10 + (c - '0');
    if (number > 1000000) break;
  }
  return number;
}

struct TransparentUnit {
  std::uint8_t type;
  std::string_view name;
  int minimum_version;
};

constexpr TransparentUnit kTransparentUnits[] = {
    {2, "NQ-7", 1020},
    {3, "NQ-5", 0},
    {10, "Plexa", 1030},
};

}  // namespace

Link::Link(SerialPort& port, Clock& clock, Prompter& prompter)
    : port_(port), clock_(clock), relay_(prompter), prompter_(relay_) {
  port_.ApplySettings(kBitRateSettings[kDefaultBitRateIndex]);
}

LinkListener& Link::listener() { return listener_ ? *listener_ : silent_listener_; }

// --- The port ----------------------------------------------------------------------------------

std::vector<std::string> Link::BuildPortList() {
  ClosePort();
  std::vector<std::string> list;
  for (int number = 1; number <= kMaxPortNumber; ++number) {
    const std::string name = port_.PortName(number);
    if (name.empty()) continue;
    if (port_.Open(name)) {
      port_.Close();
      list.push_back(std::to_string(number) + " " + name);
    }
  }
  return list;
}

bool Link::SelectPort(std::string_view port_text) {
  ClosePort();
  const int number = LeadingNumber(port_text);
  if (number <= 0) {
    port_name_.clear();
    return false;
  }
  port_number_ = number;
  // "3 ttyUSB0" from the list names its device: the numbers move when an adapter is plugged in or
  // pulled out before it, the device does not.
  const std::size_t space = port_text.find(' ');
  if (space != std::string_view::npos && space + 1 < port_text.size()) {
    return Open(port_text.substr(space + 1));
  }
  const std::string name = port_.PortName(number);
  if (name.empty()) {
    prompter_.Show("There is no serial port " + std::to_string(number) + ". " + port_list_advice_,
                   PromptIcon::kWarning);
    return false;
  }
  return Open(name);
}

bool Link::OpenPortByName(std::string_view name) {
  ClosePort();
  port_number_ = 0;
  return Open(name);
}

bool Link::ChoosePort(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return SelectPort(text);
  const bool numbered = text[first] >= '0' && text[first] <= '9';
  return numbered ? SelectPort(text) : OpenPortByName(text.substr(first));
}

bool Link::SelectBitRate(int index) {
  ClosePort();
  bit_rate_index_ = std::clamp(index, 0, static_cast<int>(std::size(kBitRateSettings)) - 1);
  port_.ApplySettings(kBitRateSettings[bit_rate_index_]);
  if (port_name_.empty()) return false;
  return Open(port_name_);
}

bool Link::Open(std::string_view name) {
  port_name_ = std::string(name);
  if (!port_.Open(name)) {
    prompter_.Show("Cannot open serial port " + port_name_ + ": " + port_.ErrorText(),
                   PromptIcon::kWarning);
    listener().PortOpenChanged(false);
    return false;
  }
  link_toggle_ = kLinkToggleResync;
  port_lost_ = false;
  listener().PortOpenChanged(true);
  return true;
}

void Link::ClosePort() {
  if (!port_.IsOpen()) return;
  port_.Close();
  listener().PortOpenChanged(false);
}

// --- Link modes and target ---------------------------------------------------------------------

void Link::SetBidirectional(bool on) {
  if (bidirectional_ == on) return;
  bidirectional_ = on;
  listener().BidirectionalChanged(on);
}

void Link::TakeOverModuleAddress(std::uint8_t address) {
  addressing_.module_address = std::min(address, kMaxModuleAddress);
  link_toggle_ = kLinkToggleResync;
}

void Link::TakeOverExtendedAddress(std::uint8_t address) {
  addressing_.extended_address = std::min(address, kMaxExtendedAddress);
}

void Link::SetTunnellingBox(bool on) {
  tunnelling_ = on;
  listener().TunnellingChanged(on);
  // With tunnelling off the unit may still be switched into transparent mode.
  if (!on) ShowTransparentButton(true);
}

void Link::ShowTransparentButton(bool shown) { listener().TransparentButtonShown(shown); }

std::optional<int> Link::ProtocolVersion() {
  if (!TolvikExchange(kTolvikProtocolQuery)) return std::nullopt;
  if (reply_[0] != 4 || reply_[1] != 1 || reply_[2] != 2) return -1;
  return FourDigitVersion(reply_[3], reply_[4]);
}

void Link::SwitchTunnelling(bool on) {
  if (!on) {
    SetTunnellingBox(false);
    return;
  }
  if (!port_.IsOpen()) {
    SetTunnellingBox(false);
    prompter_.Show(kSelectPort, PromptIcon::kWarning);
    return;
  }
  SetTunnellingBox(true);
  tunnel_toggle_ = 1;
  if (!TolvikExchange({})) {
    SetTunnellingBox(false);
    return;
  }
  // An unanswered protocol query leaves tunnelling on: the unit answered the poll before it.
  if (const std::optional<int> version = ProtocolVersion()) {
    if (*version < 0) {
      SetTunnellingBox(false);
      prompter_.Show(kNotSupported, PromptIcon::kWarning);
    } else if (*version >= kTunnellingMinimumProtocol) {
      ShowTransparentButton(false);
    } else {
      prompter_.Show(std::string(kNotSupported) + "\nProtocol = " + VersionText(*version),
                     PromptIcon::kWarning);
      SetTunnellingBox(false);
    }
  }
  TolvikExchange({});
}

void Link::ActivateTransparentMode() {
  if (!port_.IsOpen()) {
    prompter_.Show(kSelectPort, PromptIcon::kWarning);
    return;
  }
  if (!TolvikExchange({})) return;
  const std::optional<int> protocol = ProtocolVersion();
  if (!protocol) return;
  if (*protocol >= kTunnellingMinimumProtocol) {
    TolvikExchange({});
    const PromptAnswer answer = prompter_.Show(
        "Your Tolvik system supports Tarn Tunneling\n"
        "We recommend to use the Tolvik Tunneling option instead\n"
        "Do you still want to activate Transparant Mode?",
        PromptIcon::kQuestion, PromptButtons::kYesNo);
    if (answer != PromptAnswer::kYes) return;
  }
  if (!TolvikExchange(kTolvikInterfaceQuery)) return;
  const auto refuse = [this](std::string_view text) {
    TolvikExchange({});
    prompter_.Show(text, PromptIcon::kWarning);
  };
  if (reply_[0] != 5 || reply_[1] != 1 || reply_[2] != 10) {
    refuse(kNotSupported);
    return;
  }
  const std::uint8_t type = reply_[3];
  const int version = FourDigitVersion(reply_[4], reply_[5]);
  const auto* unit = std::find_if(std::begin(kTransparentUnits), std::end(kTransparentUnits),
                                  [type](const TransparentUnit& u) { return u.type == type; });
  if (unit == std::end(kTransparentUnits)) {
    refuse(kNotSupported);
    return;
  }
  if (version < unit->minimum_version) {
    refuse("Your " + std::string(unit->name) + " does not support this function");
    return;
  }
  if (TolvikExchange(kTolvikTransparentModeRequest)) {
    prompter_.Show("Your " + std::string(unit->name) + " has been put in Transparent Mode",
                   PromptIcon::kInformation);
  }
}

// --- Exchanges ---------------------------------------------------------------------------------

bool Link::PayloadFits(std::string_view routine, std::span<const std::uint8_t> values) {
  // A value above 127 would put a byte with bit 7 clear on the wire, where it reads as the start
  // of a frame; such a message is refused whole.
  const auto wrong =
      std::find_if(values.begin(), values.end(), [](std::uint8_t value) { return value > 127; });
  if (wrong == values.end()) return true;
  prompter_.Show(std::string(routine) +
                 ": Value out of range (0..127), value = " + std::to_string(*wrong) +
                 " at position " + std::to_string(wrong - values.begin()) + "; nothing was sent");
  return false;
}

bool Link::Stopped() {
  const bool stopped = stop_check_ && stop_check_();
  if (stopped && !stop_shown_) prompter_.Show(kStoppedByUser, PromptIcon::kWarning);
  stop_shown_ = stopped;
  return stopped;
}

bool Link::RequirePortOpen(PromptIcon icon) {
  if (port_.IsOpen()) return true;
  // The port went away in the middle of what the user asked for: that was said once, and the
  // rest of it fails without a message per exchange.
  if (!port_lost_) prompter_.Show(kSelectPort, icon);
  return false;
}

bool Link::SendTarnMessage(bool wait, std::span<const std::uint8_t> payload) {
  reply_valid_ = false;
  tarn_reply_received_ = false;
  if (payload.size() > kMaxPayloadCount) {
    prompter_.Show("SendTarnMessage: Message Size Overrun, size = " +
                   std::to_string(payload.size()));
    return false;
  }
  if (Stopped() || !RequirePortOpen(PromptIcon::kNone)) return false;
  if (!PayloadFits("SendTarnMessage", payload)) return false;
  return tunnelling_ ? SendTunnelled(wait, payload) : SendDirect(payload);
}

bool Link::SendDirect(std::span<const std::uint8_t> payload) {
  if (link_toggle_ == kLinkToggleResync) {
    if (!WriteBytes(ResynchronisationBytes(module_address()))) return false;
    link_toggle_ = 64;
  }
  TarnFrameOptions options;
  options.link_toggle = link_toggle_;
  options.module_address = module_address();
  options.reply_wanted = bidirectional_;
  if (addressing_.extended_addressing) options.extended_address = extended_address();
  // A reply that came after its time limit would otherwise be read as the answer to this frame,
  // and the one to this frame as the answer to the next: every exchange after a late reply
  // would fail its toggle check.
  if (bidirectional_) DiscardWaitingBytes();
  if (!WriteBytes(EncodeTarnFrame(options, payload))) return false;

  if (bidirectional_) {
    if (ReceiveDirectReply()) {
      ShowResponse();
      const std::uint8_t sent_address = link_toggle_ + ModuleAddressByte(module_address());
      if (reply_[0] == sent_address && reply_[1] >= kTarnReplyHeaderMinimum) {
        reply_valid_ = true;
        tarn_reply_received_ = true;
      } else {
        prompter_.Show("Invalid response received, \nReceived: Addr = " +
                       std::to_string(reply_[0]) + " Header = " + std::to_string(reply_[1]) +
                       "\nExpected: Addr = " + std::to_string(ModuleAddressByte(module_address())) +
                       " Header > 95 ");
      }
    } else if (port_.IsOpen()) {
      prompter_.Show("No response received, resetting bidirectional communication");
      SetBidirectional(false);
    } else {
      return false;  // the port went away while waiting; that has been reported
    }
  }
  link_toggle_ = static_cast<std::uint8_t>((link_toggle_ + 64) % 128);
  return true;
}

bool Link::ReceiveDirectReply() {
  std::optional<std::uint8_t> expected;
  if (addressing_.extended_addressing) expected = extended_address();
  DirectReceiver receiver(reply_, expected);
  const double deadline = clock_.Now() + reply_time_limit_;
  while (const std::optional<std::uint8_t> byte = NextByte(deadline)) {
    switch (receiver.Feed(*byte)) {
      case DirectReceiver::Event::kComplete:
        return true;
      case DirectReceiver::Event::kUnexpectedExtendedAddress:
        ReportExtendedAddress(true, receiver.extended_address_received());
        break;
      case DirectReceiver::Event::kIncorrectExtendedAddress:
        ReportExtendedAddress(false, receiver.extended_address_received());
        break;
      case DirectReceiver::Event::kNone:
        break;
    }
  }
  return false;
}

void Link::ReportExtendedAddress(bool unexpected, std::uint8_t received) {
  if (unexpected) {
    prompter_.Show("Unexpected eXtended Address Byte " + std::to_string(received));
  } else {
    prompter_.Show("Incorrect eXtended Address byte \nReceived " + std::to_string(received) +
                   " Expected " + std::to_string(extended_address()));
  }
}

void Link::ShowResponse() {
  std::string text = "[" + HexText(reply_[0]) + "]";
  for (int i = 1; i <= ReplyPayloadCount(reply_) + 1; ++i) {
    text += " [" + HexText(reply_[static_cast<std::size_t>(i)]) + "]";
  }
  listener().ResponseTextChanged(text);
}

bool Link::SendTunnelled(bool wait, std::span<const std::uint8_t> payload) {
  std::vector<std::uint8_t> data = {
      0, static_cast<std::uint8_t>(module_address() + kTunnelledAddressOffset)};
  if (addressing_.extended_addressing) {
    data.push_back(kTunnelledTarnHeader | kTarnHeaderExtendedAddress);
    data.push_back(extended_address());
  } else {
    data.push_back(kTunnelledTarnHeader);
  }
  data.insert(data.end(), payload.begin(), payload.end());

  reply_valid_ = TolvikExchange(data);
  if (!reply_valid_) return false;
  if (!wait) {
    reply_valid_ = TolvikExchange({});
    return reply_valid_;
  }
  // The unit acknowledges the message at once; the Tarn's reply comes with a later poll.
  const double deadline = clock_.Now() + reply_time_limit_;
  while (reply_valid_) {
    if (CarriesTarnReply()) {
      TakeTunnelledReply();
      break;
    }
    if (clock_.Now() >= deadline) break;
    reply_valid_ = TolvikExchange({});
  }
  return reply_valid_;
}

bool Link::CarriesTarnReply() const {
  // 0, the module, the Tarn header: a reply with an empty payload, as a Tarn may answer a write,
  // is three values long.
  const int count = reply_[0];
  if (count < 3 || reply_[1] != 0 || reply_[2] != module_address() + kTunnelledAddressOffset) {
    return false;
  }
  // The frame must hold all the payload its Tarn header announces; a shorter one would hand the
  // caller zeros for values that never came.
  const std::uint8_t header = reply_[3];
  const int extended = (header & kTarnHeaderExtendedAddress) ? 1 : 0;
  const int announced = header & 0x0F;
  // An empty reply must be exactly that: the unit relaying a tunnelled request (0, the module,
  // 0x60, its values) would otherwise pass for one, and confirm a write nobody answered.
  if (announced == 0) return count == 3 + extended;
  return count >= 3 + extended + announced;
}

void Link::TakeTunnelledReply() {
  const std::uint8_t header = reply_[3];
  reply_[0] = ModuleAddressByte(reply_[2] % 32);
  reply_[1] = 0;
  int first_payload = 4;
  if (header & kTarnHeaderExtendedAddress) {
    const std::uint8_t received = reply_[4];
    if (!addressing_.extended_addressing || received != extended_address()) {
      // The caller sees an empty payload.
      ReportExtendedAddress(!addressing_.extended_addressing, received);
      return;
    }
    first_payload = 5;
  }
  tarn_reply_received_ = true;
  reply_[1] = header;
  std::copy(reply_.begin() + first_payload, reply_.begin() + first_payload + kMaxPayloadCount,
            reply_.begin() + 2);
}

void Link::SendVeskMessage(std::uint8_t first, std::uint8_t x, std::uint8_t y, std::uint8_t z) {
  if (Stopped() || !RequirePortOpen(PromptIcon::kNone)) return;
  const std::array<std::uint8_t, 4> values = {first, x, y, z};
  if (!PayloadFits("SendVeskMessage", values)) return;
  if (tunnelling_) {
    const std::array<std::uint8_t, 5> data = {
        0, static_cast<std::uint8_t>(first / 4 + kTunnelledAddressOffset), x, y, z};
    TolvikExchange(data);
    return;
  }
  if (link_toggle_ == kLinkToggleResync) {
    if (!WriteBytes(kResynchronisationPreamble)) return;
    if (!WriteBytes(EncodeVeskFrame(first, 0, 0, 0))) return;
    link_toggle_ = 64;
  }
  WriteBytes(EncodeVeskFrame(first, x, y, z));
}

bool Link::TolvikExchange(std::span<const std::uint8_t> data) {
  if (Stopped() || !RequirePortOpen(PromptIcon::kWarning)) return false;
  if (data.size() > static_cast<std::size_t>(kMaxTolvikDataCount)) {
    prompter_.Show("TolvikExchange: Message Size Overrun, size = " + std::to_string(data.size()));
    return false;
  }
  if (!PayloadFits("TolvikExchange", data)) return false;
  DiscardWaitingBytes();
  const std::vector<std::uint8_t> frame = EncodeTolvikFrame(tunnel_toggle_, data);
  std::string line = "> ";
  for (const std::uint8_t byte : frame) line += HexText(byte & 0x7F);
  listener().CommunicationLogLine(line);
  tunnel_toggle_ ^= 1;
  if (!WriteBytes(frame)) return false;
  if (ReceiveTolvikFrame()) return true;
  if (port_.IsOpen()) prompter_.Show(kNoTolvikAnswer, PromptIcon::kWarning);
  return false;
}

bool Link::ReceiveTolvikFrame() {
  TolvikReceiver receiver(reply_);
  const double deadline = clock_.Now() + reply_time_limit_;
  TolvikReceiver::Outcome outcome = TolvikReceiver::Outcome::kPending;
  while (outcome == TolvikReceiver::Outcome::kPending) {
    const std::optional<std::uint8_t> byte = NextByte(deadline);
    if (!byte) break;
    outcome = receiver.Feed(*byte);
  }
  listener().CommunicationLogLine(receiver.received_text());
  if (outcome == TolvikReceiver::Outcome::kChecksumError) {
    prompter_.Show("Checksum Error\nSize = " + std::to_string(receiver.announced_count()) +
                   receiver.received_text());
  }
  return outcome == TolvikReceiver::Outcome::kValid;
}

std::vector<std::uint8_t> Link::ReplyPayload() const {
  const int count = ReplyPayloadCount(reply_);
  return {reply_.begin() + 2, reply_.begin() + 2 + count};
}

// --- Bytes on the wire -------------------------------------------------------------------------

void Link::DiscardWaitingBytes() {
  while (port_.BytesWaiting() > 0 && port_.ReadByte()) {
  }
}

bool Link::WriteBytes(std::span<const std::uint8_t> bytes) {
  if (port_.Write(bytes) && !port_.Failed()) return true;
  ReportPortGone();
  return false;
}

std::optional<std::uint8_t> Link::NextByte(double deadline) {
  for (;;) {
    if (port_.BytesWaiting() > 0) {
      if (std::optional<std::uint8_t> byte = port_.ReadByte()) {
        ++bytes_received_;
        return byte;
      }
    }
    if (port_.Failed()) {
      ReportPortGone();
      return std::nullopt;
    }
    if (clock_.Now() >= deadline) return std::nullopt;
    port_.WaitForBytes(deadline);
  }
}

void Link::CheckPortStillThere(bool listed) {
  if (!port_.IsOpen()) return;
  if (port_.Failed()) {
    ReportPortGone();
  } else if (!listed) {
    ReportPortGone("the system no longer lists it");
  }
}

void Link::ReportPortGone(std::string_view reason) {
  if (!port_.IsOpen()) return;
  const std::string why = reason.empty() ? port_.ErrorText() : std::string(reason);
  port_lost_ = true;
  // Closed first, so that whoever is told of the closed port shows it before the message waits.
  ClosePort();
  prompter_.Show("The serial port " + port_name_ + " is gone" + (why.empty() ? "" : ": " + why) +
                     ".\n" + port_gone_advice_,
                 PromptIcon::kWarning);
}

}  // namespace tarn
