#ifndef TARN_HOST_PORT_CATALOGUE_H_
#define TARN_HOST_PORT_CATALOGUE_H_

#include <string>
#include <vector>

namespace tarn {

// A serial port the system lists, under the number the port list shows it with.
struct ListedPort {
  int number = 0;
  std::string name;
  friend bool operator==(const ListedPort&, const ListedPort&) = default;
};

// The serial ports the system lists right now, in number order, found without opening any: the
// port list follows it as adapters are plugged in and pulled out. Its numbers are those that
// SerialPort::PortName() answers to.
class PortCatalogue {
 public:
  virtual ~PortCatalogue() = default;
  virtual std::vector<ListedPort> ListPorts() = 0;
};

}  // namespace tarn

#endif  // TARN_HOST_PORT_CATALOGUE_H_
