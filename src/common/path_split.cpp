#include "common/path_split.h"

namespace hv {

std::string AfterLastSeparator(std::string_view path, char separator) {
  const std::size_t p = LastSeparator(path, separator);
  if (p == std::string_view::npos) return std::string(path);
  return std::string(path.substr(p + 1));
}

std::string WithTrailingSeparator(std::string_view path, char separator) {
  if (path.empty()) return {};
  std::string out(path);
  if (out.back() != separator) out += separator;
  return out;
}

}  // namespace hv
