#pragma once
// What `hv list` prints for each reader: a C64-style listing for people, or one JSON object
// whose fields are the reader's property names plus "Load". Strings are converted from
// Windows-1252 to UTF-8 and otherwise kept as held (padding and NULs included).

#include <string>

#include "tessary/readers/hvD64.h"
#include "tessary/readers/hvP00.h"
#include "tessary/readers/hvPRG.h"
#include "tessary/readers/hvT64.h"

namespace hv::cli {

std::string ListJson(const tessary::hvD64& d64, bool loaded);
std::string ListJson(const tessary::hvT64& t64, bool loaded);
std::string ListJson(const tessary::hvPRG& prg, bool loaded);
std::string ListJson(const tessary::hvP00& p00, bool loaded);

std::string ListText(const tessary::hvD64& d64);
std::string ListText(const tessary::hvT64& t64);
std::string ListText(const tessary::hvPRG& prg);
std::string ListText(const tessary::hvP00& p00);

}  // namespace hv::cli
