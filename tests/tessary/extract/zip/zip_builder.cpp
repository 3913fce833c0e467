#include "zip_builder.h"

#include <zlib.h>

#include <stdexcept>

namespace hv::test {
namespace {

void U16(Bytes& b, std::uint64_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void U32(Bytes& b, std::uint64_t v) {
  U16(b, v & 0xFFFF);
  U16(b, (v >> 16) & 0xFFFF);
}
void U64(Bytes& b, std::uint64_t v) {
  U32(b, v & 0xFFFFFFFF);
  U32(b, v >> 32);
}
void Append(Bytes& b, const Bytes& more) {
  b.insert(b.end(), more.begin(), more.end());
}
void Append(Bytes& b, const std::string& more) {
  b.insert(b.end(), more.begin(), more.end());
}

}  // namespace

Bytes RawDeflate(const Bytes& data) {
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  Bytes out(deflateBound(&z, data.size()));
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (rc != Z_STREAM_END) throw std::runtime_error("deflate");
  return out;
}

Bytes BuildZip(const std::vector<SynthEntry>& entries, bool zip64_end) {
  Bytes file;
  Bytes central;
  for (const SynthEntry& e : entries) {
    const Bytes stored = e.method == 8 ? RawDeflate(e.data) : e.data;
    const std::uint32_t crc = e.crc.value_or(
        static_cast<std::uint32_t>(crc32(0, e.data.data(), static_cast<uInt>(e.data.size()))));
    const std::uint64_t usize = e.usize.value_or(e.data.size());
    const std::uint64_t csize = e.csize.value_or(stored.size());
    const std::uint64_t offset = file.size();
    Bytes extra;
    if (e.zip64) {
      U16(extra, 1);
      U16(extra, 24);
      U64(extra, usize);
      U64(extra, csize);
      U64(extra, offset);
    }
    // Local header.
    U32(file, 0x04034b50);
    U16(file, e.zip64 ? 45 : 20);
    U16(file, e.flags);
    U16(file, e.method);
    U32(file, 0x00210000);  // 1 Jan 1980, 00:00
    U32(file, crc);
    U32(file, e.zip64 ? 0xFFFFFFFF : csize);
    U32(file, e.zip64 ? 0xFFFFFFFF : usize);
    U16(file, e.name.size());
    U16(file, extra.size());
    Append(file, e.name);
    Append(file, extra);
    Append(file, stored);
    if (e.flags & 8) {
      U32(file, 0x08074b50);
      U32(file, crc);
      U32(file, csize);
      U32(file, usize);
    }
    // Central header.
    U32(central, 0x02014b50);
    U16(central, 20);
    U16(central, e.zip64 ? 45 : 20);
    U16(central, e.flags);
    U16(central, e.method);
    U32(central, 0x00210000);
    U32(central, crc);
    U32(central, e.zip64 ? 0xFFFFFFFF : csize);
    U32(central, e.zip64 ? 0xFFFFFFFF : usize);
    U16(central, e.name.size());
    U16(central, extra.size());
    U16(central, 0);
    U16(central, 0);
    U16(central, 0);
    U32(central, 0);
    U32(central, e.zip64 ? 0xFFFFFFFF : offset);
    Append(central, e.name);
    Append(central, extra);
  }
  const std::uint64_t cd_offset = file.size();
  Append(file, central);
  if (zip64_end) {
    const std::uint64_t record = file.size();
    U32(file, 0x06064b50);
    U64(file, 44);
    U16(file, 45);
    U16(file, 45);
    U32(file, 0);
    U32(file, 0);
    U64(file, entries.size());
    U64(file, entries.size());
    U64(file, central.size());
    U64(file, cd_offset);
    U32(file, 0x07064b50);
    U32(file, 0);
    U64(file, record);
    U32(file, 1);
  }
  U32(file, 0x06054b50);
  U16(file, 0);
  U16(file, 0);
  U16(file, zip64_end ? 0xFFFF : entries.size());
  U16(file, zip64_end ? 0xFFFF : entries.size());
  U32(file, zip64_end ? 0xFFFFFFFF : central.size());
  U32(file, zip64_end ? 0xFFFFFFFF : cd_offset);
  U16(file, 0);
  return file;
}

}  // namespace hv::test
