#include "tessary/extract/unpack/gzip/gzip_names.h"

#include <array>
#include <cctype>

namespace hv::gzip {
namespace {

bool EndsWithNoCase(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  const std::string_view tail = name.substr(name.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != suffix[i]) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> GunzipName(std::string_view archive_name) {
  // gunzip's own order; no two of these end one another, so the order decides nothing.
  static constexpr std::array<std::string_view, 7> kSuffixes = {".gz", ".z", ".taz", ".tgz",
                                                                "-gz", "-z", "_z"};
  for (const std::string_view suffix : kSuffixes) {
    // The name must keep at least one character before the suffix.
    if (archive_name.size() <= suffix.size() || !EndsWithNoCase(archive_name, suffix)) continue;
    std::string name(archive_name.substr(0, archive_name.size() - suffix.size()));
    if (suffix == ".taz" || suffix == ".tgz") name += ".tar";
    return name;
  }
  return std::nullopt;
}

}  // namespace hv::gzip
