#ifndef TARN_MODEL_STEP_H_
#define TARN_MODEL_STEP_H_

#include <cstdint>

namespace tarn {

// One instruction step of an aspect program. Opcode and fade flag are held apart here; the
// messages and files fold them into one number.
struct Step {
  std::uint8_t opcode = 0;  // 0 is the empty step
  std::uint8_t fade = 0;    // 0 or 1
  std::uint8_t p1 = 0;      // editor column "Par 0"
  std::uint8_t p2 = 0;      // "Par 1"
  std::uint8_t p3 = 0;      // "Par 2"
  std::uint8_t p4 = 0;      // the fourth column

  friend bool operator==(const Step&, const Step&) = default;
};

}  // namespace tarn

#endif  // TARN_MODEL_STEP_H_
