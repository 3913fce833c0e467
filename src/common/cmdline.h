#pragma once
// Windows command-line syntax. A command line is one text; the started program splits it into
// arguments by the rules of CommandLineToArgvW. Where no Windows loader does that for us (Linux),
// this split gives the argument vector the program would have seen.

#include <string>
#include <string_view>
#include <vector>

namespace hv {

// Splits `command_line` into arguments:
// - the first argument (the program) ends at the first blank or tab, or, when it starts with a
//   quotation mark, at the next quotation mark; backslashes are ordinary there;
// - after it, blanks and tabs outside quotation marks separate arguments; 2n backslashes before a
//   quotation mark give n backslashes and the mark opens or closes a quoted part; 2n+1 give n
//   backslashes and a literal mark; backslashes before anything else stay as they are;
// - inside a quoted part, two quotation marks in a row give one literal mark and the part goes on.
// Leading blanks give an empty program name; an empty or blank text gives no arguments at all.
std::vector<std::string> SplitCommandLine(std::string_view command_line);

}  // namespace hv
