#ifndef TARN_OPERATIONS_TARN_PICTURE_H_
#define TARN_OPERATIONS_TARN_PICTURE_H_

#include <compare>
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <vector>

#include "operations/differences.h"
#include "operations/workspace.h"

// What the window knows of what the Tarn holds. It learns the whole after a read, a write or a
// verification of all of it, and every write message afterwards, one by one: a write the Tarn
// confirmed puts what it carried into the picture; any other leaves that item unknown, and an
// unknown item counts as a difference until a confirmed write, or a read, write or verification
// of everything, settles it. So a write that stopped half way, a short write of one group and
// a write sent with "Bidirectional Comm." off never leave the picture claiming more than the
// Tarn confirmed.

namespace tarn {

// One thing a write message sets in a Tarn.
struct TarnItem {
  enum class Kind : std::uint8_t {
    kRegister,              // a general register (0x60 and the register)
    kPinConfiguration,      // 0x61
    kAspectLayout,          // 0x62
    kStep,                  // 0x63: one step of one aspect
    kInitialAspect,         // 0x64, the byte of slot 7
    kEventOn,               // 0x64, the bytes of slots 0..3
    kEventOff,              // 0x65
    kAddressConfiguration,  // 0x66
  };

  Kind kind = Kind::kRegister;
  int target = 0;  // the register, or the pin
  int aspect = -1;
  int step = -1;

  friend auto operator<=>(const TarnItem&, const TarnItem&) = default;
};

// What one write message sets.
struct WrittenItems {
  std::vector<TarnItem> items;
  // The Tarn may hold what the message carried without keeping it: "Set Pin Config" (0x41)
  // sets the configuration the pin runs with, which a confirmation does not make the Tarn's.
  bool kept = true;
  // Afterwards the Tarn holds something no picture can follow: "Erase Flash", or a message of
  // no known meaning.
  bool beyond_picture = false;
};
WrittenItems ItemsWrittenBy(std::span<const std::uint8_t> payload);

// The items that make up the groups `groups` names; a pin's aspects as far as its layout in
// `workspace` reaches.
std::vector<TarnItem> ItemsOfGroups(const ChangedGroups& groups, const Workspace& workspace);

class TarnPicture {
 public:
  bool known() const { return tarn_.has_value(); }
  const std::optional<Workspace>& tarn() const { return tarn_; }

  // The port, the module address or the link changed, or the Tarn was erased.
  void Forget();
  // After a read, a write or a verification of all of it: the Tarn holds `workspace`.
  void TakeOver(const Workspace& workspace);
  // A write message went out, encoded from `sent_from`.
  void NoteWrite(std::span<const std::uint8_t> payload, bool confirmed, const Workspace& sent_from);
  // A read of part of the Tarn took the groups `read` names whole into `read_into`: the picture
  // holds them as read, the rest as it was. Without a picture there is nothing to add them to:
  // what the Tarn holds beyond them stays unknown.
  void TakeOverRead(const ChangedGroups& read, const Workspace& read_into);

  // The groups a "Write Changes" sends for `edited`: those that differ from the picture and
  // those holding an item the Tarn did not confirm. Nothing without a picture.
  ChangedGroups Changes(const Workspace& edited) const;

 private:
  std::optional<Workspace> tarn_;
  std::set<TarnItem> unconfirmed_;
};

}  // namespace tarn

#endif  // TARN_OPERATIONS_TARN_PICTURE_H_
