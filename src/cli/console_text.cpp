#include "cli/console_text.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "common/text.h"

namespace hv::cli {

std::string ArgToCoreText(const std::string& arg) {
#ifdef _WIN32
  return arg;
#else
  return Utf8ToCp1252(arg);
#endif
}

std::string CoreTextToArg(const std::string& core) {
#ifdef _WIN32
  return core;
#else
  return Cp1252ToUtf8(core);
#endif
}

void UseBinaryStdout() {
#ifdef _WIN32
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
#endif
}

void WriteOut(const std::string& bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

std::string LfLines(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
    } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
      out += '\n';
    }
  }
  return out;
}

void PrintMessage(const std::string& command, const std::string& text) {
  std::string line = LfLines(command + ": " + text);
  while (!line.empty() && line.back() == '\n') line.pop_back();
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

}  // namespace hv::cli
