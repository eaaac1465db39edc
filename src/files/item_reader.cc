#include "files/item_reader.h"

#include <charconv>

namespace tarn {
namespace {

constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }
constexpr bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

std::optional<Item> ItemReader::Next() {
  while (pos_ < contents_.size() && (IsBlank(contents_[pos_]) || IsLineEnd(contents_[pos_]))) {
    ++pos_;
  }
  if (pos_ >= contents_.size()) return std::nullopt;

  Item item;
  if (contents_[pos_] == '"') {
    const std::size_t close = contents_.find('"', pos_ + 1);
    if (close == std::string_view::npos) {
      pos_ = contents_.size();
      return std::nullopt;
    }
    item.text = contents_.substr(pos_ + 1, close - pos_ - 1);
    item.quoted = true;
    pos_ = close + 1;
  } else {
    const std::size_t start = pos_;
    while (pos_ < contents_.size() && contents_[pos_] != ',' && !IsLineEnd(contents_[pos_])) {
      ++pos_;
    }
    std::string_view text = contents_.substr(start, pos_ - start);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    item.text = text;
  }
  SkipPastDelimiter();
  return item;
}

std::optional<Item> ItemReader::Peek() const {
  ItemReader ahead = *this;
  return ahead.Next();
}

void ItemReader::SkipPastDelimiter() {
  while (pos_ < contents_.size() && contents_[pos_] != ',' && !IsLineEnd(contents_[pos_])) {
    ++pos_;
  }
  if (pos_ >= contents_.size()) return;
  const char delimiter = contents_[pos_++];
  if (delimiter == '\r' && pos_ < contents_.size() && contents_[pos_] == '\n') ++pos_;
}

std::optional<long long> ItemReader::NextNumber(long long min, long long max) {
  const std::optional<Item> item = Next();
  if (!item) return std::nullopt;
  const std::optional<long long> number = ParseWholeNumber(item->text);
  if (!number || *number < min || *number > max) return std::nullopt;
  return number;
}

std::optional<long long> ParseWholeNumber(std::string_view text) {
  const std::size_t point = text.find('.');
  if (point != std::string_view::npos) {
    if (text.find_first_not_of('0', point + 1) != std::string_view::npos) return std::nullopt;
    text = text.substr(0, point);
  }
  // from_chars takes a minus but no plus; a lone minus or nothing at all reads as no number.
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace tarn
