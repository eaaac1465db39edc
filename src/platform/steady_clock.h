#ifndef TARN_PLATFORM_STEADY_CLOCK_H_
#define TARN_PLATFORM_STEADY_CLOCK_H_

#include <chrono>

#include "host/clock.h"

namespace tarn {

// Seconds since the clock was made, from a clock that never jumps.
class SteadyClock : public Clock {
 public:
  double Now() override;
  void SleepFor(int milliseconds) override;

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace tarn

#endif  // TARN_PLATFORM_STEADY_CLOCK_H_
