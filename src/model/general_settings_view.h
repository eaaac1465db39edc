#ifndef TARN_MODEL_GENERAL_SETTINGS_VIEW_H_
#define TARN_MODEL_GENERAL_SETTINGS_VIEW_H_

#include <span>
#include <string>
#include <string_view>

#include "model/general_settings.h"

// How the choices of the General tab show the general settings: which entry of an option group
// or list a stored value selects, what choosing an entry stores, and the names a screen reader
// speaks for the boxes that carry no caption of their own.

namespace tarn {

// The choices of the General tab. Each entry carries the index the Tarn's settings byte uses,
// which is also the index of the control in its array ("OptionGenSerialParity_3").
enum class GeneralChoice : std::uint8_t {
  kPacketRetention,  // OptGenDCC_PRP
  kSerialBitRate,    // ComboGenBaud
  kSerialDataBits,   // OptionGenSerialDatabits
  kSerialStopBits,   // OptionGenSerialStop
  kSerialParity,     // OptionGenSerialParity
};

struct ChoiceEntry {
  int index;
  std::string_view caption;
  std::string_view spoken;  // what a screen reader says for a bare number ("8 data bits")
};

// The control name of a choice's array, "OptGenDCC_PRP" and so on.
std::string_view GeneralChoiceName(GeneralChoice choice);

// The entries of a choice in the order they are shown. The parity has no entry 1: the Tarn's
// parity code 1 means nothing.
std::span<const ChoiceEntry> GeneralChoiceEntries(GeneralChoice choice);

// The entry the stored value selects. A value the Tarn would not be sent as it stands selects
// the entry that is sent for it: a packet retention past the four shows "250ms", a parity code
// other than 2 or 3 shows "No".
int SelectedChoice(GeneralChoice choice, const GeneralSettings& settings);

// Choosing entry `index`; an index that is no entry of the choice changes nothing.
void Choose(GeneralChoice choice, int index, GeneralSettings& settings);

// The pins a driver group covers as the user numbers them: "1..8" for group 0 from 1.
std::string DriverGroupPins(int group, int numbering_base);

// What a screen reader says for a Sink or Source box: "Group 1 Sink, pins 1..8".
std::string DriverBoxName(int group, bool source, int numbering_base);

// What a screen reader says for box `group` of the extended group mask: "Extended group 3".
std::string ExtendedGroupBoxName(int group);

}  // namespace tarn

#endif  // TARN_MODEL_GENERAL_SETTINGS_VIEW_H_
