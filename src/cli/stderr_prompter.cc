#include "cli/stderr_prompter.h"

#include <iostream>

#include "cli/stderr_progress.h"

namespace tarn::cli {
namespace {

// Where the window warns and the command can go no further, tarnctl says so: a warning that is
// no question ends the command it stops. A question goes on with the answer --yes gives.
const char* Prefix(PromptIcon icon, PromptButtons buttons) {
  if (icon != PromptIcon::kWarning) return "tarnctl: ";
  return buttons == PromptButtons::kOk ? "tarnctl: error: " : "tarnctl: warning: ";
}

}  // namespace

PromptAnswer StderrPrompter::Show(std::string_view text, PromptIcon icon, PromptButtons buttons) {
  // A progress line may stand on the terminal: start a line of our own.
  if (StderrIsTerminal()) std::cerr << "\r\x1b[K";
  std::cerr << Prefix(icon, buttons) << text << '\n';
  switch (buttons) {
    case PromptButtons::kOk:
      return PromptAnswer::kOk;
    case PromptButtons::kOkCancel:
      std::cerr << (answer_yes_ ? "  -> OK (--yes)\n" : "  -> Cancel (pass --yes to answer OK)\n");
      return answer_yes_ ? PromptAnswer::kOk : PromptAnswer::kCancel;
    case PromptButtons::kYesNo:
    case PromptButtons::kYesNoCancel:
      std::cerr << (answer_yes_ ? "  -> Yes (--yes)\n" : "  -> No (pass --yes to answer Yes)\n");
      return answer_yes_ ? PromptAnswer::kYes : PromptAnswer::kNo;
  }
  return PromptAnswer::kOk;
}

}  // namespace tarn::cli
