#pragma once
// The texts an extraction reports, exactly as the front-end shows them.

#include <string>

namespace hv::tessary::texts {

inline constexpr char kCrLf[] = "\r\n";
inline constexpr char kSeparator[] = "--------------------------------";

inline constexpr char kCompatiblePattern[] =
    "*.d64;*.t64;*.prg;*.p00;*.p01;*.p02;*.p03;*.p04;*.p05;*.p06;*.p07;*.p08;*.p09";

inline constexpr char kFromZenvora[] = "Zenvora";
inline constexpr char kResultFolderName[] = "ReZip";

inline constexpr char kNoChoice[] =
    "You need to specify a default file to load into the emulators before you can run this game.";
inline constexpr char kUnzipError[] = "There was an error unzipping the file:";
inline constexpr char kPossiblyCorrupt[] = "The file is possibly corrupt.";
inline constexpr char kPasswordProtected[] =
    "The archive is password-protected; it cannot be unpacked without the password.";
inline constexpr char kArchiveTooLarge[] = "The archive is too large to unpack.";
inline constexpr char kUnsafeMemberName[] =
    "The archive holds a file name that cannot be written safely.";
inline constexpr char kNotCompatible[] =
    "This archive file is not compatible with Zenvora or Tirrel.";
inline constexpr char kNoGameFile[] = "  A resulting game-file has not been found.";
inline constexpr char kErrorPrefix[] = "An error was encountered while extracting this archive: ";

}  // namespace hv::tessary::texts
