#ifndef TARN_MODEL_PIN_PROGRAM_H_
#define TARN_MODEL_PIN_PROGRAM_H_

#include "model/pin_record.h"

namespace tarn {

// Empties the description and zeroes steps 0..8; the spare step slot stays as it is.
void ClearAspectProgram(Aspect& aspect);

// Empties the descriptions of aspects 0..11 and zeroes steps 0..8 of each, so that a loader can
// fill in only what its file holds. Layout, initial aspect and the spare slots stay as they are.
void ClearPinProgram(PinRecord& pin);

}  // namespace tarn

#endif  // TARN_MODEL_PIN_PROGRAM_H_
