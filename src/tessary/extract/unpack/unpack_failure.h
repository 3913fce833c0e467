#pragma once
// The one failure every unpacker throws, and only the extraction driver catches: hv::Error. A
// damaged or unsupported archive is "Invalid file format" (321) with a text that says what is
// wrong, an unsafe member name is "Bad file name or number" (52), file-system failures keep the
// platform's number. Each text opens with what was unpacked: "The zip archive", "The gzip
// file", ...

#include <string>
#include <string_view>

#include "common/error.h"

namespace hv::unpack {

inline constexpr int kInvalidFormat = vberr::kInvalidFileFormat;

// What each unpacker unpacks, as its failure texts name it.
inline constexpr std::string_view kZipArchive = "zip archive";
inline constexpr std::string_view kLhaArchive = "LHA archive";
inline constexpr std::string_view kLynxArchive = "Lynx archive";
inline constexpr std::string_view kGzipFile = "gzip file";
inline constexpr std::string_view kDiskSet = "zipcode disk set";

// "The <archive> is damaged or unsupported: <what>" (321).
[[noreturn]] void ThrowDamaged(std::string_view archive, const std::string& what);

// An archive over its byte budget, a member too large or expanding too far: damage by number
// (321), told apart so that a caller can say the archive is too large.
class TooLarge : public Error {
 public:
  using Error::Error;
};

// The same text as ThrowDamaged, thrown as TooLarge.
[[noreturn]] void ThrowTooLarge(std::string_view archive, const std::string& what);

// "The <archive> holds an unsafe file name: <name>" (52).
[[noreturn]] void ThrowUnsafeName(std::string_view archive, const std::string& name);

}  // namespace hv::unpack
