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

// One argument written so that SplitCommandLine (and CommandLineToArgvW, and the C runtimes'
// argv) gives it back exactly, as one argument: as it is when it is not empty and holds no blank,
// tab, line end or quotation mark (and `always_quote` is false); else between quotation marks,
// each mark escaped by a backslash and the backslashes in front of a mark, or at the end,
// doubled. Only quotation marks and backslashes are special to these rules: the command
// interpreter's characters (& | < > ^ % ! ( ) , ; =) pass unchanged, so a line built here must
// never be handed to cmd.exe.
std::string QuoteArgument(std::string_view argument, bool always_quote = false);

// `text` between quotation marks, the backslashes it ends with doubled so that the closing mark
// stays a mark (2n backslashes before a mark give n). Nothing else is escaped: the caller sees
// to quotation marks inside.
std::string Enquote(std::string_view text);

// The program name, the first piece of a command line, which has no escapes (see above): as it
// is, or between quotation marks when it holds a blank or tab or when `always_quote` is set.
// Throws std::invalid_argument for a name that is empty or holds a quotation mark, since no
// command line can carry it.
std::string QuoteProgramName(std::string_view program, bool always_quote = false);

}  // namespace hv
