#ifndef TARN_OPERATIONS_SCHEDULER_H_
#define TARN_OPERATIONS_SCHEDULER_H_

#include <string>

#include "operations/flows.h"
#include "operations/operation_table.h"
#include "operations/verification.h"

namespace tarn {

// How an operation ended, for the window to follow.
struct OperationResult {
  Operation operation = Operation::kReadAll;
  bool succeeded = false;
  RefreshList refresh;  // what to redraw, in order
  // The verify operations: the report to show in the report window.
  bool shows_report = false;
  std::string report;
};

// What the window shows of the scheduler.
class SchedulerListener {
 public:
  virtual ~SchedulerListener() = default;
  // LabelAction, "  Working ... Please WAIT".
  virtual void BusyChanged(bool busy) = 0;
  virtual void OperationFinished(const OperationResult& result) = 0;
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

  // Runs one operation at once, as a tick would (tarnctl has no timer).
  OperationResult Run(Operation operation);

 private:
  void SetBusy(bool busy);

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
