// The Lynx reader on hostile archives: extraction must survive anything, and may only ever
// put the files it reports directly into its folder.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support.h"
#include "tessary/extract/unpack/lynx/lynx_extract.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const hv::fuzz::UnpackPaths& paths = hv::fuzz::UnpackScratch("in.lnx");
  hv::fuzz::EmptyDir(paths.out);
  hv::fuzz::WriteAll(paths.input, data, size);

  const auto run = hv::fuzz::RunUnpacker([&] {
    return hv::lynx::ExtractLynx(paths.input, paths.out, {64 * 1024 * 1024});  // small /dev/shm
  });
  for (const std::string& name : run.result.written) {
    HV_FUZZ_CHECK(name.front() != '.', "a written name is hidden: " + name);
  }
  // A Lynx archive stores its files unpacked: they never outgrow it.
  HV_FUZZ_CHECK((run.ok ? hv::fuzz::CheckOnlyReported(paths, run.result.written) : 0) <= size,
                "wrote more bytes than the archive holds");
  if (!run.ok) hv::fuzz::CheckFailedRunLeftNoTemporaries(paths);
  return 0;
}
