#include "platform/steady_clock.h"

#include <thread>

namespace tarn {

double SteadyClock::Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void SteadyClock::SleepFor(int milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace tarn
