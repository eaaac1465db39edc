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

}  // namespace tarn
