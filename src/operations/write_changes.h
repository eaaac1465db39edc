#ifndef TARN_OPERATIONS_WRITE_CHANGES_H_
#define TARN_OPERATIONS_WRITE_CHANGES_H_

#include <string>
#include <string_view>

#include "operations/differences.h"
#include "operations/session.h"

// "Write Changes": after the window has read, written or verified all of a Tarn, a change of one
// step need not wait for "Write All". Only the groups that differ are sent, in the order of
// "Write All" and with its stop rules.

namespace tarn {

inline constexpr std::string_view kWriteChangesCaption = "Write Changes";
inline constexpr std::string_view kNoPictureQuestion =
    "The window does not know what the Tarn holds: nothing has been read, written or verified "
    "in full since the port or the address was chosen.\n\nWrite All instead?";
inline constexpr std::string_view kNothingToWrite =
    "Nothing to write: the Tarn holds what the window shows.";
inline constexpr std::string_view kOnlyTextsDiffer =
    "Nothing to write: only descriptions and device names differ, and the Tarn keeps none of "
    "them. Save them in a configuration file.";

// Writes the groups `changed` names: the ID string, DCC, LED, hardware and serial port settings,
// then pin by pin its layout, initial aspect, addresses, the changed aspects (every step of
// each) and its configuration, then the changed pins' events, the enable map, and the module
// address settings last. Stops at the first write that fails, so that the module address
// changes only when everything before it was written. Nothing to write succeeds at once.
bool WriteChanges(Session& session, const ChangedGroups& changed);

// The message that a "Write Changes" with nothing to write shows.
std::string_view NothingToWriteText(const ChangedGroups& changed);

// What the window marks: which main tab holds a difference, and how many groups would be
// written.
struct DifferenceSummary {
  bool general = false;  // "General": ID string, DCC, LED, hardware, serial port, addressing
  bool events = false;   // "Tarn Event Control": events and the enable map
  bool pins = false;     // "Tarn Device Configuration": a pin's program, addresses, configuration
  int groups = 0;

  friend bool operator==(const DifferenceSummary&, const DifferenceSummary&) = default;
};
DifferenceSummary SummarizeChanges(const ChangedGroups& changed);

// "3 groups differ from the Tarn", "The Tarn holds what the window shows", or, without a
// picture, "What the Tarn holds is not known".
std::string DifferenceSummaryText(bool known, const DifferenceSummary& summary);

// "Pin 4 differs from the Tarn" (pin shown plus `numbering_base`) when a group of `pin` that the
// device tab shows differs: its layout, initial aspect, addresses, an aspect or its configuration
// (its events belong to the event control tab). Empty otherwise.
std::string PinDifferenceText(const ChangedGroups& changed, int pin, int numbering_base);

}  // namespace tarn

#endif  // TARN_OPERATIONS_WRITE_CHANGES_H_
