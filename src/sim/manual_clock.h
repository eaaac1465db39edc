#ifndef TARN_SIM_MANUAL_CLOCK_H_
#define TARN_SIM_MANUAL_CLOCK_H_

#include "host/clock.h"

namespace tarn::sim {

// A clock that moves only when told to. A sleep moves it at once, so a test runs the Tarn's
// 2-second reply limits in no time; it never runs backwards.
class ManualClock : public Clock {
 public:
  explicit ManualClock(double start_seconds = 0.0) : now_(start_seconds) {}

  double Now() override { return now_; }
  void SleepFor(int milliseconds) override { Advance(milliseconds / 1000.0); }

  void Advance(double seconds) {
    if (seconds > 0) now_ += seconds;
  }
  void AdvanceTo(double seconds) {
    if (seconds > now_) now_ = seconds;
  }

 private:
  double now_;
};

}  // namespace tarn::sim

#endif  // TARN_SIM_MANUAL_CLOCK_H_
