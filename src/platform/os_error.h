#pragma once
// One mapping from the operating system's error codes to the Visual-Basic-style numbers the
// core reports, shared by every file service of a platform.

namespace hv::platform {

// Which file a failed call was about: one that must exist (a missing one is 53 "File not
// found"), or one being created or replaced (a missing one means its folder is missing: 76).
enum class FileRole { kExisting, kTarget };

// Throws hv::Error for an errno value (POSIX) or a GetLastError value (Windows).
[[noreturn]] void ThrowOsError(unsigned long code, FileRole role = FileRole::kExisting);

}  // namespace hv::platform
