#include "operations/layout_view.h"

#include <algorithm>

#include "operations/link_address_fields.h"

namespace tarn {

LayoutRowTexts LayoutRow(const LayoutTarn& tarn, int numbering_base) {
  const std::optional<int>& extended = tarn.address.extended_address;
  return {std::to_string(tarn.address.module_address + numbering_base),
          extended ? std::to_string(*extended + numbering_base) : "-", tarn.firmware,
          tarn.id_string, std::string(LayoutStateText(tarn.state))};
}

LayoutTarn TarnFound(const ScanEntry& entry) {
  LayoutTarn tarn;
  tarn.address = entry.address;
  tarn.firmware = entry.firmware;
  tarn.id_string = entry.id_string;
  return tarn;
}

std::vector<LayoutTarn> TarnsFound(const ScanResult& scan) {
  std::vector<LayoutTarn> tarns;
  for (const ScanEntry& entry : scan.Found()) tarns.push_back(TarnFound(entry));
  return tarns;
}

std::vector<std::string> BadAnswerLines(const ScanResult& scan, int numbering_base) {
  std::vector<std::string> lines;
  for (const ScanEntry& bad : scan.BadAnswers()) {
    lines.push_back(LayoutAddressText(bad.address, numbering_base) + ": " +
                    std::string(ScanOutcomeText(bad.outcome)) + " (" + bad.detail +
                    "); not listed as a Tarn");
  }
  return lines;
}

MadeCurrent MakeLayoutTarnCurrent(const LayoutAddress& address, DeviceConfiguration& config,
                                  Link& link) {
  const LinkAddressing before = link.addressing();
  const int base = NumberingBase(config);
  MadeCurrent made;
  made.refresh = SwitchLinkExtendedAddressing(address.extended_address.has_value(), link);
  made.refresh = made.refresh | ConfirmAddressField(AddressField::kModuleAddress,
                                                    std::to_string(address.module_address + base),
                                                    config, link)
                                    .refresh;
  if (address.extended_address) {
    made.refresh =
        made.refresh | ConfirmAddressField(AddressField::kLinkExtendedAddress,
                                           std::to_string(*address.extended_address + base), config,
                                           link)
                           .refresh;
  }
  made.changed = !(link.addressing() == before);
  return made;
}

}  // namespace tarn
