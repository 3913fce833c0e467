#include "common/wildcard.h"

#include "common/upper_case.h"

namespace hv {
namespace {

bool SameLetter(char a, char b) noexcept {
  return UpperCase1252(a) == UpperCase1252(b);
}

// Classic greedy match with one backtrack point for the last star.
bool Match(std::string_view pattern, std::string_view name) noexcept {
  std::size_t p = 0, n = 0;
  std::size_t star = std::string_view::npos, star_n = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      star_n = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || SameLetter(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++star_n;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) noexcept {
  if (pattern == "*" || pattern == "*.*") return true;
  if (Match(pattern, name)) return true;
  const bool has_dot = name.find('.') != std::string_view::npos;
  // "NAME.*" also stands for NAME without any extension.
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" && !has_dot &&
      Match(pattern.substr(0, pattern.size() - 2), name)) {
    return true;
  }
  // A trailing dot asks for names without an extension.
  if (!pattern.empty() && pattern.back() == '.' && !has_dot &&
      Match(pattern.substr(0, pattern.size() - 1), name)) {
    return true;
  }
  return false;
}

}  // namespace hv
