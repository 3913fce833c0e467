// The chooser in a terminal: a numbered menu on stderr, the answer from stdin. Without a
// terminal to ask, the question is declined, as Cancel would.

#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/chooser.h"
#include "platform/posix/native_path.h"

namespace hv::platform {
namespace {

class TerminalChooser : public FileChooser {
 public:
  std::string Choose(const std::vector<std::string>& names, std::size_t selected) override {
    if (names.empty() || !::isatty(STDIN_FILENO)) return {};
    if (selected >= names.size()) selected = 0;
    std::fprintf(stderr, "%s\n%s\n", kChooserCaption, kChooserPrompt);
    for (std::size_t i = 0; i < names.size(); ++i) {
      std::fprintf(stderr, "%c%3zu  %s\n", i == selected ? '>' : ' ', i + 1,
                   NativePath(names[i]).c_str());
    }
    for (;;) {
      std::fprintf(stderr, "Number (Enter: %zu, 0: cancel): ", selected + 1);
      std::fflush(stderr);
      std::string line;
      int c;
      while ((c = std::fgetc(stdin)) != EOF && c != '\n') line += static_cast<char>(c);
      if (c == EOF && line.empty()) return {};
      while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
      if (line.empty()) return names[selected];
      std::size_t used = 0;
      unsigned long n = 0;
      try {
        n = std::stoul(line, &used);
      } catch (...) {
        used = 0;
      }
      if (used != line.size()) continue;
      if (n == 0) return {};
      if (n <= names.size()) return names[n - 1];
    }
  }
};

}  // namespace

FileChooser& SystemFileChooser() {
  static TerminalChooser chooser;
  return chooser;
}

}  // namespace hv::platform
