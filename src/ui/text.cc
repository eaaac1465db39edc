#include "ui/text.h"

#include <QLineEdit>
#include <QList>
#include <QStringView>

#include "files/windows_1252.h"

namespace tarn::ui {
namespace {

// The code points of a text, surrogate pairs joined.
template <typename Visit>
void ForEachCodePoint(const QString& text, Visit visit) {
  for (const char32_t code_point : text.toUcs4()) visit(code_point);
}

}  // namespace

QString FromTarnText(std::string_view bytes) {
  const std::string utf8 = Windows1252ToUtf8(bytes);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<std::string> ToTarnText(const QString& text) {
  std::string bytes;
  bool fits = true;
  ForEachCodePoint(text, [&](char32_t code_point) {
    const std::optional<std::uint8_t> byte = Windows1252ByteOf(code_point);
    if (!byte) {
      fits = false;
      return;
    }
    bytes.push_back(static_cast<char>(*byte));
  });
  if (!fits) return std::nullopt;
  return bytes;
}

QString CharactersWithoutPlace(const QString& text) {
  QString without;
  ForEachCodePoint(text, [&](char32_t code_point) {
    if (Windows1252ByteOf(code_point)) return;
    const QString character = QString::fromUcs4(&code_point, 1);
    if (!without.contains(character)) without += character;
  });
  return without;
}

std::string CannotStoreText(const QString& field_name, const QString& text) {
  const QString message =
      QStringLiteral("%1 cannot hold %2: a Tarn and its files keep only the characters of "
                     "Windows-1252. The text was not changed.")
          .arg(field_name, CharactersWithoutPlace(text));
  // The message goes through the Prompter as Windows-1252 like every other; characters it cannot
  // hold are the very ones it names, so they are quoted by code point instead.
  std::string bytes;
  ForEachCodePoint(message, [&](char32_t code_point) {
    if (const std::optional<std::uint8_t> byte = Windows1252ByteOf(code_point)) {
      bytes.push_back(static_cast<char>(*byte));
    } else {
      bytes += "U+" + QString::number(static_cast<uint>(code_point), 16).toUpper().toStdString();
    }
  });
  return bytes;
}

std::string TypedText(const QString& text) {
  std::string bytes;
  ForEachCodePoint(text, [&](char32_t code_point) {
    const std::optional<std::uint8_t> byte = Windows1252ByteOf(code_point);
    bytes.push_back(byte ? static_cast<char>(*byte) : '?');
  });
  return bytes;
}

std::string TypedText(const QLineEdit* field) { return TypedText(field->text()); }

std::string EditName(const QString& caption) { return TypedText(caption); }

}  // namespace tarn::ui
