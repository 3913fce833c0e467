#pragma once
// The archive kinds, one unit each.

#include "tessary/extract/unpack/archive_kind.h"

namespace hv::tessary {

const ArchiveKind& ZipArchives();
const ArchiveKind& LhaArchives();
const ArchiveKind& GzipArchives();
const ArchiveKind& DiskSetArchives();
const ArchiveKind& LynxArchives();
const ArchiveKind& LooseFiles();

}  // namespace hv::tessary
