#pragma once
// The name gunzip gives the file it unpacks: the archive's name with its gzip suffix removed.

#include <optional>
#include <string>
#include <string_view>

namespace hv::gzip {

// `archive_name` is a plain file name. Suffixes, in any letter case: ".gz", "-gz", ".z",
// "-z", "_z" are dropped, ".tgz" and ".taz" become ".tar" (lower case, as gunzip writes
// it). Nothing when the name has no such suffix or is nothing but the suffix: gunzip
// refuses those ("unknown suffix").
std::optional<std::string> GunzipName(std::string_view archive_name);

}  // namespace hv::gzip
