#ifndef TARN_BENCH_BENCH_SUPPORT_H_
#define TARN_BENCH_BENCH_SUPPORT_H_

#include <time.h>

#include <cstdio>
#include <string>

#include "host/prompter.h"

namespace tarn::bench {

// Keeps the last message, and prints each on standard error so that a run's failures show.
class NotingPrompter : public Prompter {
 public:
  PromptAnswer Show(std::string_view text, PromptIcon, PromptButtons) override {
    last = std::string(text);
    std::fprintf(stderr, "message: %s\n", last.c_str());
    return PromptAnswer::kOk;
  }
  std::string last;
};

// Processor time this process has used, in seconds.
inline double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace tarn::bench

#endif  // TARN_BENCH_BENCH_SUPPORT_H_
