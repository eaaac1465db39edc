#include "link/port_watch.h"

#include <algorithm>

namespace tarn {
namespace {

// "3 ttyUSB0" names ttyUSB0.
std::string NameOf(const std::string& text) {
  const std::size_t space = text.find(' ');
  return space == std::string::npos ? std::string() : text.substr(space + 1);
}

}  // namespace

void PortWatch::Offer(const std::vector<std::string>& probed) {
  list_ = probed;
  offered_.clear();
  for (const std::string& text : probed) offered_.insert(NameOf(text));
  seen_.clear();
  for (const ListedPort& port : catalogue_.ListPorts()) seen_.insert(port.name);
}

std::optional<std::vector<std::string>> PortWatch::Look() {
  const std::vector<ListedPort> listed = catalogue_.ListPorts();
  std::set<std::string> now;
  for (const ListedPort& port : listed) now.insert(port.name);

  if (link_.port_open()) {
    const std::string& open = link_.port_name();
    // A port the system never listed (a pseudo-terminal, a typed path) can only fail.
    link_.CheckPortStillThere(!seen_.contains(open) || now.contains(open));
  }

  for (const std::string& name : now) {
    if (!seen_.contains(name)) offered_.insert(name);  // plugged in
  }
  std::erase_if(offered_, [&now](const std::string& name) { return !now.contains(name); });
  seen_ = std::move(now);

  std::vector<std::string> list = ListTexts(listed);
  if (list == list_) return std::nullopt;
  list_ = list;
  return list;
}

std::vector<std::string> PortWatch::ListTexts(const std::vector<ListedPort>& listed) const {
  std::vector<std::string> texts;
  for (const ListedPort& port : listed) {
    if (offered_.contains(port.name)) texts.push_back(std::to_string(port.number) + " " + port.name);
  }
  return texts;
}

}  // namespace tarn
