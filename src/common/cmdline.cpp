#include "common/cmdline.h"

#include <stdexcept>

namespace hv {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  std::size_t i = 0;
  const std::size_t n = line.size();
  bool only_blanks = true;
  for (char c : line) only_blanks = only_blanks && IsBlank(c);
  if (only_blanks) return args;

  // The program name: no escapes, one optional pair of quotation marks.
  std::string program;
  if (line[0] == '"') {
    i = 1;
    while (i < n && line[i] != '"') program += line[i++];
    if (i < n) ++i;  // the closing mark
  } else {
    while (i < n && !IsBlank(line[i])) program += line[i++];
  }
  args.push_back(std::move(program));

  // The remaining arguments.
  while (i < n) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n) {
      const char c = line[i];
      if (c == '\\') {
        std::size_t count = 0;
        while (i < n && line[i] == '\\') {
          ++count;
          ++i;
        }
        if (i < n && line[i] == '"') {
          arg.append(count / 2, '\\');
          if (count % 2 == 1) {
            arg += '"';
            ++i;
          }
          // An even count leaves the mark to be read as a quote below.
        } else {
          arg.append(count, '\\');
        }
        continue;
      }
      if (c == '"') {
        if (quoted && i + 1 < n && line[i + 1] == '"') {
          arg += '"';
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      if (IsBlank(c) && !quoted) break;
      arg += c;
      ++i;
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::string QuoteArgument(std::string_view argument, bool always_quote) {
  const bool plain = !always_quote && !argument.empty() &&
                     argument.find_first_of(" \t\n\v\"") == std::string_view::npos;
  if (plain) return std::string(argument);
  std::string inner;
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // 2n+1 backslashes and the mark give n backslashes and a literal mark.
    inner.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    inner += c;
  }
  inner.append(backslashes, '\\');
  return Enquote(inner);
}

std::string Enquote(std::string_view text) {
  std::size_t trailing = 0;
  while (trailing < text.size() && text[text.size() - 1 - trailing] == '\\') ++trailing;
  std::string out = "\"";
  out += text;
  out.append(trailing, '\\');
  out += '"';
  return out;
}

std::string QuoteProgramName(std::string_view program, bool always_quote) {
  if (program.empty() || program.find('"') != std::string_view::npos) {
    throw std::invalid_argument("program name cannot be written on a command line");
  }
  if (always_quote || program.find_first_of(" \t") != std::string_view::npos) {
    return "\"" + std::string(program) + "\"";
  }
  return std::string(program);
}

}  // namespace hv
