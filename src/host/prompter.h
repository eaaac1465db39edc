#ifndef TARN_HOST_PROMPTER_H_
#define TARN_HOST_PROMPTER_H_

#include <string_view>

namespace tarn {

enum class PromptIcon { kNone, kWarning, kInformation, kQuestion };
enum class PromptButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class PromptAnswer { kOk, kCancel, kYes, kNo };

// Shows a message to the user and returns the answer. The desktop program shows a message box,
// tarnctl prints to standard error and answers from its flags, tests record and script.
class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual PromptAnswer Show(std::string_view text, PromptIcon icon = PromptIcon::kNone,
                            PromptButtons buttons = PromptButtons::kOk) = 0;
};

}  // namespace tarn

#endif  // TARN_HOST_PROMPTER_H_
