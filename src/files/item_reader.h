#ifndef TARN_FILES_ITEM_READER_H_
#define TARN_FILES_ITEM_READER_H_

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace tarn {

// One item of a configuration or definitions file.
struct Item {
  std::string text;     // a quoted item without its quotes; an unquoted one without end blanks
  bool quoted = false;  // quoted items are texts; a tag or a number may come either way

  friend bool operator==(const Item&, const Item&) = default;
};

// Reads the text of a file as a stream of items, regardless of lines. A comma or a line end (CR
// LF, LF or CR) closes an item. Blanks, and empty line ends, before an item are skipped. A quoted
// item runs to its closing quote, commas and line ends included; whatever follows the closing
// quote up to the next comma or line end is ignored.
class ItemReader {
 public:
  explicit ItemReader(std::string_view contents) : contents_(contents) {}

  // The next item, or nullopt when the contents end first (a quote left open ends them too).
  std::optional<Item> Next();

  // The item Next() would return, without consuming it.
  std::optional<Item> Peek() const;

  // The next item as a whole number within min..max; nullopt at the end, or when the item is
  // no number, not whole, or out of range. A number may carry a point with only zeros after it.
  std::optional<long long> NextNumber(long long min, long long max);

 private:
  void SkipPastDelimiter();

  std::string_view contents_;
  std::size_t pos_ = 0;
};

// "12", "-3", "0023", "7.0" are whole numbers; "", "-", "+4", "1.5", "1e3", "12a" are not.
// Numbers too large for a long long are not numbers either.
std::optional<long long> ParseWholeNumber(std::string_view text);

// Reads the next item into `field` when it is a whole number that fits the field's type (and
// min..max); otherwise leaves the field alone and returns false.
template <typename T>
bool NextField(ItemReader& items, T& field, long long min = std::numeric_limits<T>::min(),
               long long max = std::numeric_limits<T>::max()) {
  const std::optional<long long> number = items.NextNumber(min, max);
  if (!number) return false;
  field = static_cast<T>(*number);
  return true;
}

// Reads the next item, whatever it holds, as a text.
inline bool NextText(ItemReader& items, std::string& field) {
  std::optional<Item> item = items.Next();
  if (!item) return false;
  field = std::move(item->text);
  return true;
}

}  // namespace tarn

#endif  // TARN_FILES_ITEM_READER_H_
