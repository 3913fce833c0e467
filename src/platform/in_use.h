#pragma once
// Whether a program hv started still uses a folder. Before the start a lock file in the folder
// is opened and locked without close-on-exec: the started program inherits the lock, which
// lasts exactly as long as some process of it keeps the file open, crash or not.

#include <memory>
#include <string>

namespace hv::platform {

class InUseMark {
 public:
  // Opens and locks `lock_file` (created when missing), to be inherited by the next program
  // started. Throws hv::Error when the file cannot be made.
  explicit InUseMark(const std::string& lock_file);
  InUseMark(InUseMark&&) noexcept;
  InUseMark& operator=(InUseMark&&) noexcept;
  ~InUseMark();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// True while a program holds the lock of `lock_file`. A missing file is no lock. Where locks
// are not inherited (Windows) nothing is ever in use.
bool InUse(const std::string& lock_file);

}  // namespace hv::platform
