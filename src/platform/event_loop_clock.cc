#include "platform/event_loop_clock.h"

#include <QEventLoop>
#include <QTimer>

namespace tarn {

void EventLoopClock::SleepFor(int milliseconds) {
  if (milliseconds <= 0) return;
  QEventLoop loop;
  QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace tarn
