#pragma once
// Header of a P00..P09 container: its signature, the C64 file name and the data size.

#include <string>
#include <string_view>

#include "common/error.h"

namespace hv::tessary {

class hvP00 {
 public:
  // True when all three texts were set; texts set before a failure keep their new values.
  bool Load(const std::string& strFilename);

  const std::string& Filename() const noexcept { return filename_; }
  const std::string& FileSize() const noexcept { return file_size_; }
  const std::string& Signature() const noexcept { return signature_; }

  const FailureReason& LastFailure() const noexcept { return last_failure_; }

  // Drops trailing NULs, then turns every remaining NUL into a space.
  static std::string CleanNuls(std::string_view text);

  static constexpr int kHeaderSize = 26;

 private:
  std::string filename_;
  std::string file_size_;
  std::string signature_;
  FailureReason last_failure_;
};

}  // namespace hv::tessary
