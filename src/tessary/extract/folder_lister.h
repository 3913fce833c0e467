#pragma once
// Listing a folder's files by pattern, as the chooser form's hidden file list did: files only,
// ";"-separated wildcard patterns matched the Windows way, names sorted ignoring case.

#include <string>
#include <string_view>
#include <vector>

namespace hv::tessary {

// Names (without path) of the files of `folder` matching at least one pattern of `patterns`.
// A folder that cannot be read lists nothing.
std::vector<std::string> ListNames(const std::string& folder, std::string_view patterns);

// The folder's plain files (hidden and system files left out), each name followed by CR LF.
std::string ListFolder(const std::string& folder);

}  // namespace hv::tessary
