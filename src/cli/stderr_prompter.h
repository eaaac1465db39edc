#ifndef TARN_CLI_STDERR_PROMPTER_H_
#define TARN_CLI_STDERR_PROMPTER_H_

#include "host/prompter.h"

namespace tarn::cli {

// tarnctl has nobody to ask: messages go to standard error, and a question is answered from the
// command line (--yes), never by waiting for a reply. A warning that is no question is the
// failure that ends the command: "tarnctl: error: TEXT"; other messages are "tarnctl: TEXT".
class StderrPrompter : public Prompter {
 public:
  explicit StderrPrompter(bool answer_yes) : answer_yes_(answer_yes) {}
  PromptAnswer Show(std::string_view text, PromptIcon icon, PromptButtons buttons) override;

 private:
  bool answer_yes_;
};

}  // namespace tarn::cli

#endif  // TARN_CLI_STDERR_PROMPTER_H_
