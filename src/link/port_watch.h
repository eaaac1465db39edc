#ifndef TARN_LINK_PORT_WATCH_H_
#define TARN_LINK_PORT_WATCH_H_

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/port_catalogue.h"
#include "link/link.h"

namespace tarn {

// Keeps the port list in step with the system's catalogue as adapters are plugged in and pulled
// out, and notices an open port that went with its adapter while the line was quiet.
class PortWatch {
 public:
  PortWatch(PortCatalogue& catalogue, Link& link) : catalogue_(catalogue), link_(link) {}

  // The list as the start-up probe or "Refresh" made it ("1 ttyUSB0", ...). A port the probe left
  // out (one that would not open) stays out until it is plugged in anew.
  void Offer(const std::vector<std::string>& probed);

  // One look at the catalogue. Ports that appeared since the last look join the list, those that
  // left it leave, and every entry is numbered as the catalogue numbers it now. Returns the new
  // list when it differs from the one offered before. An open port that left the catalogue, or
  // that failed with nothing sent, is gone: the link says so once and closes it.
  std::optional<std::vector<std::string>> Look();

 private:
  std::vector<std::string> ListTexts(const std::vector<ListedPort>& listed) const;

  PortCatalogue& catalogue_;
  Link& link_;
  std::set<std::string> seen_;     // the names the catalogue listed at the last look
  std::set<std::string> offered_;  // the names the list offers
  std::vector<std::string> list_;
};

}  // namespace tarn

#endif  // TARN_LINK_PORT_WATCH_H_
