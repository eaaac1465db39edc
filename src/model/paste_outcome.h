#ifndef TARN_MODEL_PASTE_OUTCOME_H_
#define TARN_MODEL_PASTE_OUTCOME_H_

#include <string_view>

namespace tarn {

inline constexpr std::string_view kNothingToPasteText = "Nothing to Paste";

// What a paste button leaves its dialog to do. A paste from an empty clipboard changes nothing;
// the dialog shows `message` (OK button) and stays open. Otherwise it closes.
struct PasteOutcome {
  bool pasted = false;
  std::string_view message;
};

inline constexpr PasteOutcome kPasted{true, {}};
inline constexpr PasteOutcome kNothingToPaste{false, kNothingToPasteText};

}  // namespace tarn

#endif  // TARN_MODEL_PASTE_OUTCOME_H_
