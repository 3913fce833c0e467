#pragma once
// The text transformation of ChangeConfigFile, kept apart from the file handling.

#include <string>
#include <string_view>
#include <vector>

#include "halvane/functions/config_file_type.h"

namespace hv::halvane {

// How the rewritten file ends its lines: always CR LF, or as the file read ended its first
// line (LF alone stays LF; CR, CR LF and a file without any line end get CR LF).
enum class LineEnds { kCrLf, kAsRead };

// Lines as the file is read: ended by CR, CR LF or a lone LF.
std::vector<std::string> SplitConfigLines(std::string_view text);

// The line end kAsRead writes for `text`.
std::string_view LineEndOf(std::string_view text);

// Applies the entries in order (first line whose beginning equals the key, ignoring case,
// becomes KEY=VALUE; absent keys are ignored) and gives the text to write: every non-empty
// line followed by the line end `ends` asks for.
std::string EditConfigText(std::string_view text, const std::vector<ConfigFileType>& entries,
                           LineEnds ends = LineEnds::kCrLf);

// The positions of the entries that match no line of `text` when EditConfigText applies them
// (an empty key matches the first line).
std::vector<std::size_t> UnmatchedConfigKeys(std::string_view text,
                                             const std::vector<ConfigFileType>& entries);

}  // namespace hv::halvane
