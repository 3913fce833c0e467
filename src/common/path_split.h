#pragma once
// Splitting and joining paths at one separator character. The separator is a parameter: the
// functions core passes the platform's own, and the tests exercise both.

#include <string>
#include <string_view>

namespace hv {

// Position of the last `separator` in `path`, or npos.
inline std::size_t LastSeparator(std::string_view path, char separator) noexcept {
  return path.rfind(separator);
}

// Everything after the last separator; the whole text when there is none.
std::string AfterLastSeparator(std::string_view path, char separator);

// "" for "", `path` when it already ends with the separator, else `path` + separator.
std::string WithTrailingSeparator(std::string_view path, char separator);

}  // namespace hv
