#ifndef TARN_FILES_WHOLE_FILE_H_
#define TARN_FILES_WHOLE_FILE_H_

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "host/prompter.h"

namespace tarn {

// A full configuration or definitions file is well under 1 MiB; a file past this bound is no such
// file, and an endless one (a device that never ends) must not fill the memory.
inline constexpr std::size_t kMaxReadFileBytes = 16 * 1024 * 1024;

// Reads a file's bytes, at most kMaxReadFileBytes of them: a longer file is refused after reading
// one byte past the bound. On failure `error` says why and `contents` is left as it was.
bool ReadWholeFile(const std::filesystem::path& path, std::string& contents, std::string& error);

// Replaces `path` by a file holding `contents`, or leaves whatever was there untouched: the bytes
// go to a new file beside it, are flushed to the disk and only then renamed over the old one. A
// file that existed keeps its permissions, and its owner and group where the program may set
// them; a symbolic link keeps naming the file it named. A destination that is no regular file (a
// pipe, a terminal, a device) cannot be replaced and is written into instead; a pipe no program
// reads is refused rather than waited on. A file the user may not write, and a link that another
// user planted in a shared folder, are refused. On failure `error` says why and no temporary file
// is left behind.
bool ReplaceWholeFile(const std::filesystem::path& path, std::string_view contents,
                      std::string& error);

// Whether ReplaceWholeFile could save to `path` as far as can be known without writing: the
// folder it goes to exists and may be written, or it names a writable pipe or device, and no
// link on the way is refused. A pipe's reader is not asked for, as it may still come. On failure
// `error` says why, in ReplaceWholeFile's words.
bool CheckSaveDestination(const std::filesystem::path& path, std::string& error);

// As ReadWholeFile, and a failure shows "Cannot open <path>: <reason>".
bool ReadWholeFileOrWarn(const std::filesystem::path& path, std::string& contents,
                         Prompter& prompter);

// As ReplaceWholeFile, and a failure shows "Cannot save <path>: <reason>".
bool ReplaceWholeFileOrWarn(const std::filesystem::path& path, std::string_view contents,
                            Prompter& prompter);

}  // namespace tarn

#endif  // TARN_FILES_WHOLE_FILE_H_
