#include "operations/operation_table.h"

#include <algorithm>

namespace tarn {

const OperationEntry& EntryOf(Operation operation) {
  return *std::find_if(kOperationTable.begin(), kOperationTable.end(),
                       [operation](const OperationEntry& e) { return e.operation == operation; });
}

std::optional<Operation> OperationNamed(std::string_view name) {
  const auto* entry = std::find_if(kOperationTable.begin(), kOperationTable.end(),
                                   [name](const OperationEntry& e) { return e.name == name; });
  if (entry == kOperationTable.end()) return std::nullopt;
  return entry->operation;
}

OperationKind KindOf(Operation operation) {
  switch (operation) {
    case Operation::kReadAll:
    case Operation::kReadPin:
    case Operation::kReadDevice:
    case Operation::kReadAllPins:
    case Operation::kReadPinAspects:
    case Operation::kReadAllEvents:
      return OperationKind::kRead;
    case Operation::kWriteAll:
    case Operation::kWritePin:
    case Operation::kWriteDevice:
    case Operation::kWriteAllPins:
    case Operation::kWritePinAspects:
    case Operation::kWriteAllEvents:
      return OperationKind::kWrite;
    case Operation::kVerifyAll:
    case Operation::kVerifyAllPins:
    case Operation::kVerifyEvents:
      return OperationKind::kVerify;
  }
  return OperationKind::kRead;
}

}  // namespace tarn
