#pragma once
// Zip archives built byte by byte, for the cases no real tool writes: lying sizes, hostile
// names, zip64 records, encryption flags.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/bytes.h"

namespace hv::test {

struct SynthEntry {
  std::string name{};  // stored bytes
  Bytes data{};        // uncompressed content
  std::uint16_t method = 8;
  std::uint16_t flags = 0;
  std::optional<std::uint64_t> usize{};  // recorded sizes and CRC, when they should lie
  std::optional<std::uint64_t> csize{};
  std::optional<std::uint32_t> crc{};
  bool zip64 = false;  // sizes and offset only in the zip64 extra field
};

Bytes RawDeflate(const Bytes& data);
Bytes BuildZip(const std::vector<SynthEntry>& entries, bool zip64_end = false);

}  // namespace hv::test
