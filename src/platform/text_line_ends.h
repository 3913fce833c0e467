#pragma once
// The line ends of a text file the system rewrites: Windows writes CR LF; on Linux, where
// emulators keep LF files, a file keeps the line ends it had.

namespace hv::platform {

#ifdef _WIN32
inline constexpr bool kKeepTextLineEnds = false;
#else
inline constexpr bool kKeepTextLineEnds = true;
#endif

}  // namespace hv::platform
