#ifndef TARN_UI_WINDOW_CONTEXT_H_
#define TARN_UI_WINDOW_CONTEXT_H_

#include <QObject>
#include <QPointer>
#include <concepts>
#include <functional>
#include <string_view>
#include <utility>

#include "files/device_library.h"
#include "link/link.h"
#include "model/address_assignment.h"
#include "operations/differences.h"
#include "operations/edit_history.h"
#include "operations/flows.h"
#include "operations/operation_table.h"
#include "operations/scheduler.h"
#include "operations/session.h"
#include "operations/workspace.h"
#include "protocol/live_control.h"
#include "protocol/monitor.h"
#include "ui/file_chooser.h"

// What every tab, window and dialog of the main window reaches: the core objects the window owns,
// and the window itself through WindowHost, which routes what one view changed to the others.

namespace tarn::ui {

// A tab or window that shows the model. The main window calls these; a view never calls another.
class View {
 public:
  virtual ~View() = default;
  // Everything from the model: after a file load, an undo, a read that may have changed anything.
  virtual void ShowAll() {}
  // The address displays and fields named (a confirm's AddressRefresh, a flow's kPinAddresses).
  virtual void ShowAddresses(const AddressRefresh& /*refresh*/) {}
  // One entry of a flow's refresh list.
  virtual void ApplyRefresh(Refresh /*what*/) {}
  // Expert mode or "Show Details" changed.
  virtual void ApplyVisibility() {}
  // What differs from the picture the window keeps of the Tarn (after a read, a write or a
  // verification of all of it); nothing differs when there is no picture.
  virtual void ShowDifferences(const ChangedGroups& /*changed*/) {}
};

class WindowHost {
 public:
  virtual ~WindowHost() = default;

  // An edit by the user: `apply` changes the workspace, at once. The change is kept for undo under
  // `name` ("Paste Pin") and marks the title as unsaved. While an operation runs the controls are
  // disabled, so no edit comes then.
  virtual void Edit(std::string_view name, const std::function<void()>& apply) = 0;
  // An edit of a field that stores each keystroke (a description): the keystrokes that follow one
  // another in the field named `name` are undone as one edit.
  virtual void EditTyping(std::string_view name, const std::function<void()>& apply) = 0;

  // What is typed into the field that has the focus takes effect, as leaving the field would; the
  // focus stays. Everything that takes the whole model (an operation, a save, an undo, closing)
  // does this first, so nothing typed is lost or left out.
  virtual void CommitTypedEntry() = 0;

  // A short exchange with the Tarn, run at once ("Read String"): the other controls are disabled
  // while it runs, painting and "Stop" go on, and a change it made to the model is kept for undo
  // under `name`. Returns the exchange's result; false, without running it, while another
  // exchange runs.
  virtual bool Exchange(std::string_view name, const std::function<bool()>& exchange) = 0;
  // An exchange the window runs without disabling the controls: the traffic monitor's poll and
  // the live messages (a press on the "Test" tab, a slider dragged: the window does not flash at
  // every message). busy() is true meanwhile, so that Timer1 and every other tick that comes
  // during its wait for the reply leave the line alone, and what the user asks for meanwhile is
  // held (Request). Not kept for undo. Returns the exchange's result; false, without running it,
  // while anything else runs.
  virtual bool BackgroundExchange(const std::function<bool()>& exchange) = 0;

  // A button of the operation table: the scheduler's press, run at the next tick.
  virtual void PressOperation(Operation operation) = 0;
  // A short read took the groups `read` names whole from the Tarn into the model: the picture of
  // the Tarn holds them too, so that "Write Changes" does not send them back.
  virtual void TookFromTarn(const ChangedGroups& read) = 0;

  virtual void ShowAddresses(const AddressRefresh& refresh) = 0;
  // Routes a refresh list to every view, in order (kPinConfiguration after a Sink or Source box
  // changed, say).
  virtual void Redraw(const RefreshList& list) = 0;
  virtual void ShowEverything() = 0;
  virtual void ApplyVisibility() = 0;

  // The port, the module address or the extended address changed: the window forgets what it
  // knew of the Tarn it talked to.
  virtual void LinkTargetChanged() = 0;

  virtual bool expert_mode() const = 0;
  // True while an operation or a short exchange runs.
  virtual bool busy() const = 0;

  // What the user or a screen reader asked for: it runs at once, or, while an exchange waits for
  // its reply, when the exchange has ended, in the order asked. A screen reader's action reaches
  // a control directly, not as an input event the wait could hold back, so every control's
  // reaction comes through here (ConnectRequest) and none runs inside an exchange.
  virtual void Request(const std::function<void()>& request) = 0;
};

// What ConnectRequest connects: the slot, handed to WindowHost::Request with the signal's values
// as they were when it was emitted, and not run once its receiver is gone.
template <typename Slot>
struct RequestedSlot {
  WindowHost* host;
  QPointer<QObject> receiver;
  Slot slot;

  template <typename... Values>
  requires std::invocable<const Slot&, Values...>
  void operator()(Values... values) const {
    host->Request([receiver = receiver, slot = slot, values...] {
      if (receiver) slot(values...);
    });
  }
};

// Connects `signal` of `sender` to `slot` through WindowHost::Request.
template <typename Sender, typename Signal, typename Slot>
QMetaObject::Connection ConnectRequest(WindowHost& host, Sender* sender, Signal signal,
                                       QObject* receiver, Slot slot) {
  return QObject::connect(sender, signal, receiver,
                          RequestedSlot<Slot>{&host, QPointer<QObject>(receiver), std::move(slot)});
}

struct WindowContext {
  Workspace& workspace;
  Link& link;
  Clock& clock;
  Prompter& prompter;
  Session& session;
  Scheduler& scheduler;
  LiveControl& live;
  TrafficMonitor& monitor;
  FileChooser& files;
  DeviceList& devices;
  EditHistory& history;
  WindowHost& host;

  DeviceConfiguration& config() { return workspace.config; }
  int numbering_base() const { return NumberingBase(workspace.config); }
};

}  // namespace tarn::ui

#endif  // TARN_UI_WINDOW_CONTEXT_H_
