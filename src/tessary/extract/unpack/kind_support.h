#pragma once
// What several archive kinds do alike: paths, the short names the outside tools get, and the
// byte budget the built-in unpackers share.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "halvane/functions/functions_ops.h"
#include "tessary/extract/unpack/unpack_result.h"

namespace hv::tessary {

// `folder`, the separator, `name`.
std::string JoinPath(const std::string& folder, const std::string& name);

// The file-name part of `path` as GetFileAndPath gives it when handed one variable for both
// outputs: the file name is written last and stays.
std::string FileNamePart(halvane::FunctionsOps& functions, const std::string& path);

// Takes what an unpacker wrote off the extraction's budget, down to 0.
void Charge(std::uint64_t& budget, const unpack::UnpackResult& result);

// Unpacks each of several archives on its own (disk sets, Lynx): a failed one is left out as a
// failed outside tool leaves nothing, and only when none unpacked does the level fail, with
// the first failure.
void UnpackEach(const std::vector<std::string>& names,
                const std::function<void(const std::string& name)>& unpack_one);

}  // namespace hv::tessary
