#include "tessary/extract/unpack/lha/lha_archive.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <exception>
#include <new>
#include <utility>
#include <vector>

#include "lha_decoder.h"
#include "lha_input_stream.h"
#include "platform/binary_file.h"
#include "tessary/extract/unpack/lha/lha_error.h"

// lhasa's internal headers carry no C++ guard of their own.
extern "C" {
#include "lha_basic_reader.h"
#include "macbinary.h"
}

namespace hv::lha {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

struct StreamFree {
  void operator()(LHAInputStream* s) const noexcept { lha_input_stream_free(s); }
};
struct ReaderFree {
  void operator()(LHABasicReader* r) const noexcept { lha_basic_reader_free(r); }
};
struct DecoderFree {
  void operator()(LHADecoder* d) const noexcept { lha_decoder_free(d); }
};
using DecoderPtr = std::unique_ptr<LHADecoder, DecoderFree>;

// lhasa's method lookup takes a writable C string.
LHADecoderType* DecoderFor(const std::string& method) {
  std::array<char, 8> field{};
  std::copy_n(method.begin(), std::min(method.size(), field.size() - 1), field.begin());
  return lha_decoder_for_name(field.data());
}

}  // namespace

bool IsKnownMethod(const std::string& method) {
  return DecoderFor(method) != nullptr;
}

// The callbacks lhasa reads through. They run inside C code, so they never throw: a failed
// read is kept and thrown again once lhasa has returned.
struct LhaArchive::Impl {
  explicit Impl(const std::string& path) : file(platform::BinaryFile::OpenRead(path)) {
    length = file.Length();
  }

  static int Read(void* handle, void* buf, std::size_t buf_len) {
    auto& self = *static_cast<Impl*>(handle);
    try {
      const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(
          {buf_len, self.length - self.position, static_cast<std::uint64_t>(INT_MAX)}));
      self.file.ReadAt(self.position, std::span(static_cast<std::uint8_t*>(buf), n));
      self.position += n;
      return static_cast<int>(n);
    } catch (...) {
      self.failure = std::current_exception();
      return -1;
    }
  }

  // Without a skip of our own, lhasa's fallback loops for ever at the end of the file.
  static int Skip(void* handle, std::size_t bytes) {
    auto& self = *static_cast<Impl*>(handle);
    if (bytes > self.length - self.position) {
      self.position = self.length;
      return 0;
    }
    self.position += bytes;
    return 1;
  }

  void RethrowFailure() {
    if (failure) std::rethrow_exception(std::exchange(failure, nullptr));
  }

  // Called when lhasa finds no further header: a clean end, or damage to report.
  void CheckEnd() {
    if (entries == 0) ThrowBadLha("no LHA header found");
    if (next_header > length) ThrowBadLha("the file ends inside the data of " + last_name);
    if (next_header == length) return;
    std::array<std::uint8_t, 1> marker{};
    file.ReadAt(next_header, marker);
    if (marker[0] == 0 || IsTransferPadding()) return;
    ThrowBadLha("unreadable header at offset " + std::to_string(next_header));
  }

  // Archives that went through XMODEM carry up to one 128-byte block of ^Z characters.
  bool IsTransferPadding() {
    constexpr std::uint64_t kXmodemBlock = 128;
    if (length - next_header >= kXmodemBlock) return false;
    std::array<std::uint8_t, kXmodemBlock> rest{};
    const auto tail = std::span(rest).first(static_cast<std::size_t>(length - next_header));
    file.ReadAt(next_header, tail);
    return std::all_of(tail.begin(), tail.end(), [](std::uint8_t b) { return b == 0x1A; });
  }

  platform::BinaryFile file;
  std::uint64_t length = 0;
  std::uint64_t position = 0;
  std::exception_ptr failure;
  const LHAInputStreamType type{&Impl::Read, &Impl::Skip, nullptr};
  std::unique_ptr<LHAInputStream, StreamFree> stream;
  std::unique_ptr<LHABasicReader, ReaderFree> reader;  // declared last: freed first
  LHAFileHeader* header = nullptr;                     // owned by `reader`
  std::uint64_t entries = 0;
  std::uint64_t next_header = 0;  // where the header after the current entry's data starts
  std::string last_name;
  bool decoded = false;
};

LhaArchive::LhaArchive(const std::string& path) : impl_(std::make_unique<Impl>(path)) {
  impl_->stream.reset(lha_input_stream_new(&impl_->type, impl_.get()));
  if (!impl_->stream) throw std::bad_alloc();
  impl_->reader.reset(lha_basic_reader_new(impl_->stream.get()));
  if (!impl_->reader) throw std::bad_alloc();
}

LhaArchive::~LhaArchive() = default;

std::optional<LhaEntry> LhaArchive::Next() {
  Impl& s = *impl_;
  s.header = lha_basic_reader_next_file(s.reader.get());
  s.RethrowFailure();
  if (s.header == nullptr) {
    s.CheckEnd();
    return std::nullopt;
  }
  const LHAFileHeader& h = *s.header;
  LhaEntry entry;
  if (h.path != nullptr) entry.path = h.path;
  if (h.filename != nullptr) entry.name = h.filename;
  entry.method.assign(h.compress_method, strnlen(h.compress_method, sizeof h.compress_method));
  entry.length = h.length;
  entry.compressed_length = h.compressed_length;
  entry.is_link = h.symlink_target != nullptr;
  entry.is_folder = !entry.is_link && entry.method == LHA_COMPRESS_TYPE_DIR;
  // The header has just been read in full, so the data starts here.
  s.next_header = s.position + entry.compressed_length;
  s.last_name = entry.path + entry.name;
  s.decoded = false;
  ++s.entries;
  return entry;
}

void LhaArchive::Decode(const ByteSink& sink) {
  Impl& s = *impl_;
  if (s.header == nullptr || s.decoded) ThrowBadLha("no entry to decode");
  s.decoded = true;
  const LHAFileHeader& h = *s.header;
  const std::string method(h.compress_method, strnlen(h.compress_method, sizeof h.compress_method));
  if (!IsKnownMethod(method)) ThrowBadLha("unsupported method " + method + ": " + s.last_name);
  DecoderPtr inner(lha_basic_reader_decode(s.reader.get()));
  if (!inner) throw std::bad_alloc();
  // MacLHA puts a MacBinary header before the data; lhasa's filter strips it.
  DecoderPtr macbinary;
  LHADecoder* outer = inner.get();
  if (h.os_type == LHA_OS_TYPE_MACOS) {
    macbinary.reset(lha_macbinary_passthrough(inner.get(), s.header));
    if (!macbinary) throw std::bad_alloc();
    outer = macbinary.get();
  }
  std::vector<std::uint8_t> buffer(kChunk);
  for (;;) {
    const std::size_t n = lha_decoder_read(outer, buffer.data(), buffer.size());
    s.RethrowFailure();
    if (n == 0) break;
    sink(std::span(buffer).first(n));
  }
  // The inner decoder counts and checksums what was stored, MacBinary header included.
  if (lha_decoder_get_length(inner.get()) != h.length) {
    ThrowBadLha("data shorter than its recorded size: " + s.last_name);
  }
  if (lha_decoder_get_crc(inner.get()) != h.crc) ThrowBadLha("CRC error in " + s.last_name);
}

}  // namespace hv::lha
