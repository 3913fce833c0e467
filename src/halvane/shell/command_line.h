#pragma once
// Building the command lines of the launchers. Windows paths ignore case, so some launchers
// lower-case a whole command line; on Linux that would name files that do not exist, so there
// only the pieces that are no paths (switches, program names) are lowered. Windows hands the
// launchers short path forms, which hold no blank, and many lines leave paths unquoted; Linux
// has no short forms, so there a path with a blank outside quotation marks is quoted, or it
// would fall apart into several arguments. ShellPathRules holds those switches, together with
// the separator and how a drive is named.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/path_separator.h"

namespace hv::halvane {

struct ShellPathRules {
  char separator;
  bool case_blind_paths;  // lowering a command line may lower its paths too
  bool drive_letters;     // a drive is named by the first two characters of a path ("C:")
  bool short_paths;       // paths come in short forms, without blanks, and are never quoted
};

inline constexpr ShellPathRules kWindowsPathRules{'\\', true, true, true};
inline constexpr ShellPathRules kPosixPathRules{'/', false, false, false};
#ifdef _WIN32
inline constexpr ShellPathRules kHostPathRules = kWindowsPathRules;
#else
inline constexpr ShellPathRules kHostPathRules = kPosixPathRules;
#endif
static_assert(kHostPathRules.separator == platform::kPathSeparator);

// The plain decimal text of a number: a minus sign when negative, no blank.
std::string NumberText(std::int64_t value);

class CommandLine {
 public:
  CommandLine& Text(const std::string& text) { return Add(text, false); }
  CommandLine& Path(const std::string& path) { return Add(path, true); }
  // Text that keeps its case even where the rest of the line is lowered.
  CommandLine& Exact(const std::string& text) {
    pieces_.push_back({text, false, true});
    return *this;
  }

  // The command line as written, or lowered as far as `rules` allow.
  std::string Render(bool lower, const ShellPathRules& rules) const;

 private:
  CommandLine& Add(const std::string& text, bool is_path) {
    pieces_.push_back({text, is_path, false});
    return *this;
  }
  struct Piece {
    std::string text;
    bool is_path;
    bool keep_case;
  };
  std::vector<Piece> pieces_;
};

}  // namespace hv::halvane
