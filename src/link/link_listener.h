#ifndef TARN_LINK_LINK_LISTENER_H_
#define TARN_LINK_LINK_LISTENER_H_

#include <cstdint>
#include <span>
#include <string_view>

namespace tarn {

// What a window shows of the link follows these calls. Every call has an empty default, so a
// listener overrides only what it shows.
class LinkListener {
 public:
  virtual ~LinkListener() = default;
  virtual void PortOpenChanged(bool /*open*/) {}
  virtual void BidirectionalChanged(bool /*on*/) {}                // "Bidirectional Comm."
  virtual void TunnellingChanged(bool /*on*/) {}                   // "Use Tolvik Tunneling"
  virtual void TransparentButtonShown(bool /*shown*/) {}           // cmdSetTM
  virtual void ResponseTextChanged(std::string_view /*text*/) {}   // TextResponse
  virtual void CommunicationLogLine(std::string_view /*line*/) {}  // frmTolvikComm
  // A message that changes what the Tarn keeps went out. `confirmed`: the Tarn answered it with
  // its echo; otherwise it may or may not have taken it (no reply, a wrong one, "Bidirectional
  // Comm." off, the port failing on the way).
  virtual void TarnWriteSent(std::span<const std::uint8_t> /*payload*/, bool /*confirmed*/) {}
};

}  // namespace tarn

#endif  // TARN_LINK_LINK_LISTENER_H_
