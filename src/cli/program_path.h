#pragma once
// Programs named without a folder, found as a shell finds them.

#include <string>

namespace hv::cli {

// `name` as given when it holds a folder separator; otherwise the first executable file of that
// name in the absolute folders of PATH (on Windows also NAME.exe), or "" when there is none.
std::string ProgramOnPath(const std::string& name);

}  // namespace hv::cli
