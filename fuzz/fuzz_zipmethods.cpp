// Every zip method's decoder on hostile data. The input is the method's index in kMethods, the
// general-purpose flags, the declared size in 256-byte units (two bytes), then the compressed
// bytes. A decoder either fails with DamagedData or stops; the ones that stop at the declared
// size on their own must not pass it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

#include "support.h"
#include "tessary/extract/codecs/codec.h"

namespace {

constexpr std::uint16_t kMethods[] = {1, 2, 3, 4, 5, 6, 8, 9, 12, 14, 95, 98};

// zlib, libbzip2 and liblzma's .xz decoder end at their own end marker; the zip reader's
// guard bounds them.
bool StopsAtTheSize(std::uint16_t method) {
  return method != 8 && method != 12 && method != 95;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint16_t method = kMethods[data[0] % std::size(kMethods)];
  const auto flags = static_cast<std::uint16_t>(data[1]);
  const std::uint64_t declared = (std::uint64_t{data[2]} | std::uint64_t{data[3]} << 8) * 256;
  const std::span<const std::uint8_t> body(data + 4, size - 4);

  std::size_t at = 0;
  const hv::codecs::ByteSource source = [&](std::span<std::uint8_t> buffer) {
    // Small pieces, so refills happen mid-symbol.
    const std::size_t n = std::min<std::size_t>({buffer.size(), body.size() - at, 977});
    std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(at), n, buffer.begin());
    at += n;
    return n;
  };
  std::uint64_t produced = 0;
  const hv::codecs::ByteSink sink = [&](std::span<const std::uint8_t> bytes) {
    produced += bytes.size();
    // What the zip reader's guard does: stop a decoder that runs on.
    HV_FUZZ_CHECK(!StopsAtTheSize(method) || produced <= declared, "output past the size");
    if (produced > declared + (1u << 20)) throw hv::codecs::DamagedData("runs on");
  };
  try {
    hv::codecs::Decode({method, flags, body.size(), declared}, source, sink);
  } catch (const hv::codecs::DamagedData&) {
  } catch (const std::bad_alloc&) {
  }
  return 0;
}
