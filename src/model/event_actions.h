#ifndef TARN_MODEL_EVENT_ACTIONS_H_
#define TARN_MODEL_EVENT_ACTIONS_H_

#include <array>
#include <cstdint>

#include "model/model_limits.h"

namespace tarn {

inline constexpr std::int16_t kNoEventAction = -1;

// What one pin does when each event input goes on or off: an aspect 0..11, or kNoEventAction.
// The start values are those of the event control fields, which start-up copies to every pin.
struct PinEventActions {
  std::array<std::int16_t, kEventInputCount> on = {0, 1, 2, 3};
  std::array<std::int16_t, kEventInputCount> off = {kNoEventAction, kNoEventAction, kNoEventAction,
                                                    kNoEventAction};

  friend bool operator==(const PinEventActions&, const PinEventActions&) = default;
};

using EventActions = std::array<PinEventActions, kPinCount>;

}  // namespace tarn

#endif  // TARN_MODEL_EVENT_ACTIONS_H_
