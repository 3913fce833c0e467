#pragma once
// The one character at which the system splits paths: the backslash on Windows, the slash on
// Linux. Only this character separates; the other one is an ordinary character.

namespace hv::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace hv::platform
