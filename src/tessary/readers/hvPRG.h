#pragma once
// Size and load address of a C64 program file.

#include <string>

#include "common/error.h"

namespace hv::tessary {

class hvPRG {
 public:
  // True when all three texts were set; texts set before a failure keep their new values.
  bool Load(const std::string& strFilename);

  const std::string& SYSAddress() const noexcept { return sys_address_; }
  const std::string& FileSize() const noexcept { return file_size_; }
  const std::string& LoadAddress() const noexcept { return load_address_; }

  const FailureReason& LastFailure() const noexcept { return last_failure_; }

 private:
  std::string sys_address_;
  std::string file_size_;
  std::string load_address_;
  FailureReason last_failure_;
};

}  // namespace hv::tessary
