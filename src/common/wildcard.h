#pragma once
// File-name patterns as Windows directory enumeration applies them: `*` any run of
// characters, `?` one character, letters compared without case. "*.*" and "*" match every
// name; a pattern ending in ".*" also matches the name without extension ("A.*" matches A),
// and one ending in "." matches names that have no extension ("*." matches README).

#include <string_view>

namespace hv {

bool WildcardMatch(std::string_view pattern, std::string_view name) noexcept;

}  // namespace hv
