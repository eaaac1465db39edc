#include "cli/stderr_progress.h"

#include <unistd.h>

#include <iostream>

namespace tarn::cli {

bool StderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }

StderrProgress::StderrProgress() : terminal_(StderrIsTerminal()) {}

StderrProgress::~StderrProgress() { Finish(); }

void StderrProgress::Report(int done, int total, std::string_view what) {
  if (!terminal_) {
    // A log gets each step once, and of a count every eighth and the last.
    const bool counted = total > 0 && done % 8 != 0 && done != total - 1;
    if (what != last_ && !counted) std::cerr << what << '\n';
    last_ = what;
    return;
  }
  std::string text(what);
  if (total > 0) text += " (" + std::to_string(done * 100 / total) + "%)";
  if (text == last_) return;
  last_ = text;
  // Carriage return, the text, then clear what a longer earlier text left behind.
  std::cerr << '\r' << text << "\x1b[K" << std::flush;
  line_open_ = true;
}

void StderrProgress::Finish() {
  if (!line_open_) return;
  std::cerr << "\r\x1b[K" << std::flush;
  line_open_ = false;
}

}  // namespace tarn::cli
