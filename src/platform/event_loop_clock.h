#ifndef TARN_PLATFORM_EVENT_LOOP_CLOCK_H_
#define TARN_PLATFORM_EVENT_LOOP_CLOCK_H_

#include "platform/steady_clock.h"

namespace tarn {

// A steady clock whose sleeps run the event loop, so that the 100 ms pauses between one-way
// writes leave a window painting and its "Stop" button working.
class EventLoopClock : public SteadyClock {
 public:
  void SleepFor(int milliseconds) override;
};

}  // namespace tarn

#endif  // TARN_PLATFORM_EVENT_LOOP_CLOCK_H_
