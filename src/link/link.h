#ifndef TARN_LINK_LINK_H_
#define TARN_LINK_LINK_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/clock.h"
#include "host/link_addressing.h"
#include "host/prompter.h"
#include "host/serial_port.h"
#include "link/link_listener.h"
#include "link/reply_buffer.h"

namespace tarn {

// The bit rates a Tarn bus runs at, in the order of the window's options.
inline constexpr std::string_view kBitRateSettings[] = {"9600,o,8,1", "19200,o,8,1", "38400,o,8,1"};
inline constexpr int kDefaultBitRateIndex = 1;

// The numbers of the ports the list offers, 1..16.
inline constexpr int kMaxPortNumber = 16;

// How long a device may take to answer.
inline constexpr double kReplyTimeLimitSeconds = 2.0;

// Shown whenever something needs the serial port while it is closed.
inline constexpr std::string_view kSelectPort = "Select communications port";

// Shown once when the user stops a long operation; the exchange that was next fails with it.
inline constexpr std::string_view kStoppedByUser = "Stopped by the user.";

// The serial link to one addressed Tarn: the port, the link modes, the sequence state, and the
// one routine through which every conversation goes. Everything blocks until its reply or its
// time limit; every failure has been shown through the Prompter before a call returns.
class Link {
 public:
  Link(SerialPort& port, Clock& clock, Prompter& prompter);

  void SetListener(LinkListener* listener) { listener_ = listener; }

  // Asked before every exchange. While it answers true nothing is sent and every exchange fails,
  // so an operation ends at its next exchange exactly as at a failed step; "Stopped by the user."
  // is shown once for each stop. The window's "Stop" button and tarnctl's signals answer it.
  void SetStopCheck(std::function<bool()> check) { stop_check_ = std::move(check); }
  // Whether a stop is requested now; a loop over several Tarns ends at it.
  bool stop_requested() const { return stop_check_ && stop_check_(); }

  // --- The port -------------------------------------------------------------------------------

  // Probes port numbers 1..16 and returns the texts of those that opened, "1 ttyUSB0" and so on.
  // Closes the port first. A probe never shows a message.
  std::vector<std::string> BuildPortList();

  // A choice in the port list: closes the port, then opens the port whose number the text starts
  // with when that number is above 0. Returns whether a port is open afterwards.
  bool SelectPort(std::string_view port_text);
  // The sentence that follows "There is no serial port N." and says how to see the ports there
  // are; the window's advice unless a program without that window sets its own.
  void SetPortListAdvice(std::string advice) { port_list_advice_ = std::move(advice); }

  // What to do about a port that went away with its adapter, after the sentence that says so;
  // the window's advice unless a program without that window sets its own.
  void SetPortGoneAdvice(std::string advice) { port_gone_advice_ = std::move(advice); }

  // Opens a port by device name or path, as tarnctl's --port does.
  bool OpenPortByName(std::string_view name);

  // A port as the user names it, in the window's port list or on a command line: text that
  // starts with a digit ("3", "3 ttyUSB0") picks by number, as SelectPort does; anything else is
  // a device name or path (a USB adapter's /dev path, a pseudo-terminal). Empty text closes.
  bool ChoosePort(std::string_view text);

  // A choice of bit rate (index into kBitRateSettings): closes the port, applies the settings and
  // opens the chosen port again.
  bool SelectBitRate(int index);

  void ClosePort();
  bool port_open() const { return port_.IsOpen(); }
  // The device of the port last chosen ("/dev/ttyUSB0"), open or not.
  const std::string& port_name() const { return port_name_; }

  // Asked while the line is quiet: an open port that failed meanwhile, or that the system no
  // longer lists, went with its adapter. Says so once and closes it.
  void CheckPortStillThere(bool listed);
  // The port went away since ForgetPortLoss() (or since it was opened): the message has been
  // shown, and every exchange since failed without another. A new request of the user's begins
  // with ForgetPortLoss(), so that it is told "Select communications port" again.
  bool port_lost() const { return port_lost_; }
  void ForgetPortLoss() { port_lost_ = false; }
  int bit_rate_index() const { return bit_rate_index_; }

  // --- Link modes and target ------------------------------------------------------------------

  bool bidirectional() const { return bidirectional_; }
  void SetBidirectional(bool on);

  // The one copy of the address the Tarn is reached under; the address displays read it here.
  const LinkAddressing& addressing() const { return addressing_; }

  bool extended_addressing() const { return addressing_.extended_addressing; }
  void SetExtendedAddressing(bool on) { addressing_.extended_addressing = on; }

  bool tunnelling() const { return tunnelling_; }
  // A click on "Use Tolvik Tunneling": switching on checks the Tolvik system's protocol version.
  void SwitchTunnelling(bool on);

  // "Activate Transparent Mode": switches an NQ-7, NQ-5 or Plexa into passing bytes through.
  void ActivateTransparentMode();

  std::uint8_t module_address() const {
    return static_cast<std::uint8_t>(addressing_.module_address);
  }
  // Every take-over of the module address, even of the same value, resynchronises the link.
  void TakeOverModuleAddress(std::uint8_t address);

  std::uint8_t extended_address() const {
    return static_cast<std::uint8_t>(addressing_.extended_address);
  }
  void TakeOverExtendedAddress(std::uint8_t address);

  std::uint8_t link_toggle() const { return link_toggle_; }
  int tunnel_toggle() const { return tunnel_toggle_; }

  // --- Exchanges ------------------------------------------------------------------------------

  // Frames `payload` (command byte first, at most 15 values of 0..127) for the module address and
  // link mode, sends it and, when a reply is due, receives and checks it. `wait` matters when
  // tunnelling: keep polling the unit until the Tarn's reply arrives. Returns the sent flag;
  // reply_valid() and reply() tell what came back.
  bool SendTarnMessage(bool wait, std::span<const std::uint8_t> payload);

  // The command set tells the listener of every write it sent, and whether the Tarn confirmed it.
  void TellWriteSent(std::span<const std::uint8_t> payload, bool confirmed) {
    listener().TarnWriteSent(payload, confirmed);
  }

  // The older fixed-length Vesk frame; no reply is read on the direct link.
  void SendVeskMessage(std::uint8_t first, std::uint8_t x, std::uint8_t y, std::uint8_t z);

  // One Tolvik frame out (at most 19 data values), one back. On success the reply buffer holds
  // the answer: entry 0 its data count, then the data values.
  bool TolvikExchange(std::span<const std::uint8_t> data);

  // --- A scan of the bus ------------------------------------------------------------------------

  // How long the direct reply, a Tolvik frame and the tunnelled wait for a Tarn's reply may take;
  // kReplyTimeLimitSeconds unless a ScopedReplyTimeLimit holds another.
  double reply_time_limit() const { return reply_time_limit_; }
  // Bytes that arrived as parts of replies since the port was made; a scan tells a garbled
  // answer from silence by them.
  long bytes_received() const { return bytes_received_; }

  bool reply_valid() const { return reply_valid_; }
  // True when the last SendTarnMessage took a Tarn reply for this module into the buffer. A
  // tunnelled wait that runs out leaves reply_valid() on (the unit did answer every poll) but this
  // off; callers that cannot judge the buffer by the command they sent ask this instead.
  bool tarn_reply_received() const { return tarn_reply_received_; }
  const ReplyBuffer& reply() const { return reply_; }
  // The reply payload (command echo first) of the last valid Tarn reply.
  std::vector<std::uint8_t> ReplyPayload() const;

 private:
  LinkListener& listener();
  bool Open(std::string_view name);
  void SetTunnellingBox(bool on);
  void ShowTransparentButton(bool shown);

  bool SendDirect(std::span<const std::uint8_t> payload);
  bool SendTunnelled(bool wait, std::span<const std::uint8_t> payload);
  bool ReceiveDirectReply();
  bool ReceiveTolvikFrame();
  bool CarriesTarnReply() const;
  void TakeTunnelledReply();
  void ReportExtendedAddress(bool unexpected, std::uint8_t received);
  void ShowResponse();

  void DiscardWaitingBytes();
  bool WriteBytes(std::span<const std::uint8_t> bytes);
  // Waits for the next byte until `deadline`; nullopt on time-out or when the port failed.
  std::optional<std::uint8_t> NextByte(double deadline);
  // Says once that the port went away (`reason`: why, or the port's own error) and closes it.
  void ReportPortGone(std::string_view reason = {});
  bool RequirePortOpen(PromptIcon icon);
  // True while a stop is requested; says so the first time.
  bool Stopped();
  bool PayloadFits(std::string_view routine, std::span<const std::uint8_t> values);
  std::optional<int> ProtocolVersion();

  // Every message of the link goes through here: to the program's Prompter, or to the one a
  // ScopedLinkPrompter holds.
  class PrompterRelay : public Prompter {
   public:
    explicit PrompterRelay(Prompter& target) : target_(&target) {}
    PromptAnswer Show(std::string_view text, PromptIcon icon, PromptButtons buttons) override {
      return target_->Show(text, icon, buttons);
    }
    Prompter* target_;
  };
  friend class ScopedLinkPrompter;
  friend class ScopedReplyTimeLimit;

  SerialPort& port_;
  Clock& clock_;
  PrompterRelay relay_;
  Prompter& prompter_;
  double reply_time_limit_ = kReplyTimeLimitSeconds;
  long bytes_received_ = 0;
  LinkListener* listener_ = nullptr;
  LinkListener silent_listener_;
  std::function<bool()> stop_check_;
  bool stop_shown_ = false;

  int port_number_ = 0;
  std::string port_name_;
  std::string port_list_advice_ = "Press \"Refresh\" to list the ports that are there now.";
  std::string port_gone_advice_ = "Plug the adapter in again and choose it in \"Port:\".";
  bool port_lost_ = false;
  int bit_rate_index_ = kDefaultBitRateIndex;

  bool bidirectional_ = true;
  bool tunnelling_ = false;
  LinkAddressing addressing_;
  std::uint8_t link_toggle_ = 0;
  int tunnel_toggle_ = 0;

  ReplyBuffer reply_{};
  bool reply_valid_ = false;
  bool tarn_reply_received_ = false;
};

// For as long as it lives, the link's messages go to `prompter` instead of the program's: a scan
// asks sixteen addresses and must not show a message box for each that keeps quiet.
class ScopedLinkPrompter {
 public:
  ScopedLinkPrompter(Link& link, Prompter& prompter)
      : relay_(link.relay_), previous_(std::exchange(relay_.target_, &prompter)) {}
  ~ScopedLinkPrompter() { relay_.target_ = previous_; }
  ScopedLinkPrompter(const ScopedLinkPrompter&) = delete;
  ScopedLinkPrompter& operator=(const ScopedLinkPrompter&) = delete;

 private:
  Link::PrompterRelay& relay_;
  Prompter* previous_;
};

// For as long as it lives, the link waits `seconds` for a reply instead of its 2 seconds.
class ScopedReplyTimeLimit {
 public:
  ScopedReplyTimeLimit(Link& link, double seconds)
      : limit_(link.reply_time_limit_), previous_(std::exchange(limit_, seconds)) {}
  ~ScopedReplyTimeLimit() { limit_ = previous_; }
  ScopedReplyTimeLimit(const ScopedReplyTimeLimit&) = delete;
  ScopedReplyTimeLimit& operator=(const ScopedReplyTimeLimit&) = delete;

 private:
  double& limit_;
  double previous_;
};

}  // namespace tarn

#endif  // TARN_LINK_LINK_H_
