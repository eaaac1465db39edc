#ifndef TARN_MODEL_STEP_EDITING_H_
#define TARN_MODEL_STEP_EDITING_H_

#include <cstdint>

#include "model/device_configuration.h"

namespace tarn {

// The last step the editor shows for a layout byte: 8 for four aspects, 2 for anything else.
int LastStepOfLayout(std::uint8_t layout);

// The "Edit Step" tools on step `step` of the current aspect, within the steps the current pin's
// layout shows. A step beyond them changes nothing.

// Moves the steps from `step` on one place down; the last one falls off and `step` is emptied.
void InsertStep(DeviceConfiguration& config, int step);

// Moves the steps after `step` one place up; the last one is emptied.
void DeleteStep(DeviceConfiguration& config, int step);

}  // namespace tarn

#endif  // TARN_MODEL_STEP_EDITING_H_
