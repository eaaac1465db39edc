#ifndef TARN_TESTS_FUZZ_NULL_PROMPTER_H_
#define TARN_TESTS_FUZZ_NULL_PROMPTER_H_

#include "host/prompter.h"

namespace tarn::fuzz {

// Says nothing and answers every question with its first choice.
class NullPrompter : public Prompter {
 public:
  PromptAnswer Show(std::string_view, PromptIcon, PromptButtons buttons) override {
    return buttons == PromptButtons::kYesNo ? PromptAnswer::kYes : PromptAnswer::kOk;
  }
};

}  // namespace tarn::fuzz

#endif  // TARN_TESTS_FUZZ_NULL_PROMPTER_H_
