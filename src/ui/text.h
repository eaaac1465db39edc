#ifndef TARN_UI_TEXT_H_
#define TARN_UI_TEXT_H_

#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QLineEdit;

// The window's edge for texts: the core keeps Windows-1252 bytes (descriptions, ID strings, and
// messages that quote them), Qt keeps Unicode. Every text crosses here, so no byte string reaches
// Qt by any other road.

namespace tarn::ui {

// Windows-1252 bytes (the core's messages and captions are plain ASCII, a subset) as Unicode.
QString FromTarnText(std::string_view bytes);

// Unicode as Windows-1252 bytes, or nullopt when a character has no place in that table.
std::optional<std::string> ToTarnText(const QString& text);

// The characters of `text` that Windows-1252 cannot hold, each once, in order of appearance.
QString CharactersWithoutPlace(const QString& text);

// The message shown when a typed text holds such characters; nothing is stored.
std::string CannotStoreText(const QString& field_name, const QString& text);

// A typed field's text as the core's number reader takes it. A character Windows-1252 cannot hold
// reads as one that is no digit, so only the leading number counts ("5→" reads as 5).
std::string TypedText(const QString& text);
std::string TypedText(const QLineEdit* field);

// What the undo menu calls an edit: a caption or spoken name of the window's own.
std::string EditName(const QString& caption);

}  // namespace tarn::ui

#endif  // TARN_UI_TEXT_H_
