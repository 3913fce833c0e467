#pragma once
// Joining a zipcode disk set (1!name to 4!name, and 5!name for a 40-track disk) into one D64
// image. The image is written under a temporary name in the target folder and renamed into
// place only when every sector decoded, so a failed join leaves no image behind.

#include <string>

#include "tessary/extract/unpack/unpack_result.h"

namespace hv::zipcode {

// Joins the set whose parts are `folder`/1!`base_name` ... into `target_folder`/`target_name`
// (an existing folder); 5!`base_name` makes the image a 40-track one. An image of that name
// already there is kept and the new one named apart (unpack/flat_folder.h). The base and
// target names must pass the one name check unchanged. Throws hv::Error: a missing part among
// the first four is 53 with its name.
unpack::UnpackResult ZipcodeJoin(const std::string& folder, const std::string& base_name,
                                 const std::string& target_folder, const std::string& target_name,
                                 const unpack::UnpackOptions& options = {});

}  // namespace hv::zipcode
