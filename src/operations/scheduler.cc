#include "operations/scheduler.h"

#include "model/devices.h"

namespace tarn {

Scheduler::Scheduler(Session& session, SchedulerListener& listener)
    : session_(session), listener_(listener), flows_(session), verification_(session) {}

void Scheduler::SetBusy(bool busy) {
  if (busy_ == busy) return;
  busy_ = busy;
  listener_.BusyChanged(busy);
}

bool Scheduler::Press(Operation operation) {
  const OperationEntry& entry = EntryOf(operation);
  switch (entry.check) {
    case PressCheck::kPortOpen:
      if (!session_.link.port_open()) {
        session_.prompter.Show(kSelectPort);
        return false;
      }
      break;
    case PressCheck::kDeviceHead:
      if (IsBrokenReferral(session_.config(), session_.config().current_pin)) {
        session_.prompter.Show("Referral is not a device", PromptIcon::kWarning);
        return false;
      }
      break;
    case PressCheck::kNone:
      break;
  }
  SetBusy(true);
  pending_ = entry.name;
  return true;
}

bool Scheduler::Tick() {
  const std::string taken = std::move(pending_);
  pending_.clear();
  const std::optional<Operation> operation = OperationNamed(taken);
  if (!operation) return false;
  listener_.OperationFinished(Run(*operation));
  return true;
}

OperationResult Scheduler::Run(Operation operation) {
  OperationResult result;
  result.operation = operation;
  const int current = session_.config().current_pin;
  switch (operation) {
    case Operation::kReadAll:
      result.succeeded = flows_.ReadAll();
      result.refresh = FullRefresh();
      break;
    case Operation::kWriteAll:
      result.succeeded = flows_.WriteAll();
      break;
    case Operation::kReadPin:
      result.succeeded = flows_.ReadPin(current);
      result.refresh = FullRefresh();
      break;
    case Operation::kWritePin:
      result.succeeded = flows_.WritePin(current);
      break;
    case Operation::kReadPinAspects:
      result.succeeded = flows_.ReadPin(current, false);
      if (result.succeeded) result.refresh = {Refresh::kAspectEditor, Refresh::kDetailsView};
      break;
    case Operation::kWritePinAspects:
      result.succeeded = flows_.WritePin(current, false);
      break;
    case Operation::kReadDevice:
      result.succeeded = flows_.ReadDevice();
      result.refresh = FullRefresh();
      break;
    case Operation::kWriteDevice:
      result.succeeded = flows_.WriteDevice();
      break;
    case Operation::kReadAllPins:
      result.succeeded = flows_.ReadAllPins();
      result.refresh = FullRefresh();
      break;
    case Operation::kWriteAllPins:
      result.succeeded = flows_.WriteAllPins();
      break;
    case Operation::kReadAllEvents:
      result.succeeded = session_.events.ReadAll(session_.config().event_actions);
      break;
    case Operation::kWriteAllEvents:
      result.succeeded = session_.events.WriteAll(session_.config().event_actions);
      break;
    case Operation::kVerifyAll:
      result.succeeded = verification_.VerifyAll(report_);
      result.shows_report = true;
      break;
    case Operation::kVerifyAllPins:
      result.succeeded = verification_.VerifyAllPins(report_);
      result.shows_report = true;
      break;
    case Operation::kVerifyEvents:
      result.succeeded = verification_.VerifyEvents(report_);
      result.shows_report = true;
      break;
  }
  if (result.shows_report) result.report = report_.text();
  // Every operation, whatever its outcome, ends by hiding the busy label.
  SetBusy(false);
  return result;
}

}  // namespace tarn
