#ifndef TARN_MODEL_STEP_TIME_H_
#define TARN_MODEL_STEP_TIME_H_

#include <string>

#include "model/step.h"

namespace tarn {

// The Tarn counts waiting time in ticks of 1/50 s.
inline constexpr int kTicksPerSecond = 50;
inline constexpr int kMaxWaitTime = 63;
inline constexpr int kMaxWaitBase = 3;

// time x 8^base ticks. Inputs are taken as bytes: a base above 3 counts as 3, a time above 255
// as 255 and negative inputs as 0, so a stray value from a device or a file cannot overflow.
int WaitTicks(int time, int base);

// How long a step waits: p3 x 8^p4 ticks for opcodes 64 and up, 0 for all others.
int StepTicks(const Step& step);

// "mm:ss.hh": minutes (two digits at least, no upper cap), seconds, hundredths. A negative count
// shows as 0.
std::string TicksText(int ticks);

std::string StepTimeText(const Step& step);

}  // namespace tarn

#endif  // TARN_MODEL_STEP_TIME_H_
