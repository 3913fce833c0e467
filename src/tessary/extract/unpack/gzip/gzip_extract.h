#pragma once
// Unpacking a gzip file into one folder as gunzip does: every member of the file, one after
// the other, becomes one output file named after the archive without its gzip suffix. Bytes
// after the last member that do not start another member are ignored with a warning, as
// gunzip ignores "trailing garbage" and still writes its output. The output is written under a
// temporary name and renamed into place only after every member's CRC and length checked,
// within the byte budget and ratio cap, and only after its name passed the one name check
// (unpack/flat_folder.h).

#include <string>

#include "tessary/extract/unpack/unpack_result.h"

namespace hv::gzip {

// The result's one written name; its warning is what gunzip would warn about: "trailing
// garbage ignored" or "trailing zero bytes ignored" when bytes that start no member follow the
// last one. Throws hv::Error for a bad file or a failed write, and leaves no output file
// behind. `folder` must be an existing folder; the archive itself is left in place.
unpack::UnpackResult ExtractGzip(const std::string& archive, const std::string& folder,
                                 const unpack::UnpackOptions& options = {});

}  // namespace hv::gzip
