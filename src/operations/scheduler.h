#ifndef TARN_OPERATIONS_SCHEDULER_H_
#define TARN_OPERATIONS_SCHEDULER_H_

#include <string>
#include <string_view>
#include <vector>

#include "operations/differences.h"
#include "operations/flows.h"
#include "operations/operation_table.h"
#include "operations/verification.h"

namespace tarn {

// The final lines of the operations.
inline constexpr std::string_view kWritten = "Written";
inline constexpr std::string_view kSentNotConfirmed = "Sent; not confirmed by the Tarn, run verify";
inline constexpr std::string_view kWriteStopped =
    "The write stopped; the Tarn now holds part of the configuration.";
inline constexpr std::string_view kReadDone = "Read";
inline constexpr std::string_view kSomethingNotRead =
    "The Tarn did not answer or refused these reads; they keep the values they had before:";
inline constexpr std::string_view kReadStopped = "The read stopped; what came before it was kept.";
inline constexpr std::string_view kVerifyFailed = "Verification failed; see the report";

// How an operation ended, for the window to follow.
struct OperationResult {
  Operation operation = Operation::kReadAll;
  // "Write Changes": told as "Write All" (operation), of which it wrote only what differed.
  bool changes_only = false;
  // The operation ran to its end and the Tarn confirmed all of it: every write answered, every
  // read taken whole, the verification passed. Only then may anything say so.
  bool succeeded = false;
  // It ran to its end, but the Tarn did not confirm everything: writes sent with "Bidirectional
  // Comm." off, or the reads listed in not_read.
  bool unconfirmed = false;
  // The port went away with its adapter during the operation. That message was the one shown;
  // the summary still says how the operation ended.
  bool port_lost = false;
  std::vector<std::string> not_read;  // "the DCC options", "the configuration of pin 6"
  // A read: the groups it took whole from the Tarn, whatever its outcome. A pin it listed
  // anything of as not read is left out whole.
  ChangedGroups read;
  std::string summary;                // the final line: "Written", kSentNotConfirmed, ...
  RefreshList refresh;                // what to redraw, in order
  // The verify operations: the report to show in the report window.
  bool shows_report = false;
  std::string report;
};

// A read, write or verification of the whole Tarn that the Tarn confirmed all of ("Write
// Changes" included: what it did not write was the Tarn's already). Afterwards the Tarn holds
// what the window holds.
bool ConfirmsWholeTarn(const OperationResult& result);

// What the window shows of the scheduler.
class SchedulerListener {
 public:
  virtual ~SchedulerListener() = default;
  // LabelAction, "  Working ... Please WAIT".
  virtual void BusyChanged(bool /*busy*/) {}
  virtual void OperationFinished(const OperationResult& /*result*/) {}
};

inline constexpr std::string_view kBusyCaption = "  Working ... Please WAIT";
inline constexpr int kTickMilliseconds = 200;

// A button never talks to the Tarn: it records its operation in a single pending slot and shows
// the busy label; the window's 200 ms timer calls Tick(), which empties the slot first and runs
// the operation to its end. A second press before the tick replaces the first.
class Scheduler {
 public:
  Scheduler(Session& session, SchedulerListener& listener);

  // Returns whether the operation was scheduled; a failed press check has shown its message.
  bool Press(Operation operation);
  // Runs what the slot holds, if anything. Returns whether an operation ran.
  bool Tick();

  const std::string& pending() const { return pending_; }
  bool busy() const { return busy_; }

  // Runs one operation at once, as a tick would (tarnctl has no timer). A write that stopped and
  // a read that went past something are told through the Prompter here; the summary is the
  // final line.
  OperationResult Run(Operation operation);

  // "Write Changes" of the groups `changed` names, run at once with the busy label on and told
  // like "Write All". It is not one of the table's operations: what it writes is decided when it
  // is pressed, so it has no name to leave in the pending slot.
  OperationResult RunWriteChanges(const ChangedGroups& changed);

 private:
  void SetBusy(bool busy);
  bool RunFlow(Operation operation, OperationResult& result);
  void Conclude(OperationResult& result, bool ran, bool writes_confirmed);

  Session& session_;
  SchedulerListener& listener_;
  Flows flows_;
  Verification verification_;
  VerificationReport report_;
  std::string pending_;
  bool busy_ = false;
};

}  // namespace tarn

#endif  // TARN_OPERATIONS_SCHEDULER_H_
