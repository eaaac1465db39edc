#include "operations/scheduler.h"

#include <algorithm>

#include "model/devices.h"
#include "operations/write_changes.h"

namespace tarn {

bool ConfirmsWholeTarn(const OperationResult& result) {
  const bool whole = result.operation == Operation::kReadAll ||
                     result.operation == Operation::kWriteAll ||
                     result.operation == Operation::kVerifyAll;
  return whole && result.succeeded;
}

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
  session_.link.ForgetPortLoss();
  flows_.ForgetNotRead();
  // Taken before the flow: the reads in it switch "Bidirectional Comm." on.
  const bool writes_confirmed = session_.link.bidirectional();
  const bool ran = RunFlow(operation, result);
  Conclude(result, ran, writes_confirmed);
  if (result.shows_report) result.report = report_.text();
  // Every operation, whatever its outcome, ends by hiding the busy label.
  SetBusy(false);
  return result;
}

OperationResult Scheduler::RunWriteChanges(const ChangedGroups& changed) {
  OperationResult result;
  result.operation = Operation::kWriteAll;
  result.changes_only = true;
  session_.link.ForgetPortLoss();
  SetBusy(true);
  const bool writes_confirmed = session_.link.bidirectional();
  const bool ran = WriteChanges(session_, changed);
  Conclude(result, ran, writes_confirmed);
  SetBusy(false);
  return result;
}

bool Scheduler::RunFlow(Operation operation, OperationResult& result) {
  const int current = session_.config().current_pin;
  switch (operation) {
    case Operation::kReadAll:
      result.refresh = FullRefresh();
      return flows_.ReadAll();
    case Operation::kWriteAll:
      return flows_.WriteAll();
    case Operation::kReadPin:
      result.refresh = FullRefresh();
      return flows_.ReadPin(current);
    case Operation::kWritePin:
      return flows_.WritePin(current);
    case Operation::kReadPinAspects:
      if (!flows_.ReadPin(current, false)) return false;
      result.refresh = {Refresh::kAspectEditor, Refresh::kDetailsView};
      return true;
    case Operation::kWritePinAspects:
      return flows_.WritePin(current, false);
    case Operation::kReadDevice:
      result.refresh = FullRefresh();
      return flows_.ReadDevice();
    case Operation::kWriteDevice:
      return flows_.WriteDevice();
    case Operation::kReadAllPins:
      result.refresh = FullRefresh();
      return flows_.ReadAllPins();
    case Operation::kWriteAllPins:
      return flows_.WriteAllPins();
    case Operation::kReadAllEvents:
      return flows_.ReadAllEvents();
    case Operation::kWriteAllEvents:
      return session_.events.WriteAll(session_.config().event_actions);
    case Operation::kVerifyAll:
      result.shows_report = true;
      return verification_.VerifyAll(report_);
    case Operation::kVerifyAllPins:
      result.shows_report = true;
      return verification_.VerifyAllPins(report_);
    case Operation::kVerifyEvents:
      result.shows_report = true;
      return verification_.VerifyEvents(report_);
  }
  return false;
}

void Scheduler::Conclude(OperationResult& result, bool ran, bool writes_confirmed) {
  Prompter& prompter = session_.prompter;
  result.port_lost = session_.link.port_lost();
  switch (KindOf(result.operation)) {
    case OperationKind::kRead: {
      const int base = session_.config().numbering_base;
      result.read = flows_.TakeRead();
      for (const NotRead& item : flows_.TakeNotRead()) {
        result.not_read.push_back(NotReadText(item, base));
        for (int pin = std::max(item.first_pin, 0); pin <= item.last_pin && pin < kPinCount;
             ++pin) {
          result.read.pins[pin] = {};
        }
      }
      if (!ran) {
        result.summary = kReadStopped;
        return;
      }
      if (result.not_read.empty()) {
        result.succeeded = true;
        result.summary = kReadDone;
        return;
      }
      // The read went past what it could not take: say what still holds older values.
      result.unconfirmed = true;
      std::string lines;
      std::string joined;
      for (const std::string& item : result.not_read) {
        lines += "\n- " + item;
        joined += (joined.empty() ? "" : "; ") + item;
      }
      prompter.Show(std::string(kSomethingNotRead) + lines, PromptIcon::kWarning);
      result.summary = std::string(kReadDone) + ", except " + joined;
      return;
    }
    case OperationKind::kWrite:
      if (!ran) {
        // A port gone with its adapter has been told of, once, and that is the one message.
        if (!result.port_lost) prompter.Show(kWriteStopped, PromptIcon::kWarning);
        result.summary = kWriteStopped;
      } else if (writes_confirmed) {
        result.succeeded = true;
        result.summary = kWritten;
      } else {
        result.unconfirmed = true;
        result.summary = kSentNotConfirmed;
      }
      return;
    case OperationKind::kVerify:
      result.succeeded = ran;
      result.summary = ran ? kVerifyOk : kVerifyFailed;
      return;
  }
}

}  // namespace tarn
