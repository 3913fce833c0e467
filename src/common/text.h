#pragma once
// Byte text: core strings hold Windows-1252, one character per byte (NUL is data). These
// conversions are the only places where another encoding meets it.

#include <string>
#include <string_view>

namespace hv {

// Windows-1252 to UTF-8. The five bytes cp1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) become the C1 control character of the same value, as Windows converts them.
std::string Cp1252ToUtf8(std::string_view text);

// UTF-8 to Windows-1252. Characters cp1252 cannot hold, and malformed sequences, become '?'.
std::string Utf8ToCp1252(std::string_view text);

// Windows-1252 to UTF-16 and back (the automation boundary's BSTR). Unmappable -> '?'.
std::u16string Cp1252ToUtf16(std::string_view text);
std::string Utf16ToCp1252(std::u16string_view text);

// Text built from raw bytes, one character per byte.
inline std::string BytesToString(const unsigned char* bytes, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(bytes), size);
}

// Removes leading and trailing spaces (only ' ', as Visual Basic's Trim does).
std::string_view TrimSpaces(std::string_view text);
std::string_view TrimTrailingSpaces(std::string_view text);

}  // namespace hv
