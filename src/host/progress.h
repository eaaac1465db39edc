#ifndef TARN_HOST_PROGRESS_H_
#define TARN_HOST_PROGRESS_H_

#include <string_view>

namespace tarn {

// Told what a long operation is doing ("Reading pin 12 of 32"). A window repaints here.
class Progress {
 public:
  virtual ~Progress() = default;
  virtual void Report(int done, int total, std::string_view what) = 0;
};

}  // namespace tarn

#endif  // TARN_HOST_PROGRESS_H_
