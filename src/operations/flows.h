#ifndef TARN_OPERATIONS_FLOWS_H_
#define TARN_OPERATIONS_FLOWS_H_

#include <optional>
#include <string_view>
#include <vector>

#include "operations/differences.h"
#include "operations/session.h"

// The sequences of messages behind the read and write operations. Each stops at the first step
// that fails; what was received up to then stays in the model. The steps show their own
// messages; the flows add only those of "Read Device". With "Bidirectional Comm." on, a write
// step fails unless the Tarn confirmed it, so a write flow that succeeds was taken whole.

namespace tarn {

// What the window redraws after a flow, in this order.
enum class Refresh {
  kPinAddresses,      // recompute the address maps and show the current pin's addresses
  kAspectEditor,      // the aspect program of the current pin, with "Show Details" applied
  kDetailsView,       // the details view of the aspect editor
  kBusyLabelHidden,   // LabelAction
  kPinConfiguration,  // the pin configuration display of the current pin
};
using RefreshList = std::vector<Refresh>;

// Redrawn after "Read All", "Read Pin", "Read Device" and "Read All Devices", whatever the outcome.
RefreshList FullRefresh();

inline constexpr std::string_view kCannotReadDevicePointer = "Cannot read DevicePointer from Pin ";

class Flows {
 public:
  explicit Flows(Session& session) : session_(session) {}

  // One pin: layout, steps, initial aspect, addresses and (with_configuration) the pin
  // configuration. A configuration that could not be read does not stop the read; it is listed
  // as not read.
  bool ReadPin(int pin, bool with_configuration = true);
  bool WritePin(int pin, bool with_configuration = true);
  bool ReadAllPins();
  bool WriteAllPins();

  // Every pin whose device pointer leads to the head of the current pin's device.
  bool ReadDevice();
  bool WriteDevice();

  bool ReadAll();
  // Writes the module address settings last, and only when everything before succeeded.
  bool WriteAll();

  // "Read All Events": the event tables of every pin.
  bool ReadAllEvents();

  // Forgets what earlier reads went past; a flow starts with this.
  void ForgetNotRead();
  // What the reads since ForgetNotRead() went past without taking it into the model (a reply
  // that failed its check where the read goes on, a group the Tarn refused, a pin configuration
  // that did not come), in the order met. A read flow that succeeded but lists anything did not
  // read everything: its model is not a picture of the Tarn.
  std::vector<NotRead> TakeNotRead();
  // The groups the reads since ForgetNotRead() took whole into the model: each pin read to its
  // end, the events of every pin after "Read All Events". What they listed as not read is still
  // in here; a caller leaves it out.
  ChangedGroups TakeRead() { return std::exchange(read_, {}); }

 private:
  // The device heads the pointer bytes of `pin`'s address reply name, in reply order; nullopt
  // when no valid reply came.
  std::optional<std::vector<int>> NamedHeads(int pin);
  void Report(int done, int total, std::string_view what);

  Session& session_;
  std::vector<NotRead> pins_not_read_;
  ChangedGroups read_;
};

}  // namespace tarn

#endif  // TARN_OPERATIONS_FLOWS_H_
