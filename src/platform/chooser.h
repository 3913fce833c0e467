#pragma once
// The question which of several game files to load into the emulators, as an injectable
// service: a window on Windows, a numbered menu in a terminal, a scripted answer in tests.

#include <cstddef>
#include <string>
#include <vector>

namespace hv::platform {

inline constexpr char kChooserCaption[] = "Select file to load into the emulators";
inline constexpr char kChooserPrompt[] =
    "This archive file has more than one compatible game file.  Please select the file to load "
    "into the emulators from the list below:";

class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // Offers `names` in the order given with `selected` preselected and waits for the answer:
  // one of the names exactly as listed, or "" when the user declines. Nothing of an earlier
  // question carries over.
  virtual std::string Choose(const std::vector<std::string>& names, std::size_t selected) = 0;
};

// The platform's own chooser (process-wide, never destroyed).
FileChooser& SystemFileChooser();

}  // namespace hv::platform
