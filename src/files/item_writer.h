#ifndef TARN_FILES_ITEM_WRITER_H_
#define TARN_FILES_ITEM_WRITER_H_

#include <string>
#include <string_view>

namespace tarn {

// Builds the text of a configuration or definitions file, line by line: items separated by a
// single comma, texts in double quotes, lines ended by CR LF, indentation written raw before the
// first item.
class ItemWriter {
 public:
  // Starts a line indented by `indent` spaces. A line still open is ended first.
  ItemWriter& Line(int indent = 0);
  // A quoted text, made storable first (see StorableText).
  ItemWriter& Text(std::string_view text);
  // A decimal number: minus sign when negative, no leading zeros.
  ItemWriter& Number(long long value);

  // The text so far, with an open line ended.
  const std::string& Finish();

 private:
  void Separate();
  void EndLine();

  std::string out_;
  bool line_open_ = false;
  bool line_has_item_ = false;
};

// A text has no escapes, so it cannot hold the quote that closes it or a line break: a double
// quote becomes an apostrophe and each line break (CR LF, LF or CR) one space. Every other byte
// stays as it is.
std::string StorableText(std::string_view text);

}  // namespace tarn

#endif  // TARN_FILES_ITEM_WRITER_H_
