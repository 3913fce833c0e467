// File-name patterns: any pattern against any name, in bounded time. Input: pattern, NUL,
// name.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/wildcard.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string_view pattern = input.substr(0, split);
  const std::string_view name =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  (void)hv::WildcardMatch(pattern, name);
  HV_FUZZ_CHECK(hv::WildcardMatch("*", name), "\"*\" does not match every name");
  HV_FUZZ_CHECK(hv::WildcardMatch("*.*", name), "\"*.*\" does not match every name");
  return 0;
}
