#ifndef TARN_OPERATIONS_OPERATION_TABLE_H_
#define TARN_OPERATIONS_OPERATION_TABLE_H_

#include <array>
#include <optional>
#include <string_view>

namespace tarn {

// The fifteen long operations of the main window, started through the scheduler.
enum class Operation {
  kReadAll,
  kWriteAll,
  kVerifyAll,
  kReadPin,
  kWritePin,
  kReadDevice,
  kWriteDevice,
  kReadAllPins,
  kWriteAllPins,
  kReadPinAspects,
  kWritePinAspects,
  kVerifyAllPins,
  kWriteAllEvents,
  kReadAllEvents,
  kVerifyEvents,
};

// What an operation does with the Tarn, which decides how its end is told.
enum class OperationKind { kRead, kWrite, kVerify };
OperationKind KindOf(Operation operation);

// What a button press checks before it schedules its operation.
enum class PressCheck { kNone, kPortOpen, kDeviceHead };

struct OperationEntry {
  Operation operation;
  std::string_view button;   // the control's name
  std::string_view caption;  // its text
  std::string_view name;     // what the pending slot holds
  PressCheck check;
};

inline constexpr std::array<OperationEntry, 15> kOperationTable = {{
    {Operation::kReadAll, "CommandReadAll", "Read All", "ReadAll", PressCheck::kNone},
    {Operation::kWriteAll, "CommandWriteAll", "Write All", "WriteAll", PressCheck::kNone},
    {Operation::kVerifyAll, "CommandVerifyAll", "Verify All", "VerifyAll", PressCheck::kPortOpen},
    {Operation::kReadPin, "CommandReadPin", "Read Pin", "ReadPin", PressCheck::kNone},
    {Operation::kWritePin, "CommandWritePin", "Write Pin", "WritePin", PressCheck::kNone},
    {Operation::kReadDevice, "CommandReadDevice", "Read Device", "ReadDevice", PressCheck::kNone},
    {Operation::kWriteDevice, "CommandWriteDevice", "Write Device", "WriteDevice",
     PressCheck::kDeviceHead},
    {Operation::kReadAllPins, "CommandReadAllPins", "Read All Devices", "ReadAllPins",
     PressCheck::kNone},
    {Operation::kWriteAllPins, "CommandWriteAllPins", "Write All Devices", "WriteAllPins",
     PressCheck::kNone},
    {Operation::kReadPinAspects, "CommandPAspReadPin", "Read Asp's", "PAspReadPin",
     PressCheck::kNone},
    {Operation::kWritePinAspects, "CommandPAspWritePin", "Write Asp's", "PAspWritePin",
     PressCheck::kNone},
    {Operation::kVerifyAllPins, "CommandVerifyAllPins", "Verify All Pins", "VerifyAllPins",
     PressCheck::kPortOpen},
    {Operation::kWriteAllEvents, "CommandECWrite", "Write All Events", "ECWriteAll",
     PressCheck::kNone},
    {Operation::kReadAllEvents, "CommandECRead", "Read All Events", "ECReadAll", PressCheck::kNone},
    {Operation::kVerifyEvents, "CommandECVerify", "Verify Event Control", "ECVerify",
     PressCheck::kPortOpen},
}};

const OperationEntry& EntryOf(Operation operation);
// Names are compared exactly, case included.
std::optional<Operation> OperationNamed(std::string_view name);

}  // namespace tarn

#endif  // TARN_OPERATIONS_OPERATION_TABLE_H_
