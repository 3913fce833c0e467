#pragma once
// Case mapping of Windows-1252 text as the ANSI code page does it (UCase, LCase), letters
// outside ASCII included.

#include <string>
#include <string_view>

namespace hv {

char UpperCase1252(char c) noexcept;
std::string UpperCase1252(std::string_view text);

char LowerCase1252(char c) noexcept;
std::string LowerCase1252(std::string_view text);

}  // namespace hv
