#ifndef TARN_FILES_WHOLE_FILE_H_
#define TARN_FILES_WHOLE_FILE_H_

#include <filesystem>
#include <string>
#include <string_view>

#include "host/prompter.h"

namespace tarn {

// Reads a file's bytes. On failure `error` says why and `contents` is left as it was.
bool ReadWholeFile(const std::filesystem::path& path, std::string& contents, std::string& error);

// Replaces `path` by a file holding `contents`, or leaves whatever was there untouched: the bytes
// go to a new file beside it, are flushed to the disk and only then renamed over the old one. A
// file that existed keeps its permissions, and a symbolic link keeps naming the file it named; a
// file the user may not write is refused. On failure `error` says why and no temporary file is
// left behind.
bool ReplaceWholeFile(const std::filesystem::path& path, std::string_view contents,
                      std::string& error);

// As ReadWholeFile, and a failure shows "Cannot open <path>: <reason>".
bool ReadWholeFileOrWarn(const std::filesystem::path& path, std::string& contents,
                         Prompter& prompter);

// As ReplaceWholeFile, and a failure shows "Cannot save <path>: <reason>".
bool ReplaceWholeFileOrWarn(const std::filesystem::path& path, std::string_view contents,
                            Prompter& prompter);

}  // namespace tarn

#endif  // TARN_FILES_WHOLE_FILE_H_
