#include "files/item_writer.h"

namespace tarn {

ItemWriter& ItemWriter::Line(int indent) {
  EndLine();
  out_.append(static_cast<std::size_t>(indent > 0 ? indent : 0), ' ');
  line_open_ = true;
  return *this;
}

ItemWriter& ItemWriter::Text(std::string_view text) {
  Separate();
  out_.push_back('"');
  out_.append(StorableText(text));
  out_.push_back('"');
  return *this;
}

ItemWriter& ItemWriter::Number(long long value) {
  Separate();
  out_.append(std::to_string(value));
  return *this;
}

const std::string& ItemWriter::Finish() {
  EndLine();
  return out_;
}

void ItemWriter::Separate() {
  line_open_ = true;
  if (line_has_item_) out_.push_back(',');
  line_has_item_ = true;
}

void ItemWriter::EndLine() {
  if (!line_open_) return;
  out_.append("\r\n");
  line_open_ = false;
  line_has_item_ = false;
}

std::string StorableText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') {
      out.push_back('\'');
    } else if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out.push_back(' ');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace tarn
