#pragma once
// A work area for zip tests: an archive folder, a destination folder and a file outside the
// destination, with a snapshot of everything so a test can prove what changed.

#include <exception>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "common/error.h"
#include "support/bytes.h"
#include "support/temp_dir.h"
#include "tessary/extract/unpack/unpack_result.h"

namespace hv::test {

// Every file and folder below `root` with its content (folders map to "<dir>").
std::map<std::string, Bytes> Snapshot(const std::filesystem::path& root);

// The snapshot without the entries below `root`/`skip`.
std::map<std::string, Bytes> SnapshotOutside(const std::filesystem::path& root,
                                             const std::string& skip);

// Bytes that deflate about as poorly as a packed disk image.
Bytes PseudoRandomBytes(std::size_t size, std::uint32_t seed);

// An unpacker's run as a test looks at it: what it wrote, or the failure it threw.
struct Unpacked {
  bool ok = false;
  std::vector<std::string> written;
  std::uint64_t bytes = 0;
  std::string warning;
  FailureReason failure;  // set when !ok
  std::exception_ptr error;
};

template <class Run>
Unpacked Attempt(Run&& run) {
  Unpacked outcome;
  try {
    unpack::UnpackResult result = run();
    outcome.ok = true;
    outcome.written = std::move(result.written);
    outcome.bytes = result.bytes;
    outcome.warning = std::move(result.warning);
  } catch (...) {
    outcome.failure = CaughtFailure();
    outcome.error = std::current_exception();
  }
  return outcome;
}

class ZipWorkArea {
 public:
  ZipWorkArea();
  std::filesystem::path root() const { return temp_.path(); }
  std::filesystem::path dest() const { return temp_ / "dest"; }
  std::filesystem::path src() const { return temp_ / "src"; }
  std::string dest_str() const { return dest().string(); }
  // Names in the destination folder, sorted.
  std::vector<std::string> DestNames() const;

 private:
  TempDir temp_;
};

}  // namespace hv::test
