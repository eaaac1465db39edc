#include "files/windows_1252.h"

#include <array>

namespace tarn {
namespace {

constexpr char kReplacement = '?';

// Code points of bytes 0x80..0xFF. From 0xA0 on they equal the byte.
constexpr std::array<char32_t, 128> kHighHalf = [] {
  std::array<char32_t, 128> table{};
  constexpr std::array<char32_t, 32> kC1Row = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80..0x87
      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88..0x8F
      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90..0x97
      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98..0x9F
  };
  for (std::size_t i = 0; i < table.size(); ++i) {
    table[i] = i < kC1Row.size() ? kC1Row[i] : static_cast<char32_t>(0x80 + i);
  }
  return table;
}();

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    // Every code point of the table lies below 0x10000.
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Decodes one UTF-8 sequence at `pos`, advancing `pos` past it; nullopt when the sequence is
// malformed, overlong, a surrogate or beyond U+10FFFF.
std::optional<char32_t> DecodeSequence(std::string_view utf8, std::size_t& pos) {
  const auto lead = static_cast<std::uint8_t>(utf8[pos++]);
  if (lead < 0x80) return lead;
  int length = 0;
  char32_t cp = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2;
    cp = lead & 0x1Fu;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3;
    cp = lead & 0x0Fu;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4;
    cp = lead & 0x07u;
  } else {
    return std::nullopt;
  }
  for (int i = 1; i < length; ++i) {
    if (pos >= utf8.size()) return std::nullopt;
    const auto next = static_cast<std::uint8_t>(utf8[pos]);
    if ((next & 0xC0) != 0x80) return std::nullopt;
    cp = (cp << 6) | (next & 0x3Fu);
    ++pos;
  }
  constexpr std::array<char32_t, 5> kSmallest = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    return std::nullopt;
  }
  return cp;
}

// As DecodeSequence, but a malformed sequence gives up only its first byte, so that each of its
// bytes is replaced on its own.
std::optional<char32_t> NextCodePoint(std::string_view utf8, std::size_t& pos) {
  const std::size_t start = pos;
  const std::optional<char32_t> cp = DecodeSequence(utf8, pos);
  if (!cp) pos = start + 1;
  return cp;
}

}  // namespace

char32_t CodePointOfWindows1252(std::uint8_t byte) {
  return byte < 0x80 ? char32_t{byte} : kHighHalf[byte - 0x80];
}

std::optional<std::uint8_t> Windows1252ByteOf(char32_t code_point) {
  if (code_point < 0x80) return static_cast<std::uint8_t>(code_point);
  for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
    if (kHighHalf[i] == code_point) return static_cast<std::uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) AppendUtf8(CodePointOfWindows1252(static_cast<std::uint8_t>(c)), out);
  return out;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const std::optional<char32_t> cp = NextCodePoint(utf8, pos);
    const std::optional<std::uint8_t> byte = cp ? Windows1252ByteOf(*cp) : std::nullopt;
    out.push_back(byte ? static_cast<char>(*byte) : kReplacement);
  }
  return out;
}

}  // namespace tarn
