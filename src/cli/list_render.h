#pragma once
// What `hv list` prints for each reader: a listing as c1541 prints it for people, or one JSON
// object whose fields are the reader's property names plus "Load" and the numbers behind the
// texts. Strings are converted from Windows-1252 to UTF-8 and otherwise kept as held (padding
// and NULs included).

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

#include "tessary/readers/disk_directory.h"
#include "tessary/readers/hvD64.h"
#include "tessary/readers/hvP00.h"
#include "tessary/readers/hvPRG.h"
#include "tessary/readers/hvT64.h"

namespace hv::cli {

using Json = nlohmann::ordered_json;

// D64: the reader's properties, each entry's "Blocks" and, when known, the disk's "BlocksFree".
Json ListJson(const tessary::hvD64& d64, bool loaded, const tessary::DiskDirectory* directory);
// D71, D81, G64: the same fields, with the texts the D64 reader would hold for them.
Json ListJson(const tessary::DiskDirectory& directory);
Json ListJson(const tessary::hvT64& t64, bool loaded);
// `bytes` is the file's length; the load address comes from the reader's text.
Json ListJson(const tessary::hvPRG& prg, bool loaded, std::uint64_t bytes);
// `bytes` is the length of the data behind the header.
Json ListJson(const tessary::hvP00& p00, bool loaded, std::int64_t bytes);

// A disk as `c1541 -attach IMAGE -list` lists it: the header line, one line per entry, and
// "N blocks free." last.
std::string ListText(const tessary::DiskDirectory& directory);
// `first_record` is the name of the record VICE takes from a tape whose header says no entry
// is used ("" otherwise): shown as entry 1.
std::string ListText(const tessary::hvT64& t64, const std::string& first_record);
std::string ListText(const tessary::hvPRG& prg);
std::string ListText(const tessary::hvP00& p00);

}  // namespace hv::cli
