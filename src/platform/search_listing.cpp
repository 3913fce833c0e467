// The folder listing of a recursive search through the plain enumeration, the same on every
// platform.

#include "platform/filesystem.h"

namespace hv::platform {

SearchListing ListForSearchByEnumeration(const std::string& folder, const std::string& pattern) {
  SearchListing listing;
  FindData data;
  {
    FindEnumeration all(folder + "*", FindEnumeration::Detail::kNamesOnly);
    while (all.valid() && all.Next(data)) listing.entries.push_back(std::move(data));
  }
  FindEnumeration matches(folder + pattern);
  while (matches.valid() && matches.Next(data)) listing.matches.push_back(std::move(data));
  return listing;
}

}  // namespace hv::platform
