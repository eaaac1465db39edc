#ifndef TARN_TESTS_SUPPORT_RECORDING_PROMPTER_H_
#define TARN_TESTS_SUPPORT_RECORDING_PROMPTER_H_

#include <deque>
#include <string>
#include <vector>

#include "host/prompter.h"

namespace tarn::testing {

// Records every message and answers questions from a script (Yes, or Ok, when the script is
// empty).
class RecordingPrompter : public Prompter {
 public:
  struct Message {
    std::string text;
    PromptIcon icon;
    PromptButtons buttons;
  };

  PromptAnswer Show(std::string_view text, PromptIcon icon, PromptButtons buttons) override {
    messages.push_back({std::string(text), icon, buttons});
    if (!answers.empty()) {
      const PromptAnswer answer = answers.front();
      answers.pop_front();
      return answer;
    }
    return buttons == PromptButtons::kYesNo || buttons == PromptButtons::kYesNoCancel
               ? PromptAnswer::kYes
               : PromptAnswer::kOk;
  }

  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Message& message : messages) texts.push_back(message.text);
    return texts;
  }

  std::vector<Message> messages;
  std::deque<PromptAnswer> answers;
};

}  // namespace tarn::testing

#endif  // TARN_TESTS_SUPPORT_RECORDING_PROMPTER_H_
