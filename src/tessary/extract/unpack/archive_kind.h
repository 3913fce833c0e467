#pragma once
// One kind of archive the extraction knows (zip, LHA, gzip, zipped disk set, Lynx, loose
// files): the patterns that recognise it in a folder and how it unpacks one level. The driver
// walks the kinds in a fixed order; the first whose patterns list a name in the folder decides
// that level, and only it runs.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "halvane/functions/functions_ops.h"
#include "tessary/extract/unpack/outside_tools.h"

namespace hv::tessary {

// The level a kind unpacks.
struct ArchiveLevel {
  std::string folder;              // the folder examined
  std::string level_folder;        // its level subfolder (folder, separator, "P<level>")
  std::vector<std::string> names;  // what the kind's patterns listed in `folder`, in order
  std::string winzip_path;         // the caller's WinZip, or ""
};

// What a kind may use while it unpacks.
struct UnpackServices {
  halvane::FunctionsOps& functions;
  OutsideTools& tools;
  // Bytes the built-in unpackers may still write in this extraction; each kind takes what it
  // wrote off it.
  std::uint64_t& budget;
};

class ArchiveKind {
 public:
  virtual ~ArchiveKind() = default;
  // ";"-separated wildcard patterns, matched as the folder lister matches them.
  virtual std::string_view Patterns() const = 0;
  // Unpacks `level` into its level folder: true when the level folder is to be examined,
  // false when nothing was unpacked (the folder is not compatible). Throws hv::Error for a
  // failure, which the driver alone catches.
  virtual bool Unpack(const ArchiveLevel& level, UnpackServices& services) const = 0;
  // The call's failure text for `failure` of this kind's unpacking, or "" for the driver's
  // general failure report.
  virtual std::string FailureText(const ArchiveLevel& /*level*/,
                                  const std::exception_ptr& /*failure*/) const {
    return {};
  }
};

// The kinds in the order they are tried.
const std::vector<const ArchiveKind*>& ArchiveKinds();

}  // namespace hv::tessary
