#include "lha_builder.h"

namespace hv::test {
namespace {

void PutU16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32(Bytes& out, std::uint64_t v) {
  PutU16(out, static_cast<std::uint32_t>(v & 0xFFFF));
  PutU16(out, static_cast<std::uint32_t>((v >> 16) & 0xFFFF));
}

}  // namespace

std::uint16_t LhaCrc16(const Bytes& data) {
  std::uint16_t crc = 0;
  for (const std::uint8_t byte : data) {
    crc ^= byte;
    for (int bit = 0; bit < 8; ++bit) {
      crc = static_cast<std::uint16_t>((crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1);
    }
  }
  return crc;
}

Bytes BuildLha(const std::vector<LhaMember>& members, bool end_marker) {
  Bytes out;
  for (const LhaMember& m : members) {
    Bytes header;
    header.insert(header.end(), m.method.begin(), m.method.end());
    PutU32(header, m.compressed_length >= 0 ? static_cast<std::uint64_t>(m.compressed_length)
                                            : m.data.size());
    PutU32(header, m.length >= 0 ? static_cast<std::uint64_t>(m.length) : m.data.size());
    PutU32(header, 0x5A210000);  // 1 January 2025, midnight, in MS-DOS form
    header.push_back(0x20);      // archive attribute
    header.push_back(0);         // header level 0
    header.push_back(static_cast<std::uint8_t>(m.name.size()));
    header.insert(header.end(), m.name.begin(), m.name.end());
    PutU16(header, m.crc >= 0 ? static_cast<std::uint32_t>(m.crc) : LhaCrc16(m.data));
    std::uint8_t sum = 0;
    for (const std::uint8_t b : header) sum = static_cast<std::uint8_t>(sum + b);
    out.push_back(static_cast<std::uint8_t>(header.size()));
    out.push_back(sum);
    out.insert(out.end(), header.begin(), header.end());
    out.insert(out.end(), m.data.begin(), m.data.end());
  }
  if (end_marker) out.push_back(0);
  return out;
}

}  // namespace hv::test
