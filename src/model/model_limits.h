#ifndef TARN_MODEL_MODEL_LIMITS_H_
#define TARN_MODEL_MODEL_LIMITS_H_

namespace tarn {

// Sizes that the Tarn's memory, its messages and both file formats share.
inline constexpr int kPinCount = 32;
inline constexpr int kEventInputCount = 4;
inline constexpr int kPinConfigSize = 13;

// Whether `pin` names one of the pins 0..31.
constexpr bool IsPinNumber(int pin) { return pin >= 0 && pin < kPinCount; }

// Any pin number taken round the 32 pins, as device offsets wrap: -1 is pin 31, 33 is pin 1.
constexpr int WrapPin(int pin) { return ((pin % kPinCount) + kPinCount) % kPinCount; }

// A pin record has room for 13 aspects of 10 steps, but no layout uses more than 12 aspects or
// more than 9 steps; the spare slots are kept so that records copy whole.
inline constexpr int kAspectSlots = 13;
inline constexpr int kStepSlots = 10;
inline constexpr int kMaxAspects = 12;
inline constexpr int kMaxStepsPerAspect = 9;

// The initial aspect travels as aspect + 1 in four bits (0 for none): a Tarn can report up to 15.
inline constexpr int kMaxInitialAspect = 15;

}  // namespace tarn

#endif  // TARN_MODEL_MODEL_LIMITS_H_
