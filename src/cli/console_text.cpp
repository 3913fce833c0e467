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

}  // namespace hv::cli
