#ifndef TARN_OPERATIONS_LAYOUT_VIEW_H_
#define TARN_OPERATIONS_LAYOUT_VIEW_H_

#include <string>
#include <vector>

#include "link/link.h"
#include "model/address_assignment.h"
#include "model/device_configuration.h"
#include "operations/layout_folder.h"

// What the Layout window shows of a layout run, and what a row made current does to the link.

namespace tarn {

// The columns of a row, numbers shown as the link bar shows them (plus the numbering base).
struct LayoutRowTexts {
  std::string module_address;
  std::string extended_address;  // "-" without extended addressing
  std::string firmware;
  std::string id_string;  // Windows-1252
  std::string state;
};
LayoutRowTexts LayoutRow(const LayoutTarn& tarn, int numbering_base);

// The row of a Tarn the scan found, in the state "found"; and the rows of every one.
LayoutTarn TarnFound(const ScanEntry& entry);
std::vector<LayoutTarn> TarnsFound(const ScanResult& scan);

// The notes under the table: the bad answers of the scan, one line each ("module 5: garbled
// answer (...); not listed as a Tarn").
std::vector<std::string> BadAnswerLines(const ScanResult& scan, int numbering_base);

// A row made the current Tarn: its module address, and its extended address with extended
// addressing on (off without one), go into the link bar's fields through their confirmation, as
// if typed there. `changed` tells that the link now reaches another Tarn.
struct MadeCurrent {
  AddressRefresh refresh;
  bool changed = false;
};
MadeCurrent MakeLayoutTarnCurrent(const LayoutAddress& address, DeviceConfiguration& config,
                                  Link& link);

}  // namespace tarn

#endif  // TARN_OPERATIONS_LAYOUT_VIEW_H_
