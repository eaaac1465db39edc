#ifndef TARN_CLI_STDERR_PROGRESS_H_
#define TARN_CLI_STDERR_PROGRESS_H_

#include <string>

#include "host/progress.h"

namespace tarn::cli {

// Progress of a long operation on standard error: one line that updates in place on a
// terminal, plain lines (each new step once) when standard error goes to a file or a pipe.
class StderrProgress : public Progress {
 public:
  StderrProgress();
  ~StderrProgress() override;
  void Report(int done, int total, std::string_view what) override;
  // Ends the line in progress, so that a message can follow on a line of its own.
  void Finish();

 private:
  bool terminal_;
  bool line_open_ = false;
  std::string last_;
};

// True when standard error is a terminal.
bool StderrIsTerminal();

}  // namespace tarn::cli

#endif  // TARN_CLI_STDERR_PROGRESS_H_
