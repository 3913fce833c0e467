// Windows command-line splitting: survives any text, and what it splits, quoted again with the
// quoting the tool runs use, splits back into the same arguments.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/cmdline.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> args = hv::SplitCommandLine(text);
  if (args.empty()) return 0;
  std::string joined;
  try {
    joined = hv::QuoteProgramName(args[0]);
  } catch (const std::invalid_argument&) {
    return 0;  // a name no command line can carry
  }
  for (std::size_t i = 1; i < args.size(); ++i) joined += ' ' + hv::QuoteArgument(args[i]);
  const std::vector<std::string> again = hv::SplitCommandLine(joined);
  HV_FUZZ_CHECK(again == args, "quoting and splitting again changed the arguments of: " + joined);
  return 0;
}
