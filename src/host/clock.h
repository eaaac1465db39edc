#ifndef TARN_HOST_CLOCK_H_
#define TARN_HOST_CLOCK_H_

namespace tarn {

// The only source of time for the core. Now() is a steady clock in seconds, so a wait can never
// be cut short by the time of day passing midnight or being set back.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual double Now() = 0;
  virtual void SleepFor(int milliseconds) = 0;
};

}  // namespace tarn

#endif  // TARN_HOST_CLOCK_H_
