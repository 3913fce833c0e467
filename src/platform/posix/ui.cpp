// Terminal stand-in for message boxes: a prompt when someone is at the terminal, otherwise
// the declining answer with the text on stderr so that scripts still see it.

#include "platform/ui.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <iostream>
#include <string>

#include "common/text.h"

namespace hv::platform {
namespace {

std::string Prompt(int style) {
  switch (style & 0xF) {
    case 1:
      return "[O]K / [C]ancel";
    case 2:
      return "[A]bort / [R]etry / [I]gnore";
    case 3:
      return "[Y]es / [N]o / [C]ancel";
    case 4:
      return "[Y]es / [N]o";
    case 5:
      return "[R]etry / [C]ancel";
    default:
      return "[O]K";
  }
}

int FromKey(int style, char key) {
  const char k = static_cast<char>(std::toupper(static_cast<unsigned char>(key)));
  const std::string options = Prompt(style);
  if (options.find(std::string("[") + k + "]") == std::string::npos) return 0;
  switch (k) {
    case 'O':
      return button::kOk;
    case 'C':
      return button::kCancel;
    case 'A':
      return button::kAbort;
    case 'R':
      return button::kRetry;
    case 'I':
      return button::kIgnore;
    case 'Y':
      return button::kYes;
    case 'N':
      return button::kNo;
    default:
      return 0;
  }
}

class TerminalUserInterface final : public UserInterface {
 public:
  int Show(const std::string& text, const std::string& caption, int style) override {
    const std::string shown = Cp1252ToUtf8(caption) + ": " + Cp1252ToUtf8(text);
    if (!::isatty(STDIN_FILENO)) {
      std::fprintf(stderr, "%s\n", shown.c_str());
      return DecliningAnswer(style);
    }
    for (;;) {
      std::fprintf(stderr, "%s\n%s ", shown.c_str(), Prompt(style).c_str());
      std::fflush(stderr);
      std::string line;
      if (!std::getline(std::cin, line)) return DecliningAnswer(style);
      if (line.empty() && (style & 0xF) == 0) return button::kOk;
      if (!line.empty()) {
        if (const int code = FromKey(style, line[0])) return code;
      }
    }
  }
  void ProcessPendingMessages() override {}
};

}  // namespace

UserInterface& DefaultUserInterface() {
  static TerminalUserInterface ui;
  return ui;
}

}  // namespace hv::platform
