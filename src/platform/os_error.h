#pragma once
// One mapping from the operating system's error codes to the Visual-Basic-style numbers the
// core reports, shared by every file service of a platform.

namespace hv::platform {

// Which file a failed call was about: one that must exist (a missing one is 53 "File not
// found"), or one being created or replaced (a missing one means its folder is missing: 76).
enum class FileRole { kExisting, kTarget };

// Throws hv::Error for an errno value (POSIX) or a GetLastError value (Windows).
[[noreturn]] void ThrowOsError(unsigned long code, FileRole role = FileRole::kExisting);

// Throws hv::Error for a program that could not be started, by what stopped it: 53 "File not
// found", 76 "Path not found" for a missing folder, 70 "Permission denied" for a program that
// may not be run (a folder, no execute permission, locked), 321 "Invalid file format" for a
// file that is no program this system runs, 7 "Out of memory"; any other code as ThrowOsError.
[[noreturn]] void ThrowStartError(unsigned long code);

}  // namespace hv::platform
