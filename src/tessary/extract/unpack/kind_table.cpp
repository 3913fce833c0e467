#include "tessary/extract/unpack/kinds.h"

namespace hv::tessary {

// The order decides a folder holding several kinds: a zip before an LHA archive before a gzip
// file, and loose files only when no archive is there.
const std::vector<const ArchiveKind*>& ArchiveKinds() {
  static const std::vector<const ArchiveKind*> kinds = {
      &ZipArchives(),     &LhaArchives(),  &GzipArchives(),
      &DiskSetArchives(), &LynxArchives(), &LooseFiles(),
  };
  return kinds;
}

}  // namespace hv::tessary
