#ifndef TARN_MODEL_ASPECT_LAYOUT_H_
#define TARN_MODEL_ASPECT_LAYOUT_H_

#include <cstdint>

namespace tarn {

// The layout byte splits a pin's 36 program steps into aspects. Values other than these two
// carry no program at all, whatever a file or a device may have sent.
inline constexpr std::uint8_t kLayoutNone = 0;
inline constexpr std::uint8_t kLayoutTwelveAspects = 2;  // 12 aspects of 3 steps
inline constexpr std::uint8_t kLayoutFourAspects = 3;    // 4 aspects of 9 steps

constexpr int AspectCount(std::uint8_t layout) {
  switch (layout) {
    case kLayoutTwelveAspects:
      return 12;
    case kLayoutFourAspects:
      return 4;
    default:
      return 0;
  }
}

constexpr int StepsPerAspect(std::uint8_t layout) {
  switch (layout) {
    case kLayoutTwelveAspects:
      return 3;
    case kLayoutFourAspects:
      return 9;
    default:
      return 0;
  }
}

}  // namespace tarn

#endif  // TARN_MODEL_ASPECT_LAYOUT_H_
