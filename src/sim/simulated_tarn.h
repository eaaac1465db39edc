#ifndef TARN_SIM_SIMULATED_TARN_H_
#define TARN_SIM_SIMULATED_TARN_H_

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <vector>

#include "sim/direct_frame.h"
#include "sim/simulated_device.h"
#include "sim/tarn_memory.h"

namespace tarn::sim {

// The eight values that must follow 0x60, 0 before the Tarn erases its configuration memory.
using EraseUnlockCode = std::array<std::uint8_t, 8>;
inline constexpr EraseUnlockCode kDefaultEraseUnlockCode = {0x45, 0x72, 0x61, 0x73,
                                                            0x65, 0x21, 0x0D, 0x0A};

// Ways a test can make the Tarn misbehave. Each applies to the Tarn's next replies.
enum class Fault {
  kNoReply,           // keeps quiet
  kBadChecksum,       // the checksum byte does not close the frame
  kPreviousToggle,    // address byte with the other link toggle, as a late reply would carry
  kWrongEcho,         // first payload value (the echoed command) altered
  kLateReply,         // the reply starts only after late_reply_delay()
  kRefuseEventReads,  // Event-On / Event-Off reads answered with the echo alone
  kWrongTarget,       // second payload value (the echoed register or pin) altered
  kShortReply,        // the last payload value left off, and the count one lower
  kForeignAddress,    // address byte of the next module up, as a Tarn set to another address
};
inline constexpr int kFaultCount = 9;
// A fault that lasts until ClearFaults().
inline constexpr int kAlways = -1;

// Default delay of a late reply: past the program's 2-second limit.
inline constexpr double kLateReplyDelaySeconds = 2.5;

// What a Tarn answers to a write (and to a live-control message). The program may rely on nothing
// but the frame: the payload may be empty, hold the command alone, or echo the whole message.
enum class WriteAnswer { kEmpty, kCommand, kWholeMessage };

// When a poll gets the four-value report: at every poll, or only when something happened since
// the last report (the other polls are answered with an empty payload).
enum class PollReports { kWhenNew, kEveryPoll };

// How this Tarn fills in what the device contract leaves open. The defaults are the least the
// contract promises: empty answers to writes, reports only when one is due, no extended address
// byte in a reply, and an answer as soon as the request has arrived.
struct TarnChoices {
  WriteAnswer write_answer = WriteAnswer::kEmpty;
  PollReports poll_reports = PollReports::kWhenNew;
  // Repeats a request's extended address byte in the reply, which the program may check.
  bool reply_extended_address = false;
  // How long the Tarn thinks before its answer starts, plus a random share of `spread_seconds`
  // drawn from `seed`. The contract allows anything that ends within 2 seconds.
  double latency_seconds = 0.0;
  double spread_seconds = 0.0;
  std::uint32_t seed = 1;
};

// A Tarn on the direct bus under a module address (0..15). Every Tarn frame for its module whose
// header asks for a reply gets exactly one reply frame, with the request's address byte (link
// toggle included); what else the reply carries follows its TarnChoices. Frames carrying another
// extended address than the Tarn's own are ignored. Live-control messages and every Vesk frame heard are recorded
// for tests to inspect.
class SimulatedTarn : public SimulatedDevice {
 public:
  explicit SimulatedTarn(std::uint8_t module_address = 0, const TarnChoices& choices = {});

  void Receive(std::uint8_t byte, std::vector<std::uint8_t>& answer) override;
  double LastAnswerDelay() const override { return last_answer_delay_; }

  std::uint8_t module_address() const { return module_address_; }
  void set_module_address(std::uint8_t address) {
    module_address_ = static_cast<std::uint8_t>(address & 0x0F);
  }

  const TarnChoices& choices() const { return choices_; }
  void set_choices(const TarnChoices& choices);

  const EraseUnlockCode& erase_unlock_code() const { return erase_unlock_code_; }
  void set_erase_unlock_code(const EraseUnlockCode& code) { erase_unlock_code_ = code; }

  TarnMemory& memory() { return memory_; }
  const TarnMemory& memory() const { return memory_; }

  // Payloads of the live-control messages (command 0) in arrival order.
  const std::vector<std::vector<std::uint8_t>>& live_messages() const { return live_messages_; }
  // Every Vesk frame heard, whatever its module: first byte, then the three values.
  const std::vector<std::array<std::uint8_t, 4>>& vesk_frames() const { return vesk_frames_; }

  // `times` replies (or event reads, for kRefuseEventReads) get the fault; kAlways keeps it on.
  void InjectFault(Fault fault, int times = 1);
  // As InjectFault, from the reply numbered `reply` on (1 is the next one), so a test can break
  // the first, a middle or the last exchange of an operation.
  void InjectFaultAtReply(Fault fault, int reply, int times = 1);
  void ClearFaults() {
    faults_.fill(0);
    scheduled_.reset();
  }
  // How many replies the Tarn has been asked for (each frame that wants one, answered or not).
  int replies_asked() const { return replies_asked_; }
  double late_reply_delay() const { return late_reply_delay_; }
  void set_late_reply_delay(double seconds) { late_reply_delay_ = seconds; }

 private:
  void Handle(const DirectFrame& frame, std::vector<std::uint8_t>& answer);
  std::vector<std::uint8_t> Execute(std::span<const std::uint8_t> payload);
  void TakeLiveMessage(std::span<const std::uint8_t> payload);
  std::vector<std::uint8_t> WriteReply(std::span<const std::uint8_t> payload) const;
  std::vector<std::uint8_t> PollReport();
  double AnswerTime();
  void Reply(const DirectFrame& request, std::vector<std::uint8_t> payload,
             std::vector<std::uint8_t>& answer);
  // True when the fault is on for this use; counts the use.
  bool TakeFault(Fault fault);

  std::uint8_t module_address_;
  TarnChoices choices_;
  std::mt19937 random_;
  EraseUnlockCode erase_unlock_code_ = kDefaultEraseUnlockCode;
  TarnMemory memory_;
  DirectFrameDecoder decoder_;
  std::vector<std::vector<std::uint8_t>> live_messages_;
  std::vector<std::array<std::uint8_t, 4>> vesk_frames_;
  std::size_t live_messages_reported_ = 0;
  std::array<int, kFaultCount> faults_{};
  struct ScheduledFault {
    Fault fault;
    int at_reply;
    int times;
  };
  std::optional<ScheduledFault> scheduled_;
  int replies_asked_ = 0;
  double late_reply_delay_ = kLateReplyDelaySeconds;
  double last_answer_delay_ = 0.0;
};

}  // namespace tarn::sim

#endif  // TARN_SIM_SIMULATED_TARN_H_
