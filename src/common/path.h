#pragma once
// The one separator the core splits paths at and joins them with: the backslash of Windows
// paths, the slash on Linux, where the same core works on native paths.

namespace hv {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace hv
