// Windows command-line splitting: survives any text, and what it splits, quoted again the
// way a careful caller quotes, splits back into the same arguments.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/cmdline.h"
#include "support.h"

namespace {

// An argument after the program: always in quotation marks; backslashes are doubled where a
// quotation mark follows them (an escaped one or the closing one).
std::string QuoteArgument(std::string_view arg) {
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(2 * backslashes + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, '\\');
  out += '"';
  return out;
}

// The program name has no escapes: it is quoted when it must be and can be.
std::optional<std::string> QuoteProgram(std::string_view program) {
  const bool has_quote = program.find('"') != std::string_view::npos;
  const bool needs_quotes = program.empty() || program.find_first_of(" \t") != std::string::npos;
  if (!needs_quotes) {
    if (program.front() == '"') return std::nullopt;
    return std::string(program);
  }
  if (has_quote) return std::nullopt;
  return "\"" + std::string(program) + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> args = hv::SplitCommandLine(text);
  if (args.empty()) return 0;
  const auto program = QuoteProgram(args[0]);
  if (!program) return 0;
  std::string joined = *program;
  for (std::size_t i = 1; i < args.size(); ++i) joined += ' ' + QuoteArgument(args[i]);
  const std::vector<std::string> again = hv::SplitCommandLine(joined);
  HV_FUZZ_CHECK(again == args, "quoting and splitting again changed the arguments of: " + joined);
  return 0;
}
