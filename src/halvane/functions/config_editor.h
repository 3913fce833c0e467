#pragma once
// The text transformation of ChangeConfigFile, kept apart from the file handling.

#include <string>
#include <string_view>
#include <vector>

#include "halvane/functions/config_file_type.h"

namespace hv::halvane {

// Lines as the file is read: ended by CR or CR LF; a lone LF is part of the line.
std::vector<std::string> SplitConfigLines(std::string_view text);

// Applies the entries in order (first line whose beginning equals the key, ignoring case,
// becomes KEY=VALUE; absent keys are ignored) and gives the text to write: every non-empty
// line followed by CR LF.
std::string EditConfigText(std::string_view text, const std::vector<ConfigFileType>& entries);

}  // namespace hv::halvane
