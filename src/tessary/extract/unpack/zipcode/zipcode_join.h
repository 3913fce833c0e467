#pragma once
// Joining a zipcode disk set (1!name to 4!name, and 5!name for a 40-track disk) into one D64
// image. The image is written under a temporary name in the target folder and renamed into
// place only when every sector decoded, so a failed join leaves no image behind.

#include <cstdint>
#include <string>

#include "common/error.h"
#include "tessary/extract/unpack/zip/zip_limits.h"

namespace hv::zipcode {

struct ZipcodeOptions {
  // Bytes this run may write in all.
  std::uint64_t max_total_bytes = zip::kZipDefaultTotalBytes;
  // Replace an existing file of the target name; otherwise that is a failure (58), as
  // renaming onto an existing name is.
  bool replace_existing = false;
};

struct ZipcodeJoinResult {
  bool ok = false;
  std::string written;  // the image's file name in the target folder
  int tracks = 0;       // 35, or 40 when the set has a fifth part
  FailureReason failure;
};

// Joins the set whose parts are `folder`/1!`base_name` ... into `target_folder`/`target_name`
// (an existing folder). A missing part among the first four fails (53) with its name;
// 5!`base_name` makes the image a 40-track one. The base and target names pass the zip
// reader's name check. Never throws: the result says why it failed.
ZipcodeJoinResult ZipcodeJoin(const std::string& folder, const std::string& base_name,
                              const std::string& target_folder, const std::string& target_name,
                              const ZipcodeOptions& options = {});

}  // namespace hv::zipcode
