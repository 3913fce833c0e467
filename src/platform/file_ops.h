#pragma once
// The file operations of the extraction driver: copy, make a folder, move a file, take its
// length, and the questions that keep a recursive delete away from folders it must never
// remove. Paths are core text (Windows-1252). Failures throw hv::Error with the file layer's
// numbers.

#include <cstdint>
#include <string>

namespace hv::platform {

// Copies `from` to `to`, replacing a file of that name. 53 when `from` is missing, 76 for a
// missing folder, 70 or 75 when access is denied, 61 when the disk is full.
void CopyFileReplacing(const std::string& from, const std::string& to);

// Makes one folder. 75 "Path/File access error" when something of that name exists, 76 "Path
// not found" when its parent is missing.
void MakeFolder(const std::string& path);

// Moves a file to a new name. 58 "File already exists" when the new name is taken, 53 when the
// file is missing.
void RenameFile(const std::string& from, const std::string& to);

// The length of a file in bytes; 53 when it is missing.
std::uint64_t FileLength(const std::string& path);

// `path` made absolute against the current directory (on Windows, the current folder of its
// drive), "." and ".." parts resolved by name, links not followed. A trailing separator stays.
std::string AbsolutePath(const std::string& path);

// Why `folder` must never be deleted with its content: it names a drive or file-system root,
// or it is or holds the user's home folder (on Windows also the profile, Windows and Program
// Files folders). "" when nothing speaks against it. Relative paths are taken from the current
// directory; links are followed.
std::string ProtectedFolderReason(const std::string& folder);

// Keeps a file out of folder listings: sets the hidden attribute where hiding is one; where a
// leading dot hides a name, that name is hidden already.
void HideFile(const std::string& path);

// True when `path` names `folder` itself or something inside it (both taken from the current
// directory when relative; letter case ignored where the file system ignores it).
bool PathIsWithin(const std::string& path, const std::string& folder);

}  // namespace hv::platform
