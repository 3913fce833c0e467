// One reader per build (HV_FUZZ_READER): 1 D64, 2 T64, 3 PRG, 4 P00. The input is the file
// Load opens; every text the reader produced is touched so that a bad length shows.

#include <cstddef>
#include <cstdint>
#include <string>

#include "support.h"
#include "tessary/readers/hvD64.h"
#include "tessary/readers/hvP00.h"
#include "tessary/readers/hvPRG.h"
#include "tessary/readers/hvT64.h"

namespace {

std::size_t Touch(const std::string& s) {
  std::size_t sum = 0;
  for (char c : s) sum += static_cast<unsigned char>(c);
  return sum;
}

const std::string& InputPath() {
  static const std::string path = hv::fuzz::ScratchDir() + "/input";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  hv::fuzz::WriteAll(InputPath(), data, size);
  volatile std::size_t sink = 0;
#if HV_FUZZ_READER == 1
  hv::tessary::hvD64 d64;
  const bool ok = d64.Load(InputPath());
  sink = sink + Touch(d64.DiskName()) + Touch(d64.DiskID());
  for (const auto& e : d64.Entries()->All()) {
    sink = sink + Touch(e->Filename()) + Touch(e->FileSizeInBlocks()) + Touch(e->FileType());
  }
  HV_FUZZ_CHECK(ok || !d64.LastFailure().empty(), "a failed Load names no reason");
#elif HV_FUZZ_READER == 2
  hv::tessary::hvT64 t64;
  const bool ok = t64.Load(InputPath());
  sink = sink + Touch(t64.Signature()) + Touch(t64.TapeImageName()) + Touch(t64.Version());
  for (const auto& e : t64.Entries()->All()) sink = sink + Touch(e->C64Filename());
  HV_FUZZ_CHECK(t64.Entries()->All().size() <= hv::tessary::hvT64::kMaxEntriesUsed,
                "more records than a T64 can use");
  HV_FUZZ_CHECK(ok || !t64.LastFailure().empty(), "a failed Load names no reason");
#elif HV_FUZZ_READER == 3
  hv::tessary::hvPRG prg;
  const bool ok = prg.Load(InputPath());
  sink = sink + Touch(prg.SYSAddress()) + Touch(prg.FileSize()) + Touch(prg.LoadAddress());
  HV_FUZZ_CHECK(ok || !prg.LastFailure().empty(), "a failed Load names no reason");
#elif HV_FUZZ_READER == 4
  hv::tessary::hvP00 p00;
  const bool ok = p00.Load(InputPath());
  sink = sink + Touch(p00.Filename()) + Touch(p00.FileSize()) + Touch(p00.Signature());
  HV_FUZZ_CHECK(ok || !p00.LastFailure().empty(), "a failed Load names no reason");
#else
#error "HV_FUZZ_READER selects the reader"
#endif
  (void)sink;
  return 0;
}
