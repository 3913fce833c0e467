#pragma once
// What one Extract call works with and leaves behind. Every call starts from a fresh value, so
// nothing of an earlier call (a failure, a spent budget, a level count) reaches the next.

#include <cstdint>
#include <string>

#include "common/error.h"

namespace hv::tessary {

struct ExtractCall {
  // The caller's arguments, as given.
  std::string from_program;
  std::string database_file;
  std::string winzip_path;
  std::int32_t game_id = 0;

  // 1 while the call runs, 0 after success, 2 after failure.
  std::int32_t status = 0;
  std::int16_t level = 0;
  std::string level_name;
  // The working folder with a separator, then "ReZip" and a separator.
  std::string result_folder;
  std::string result_file;
  std::string fail_info;
  FailureReason last_failure;
  // Bytes the built-in unpackers may still write, over all levels.
  std::uint64_t budget = 0;
};

}  // namespace hv::tessary
