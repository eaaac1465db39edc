#ifndef TARN_FILES_WINDOWS_1252_H_
#define TARN_FILES_WINDOWS_1252_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarn {

// Texts in the model and in both file formats are Windows-1252 bytes. The desktop program shows
// and edits them as Unicode, so these convert at its edge. The five bytes that Windows-1252
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, which
// makes every byte string survive the trip to Unicode and back.

char32_t CodePointOfWindows1252(std::uint8_t byte);

// The byte for a code point, or nullopt when Windows-1252 cannot hold it.
std::optional<std::uint8_t> Windows1252ByteOf(char32_t code_point);

// Bytes to UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

// UTF-8 to bytes. A character that Windows-1252 cannot hold, and every byte of a malformed
// UTF-8 sequence, becomes '?'.
std::string Utf8ToWindows1252(std::string_view utf8);

}  // namespace tarn

#endif  // TARN_FILES_WINDOWS_1252_H_
