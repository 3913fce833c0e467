#pragma once
// Level-0 LHA archives built byte by byte, for the edge cases no real archiver makes.

#include <cstdint>
#include <string>
#include <vector>

#include "support/bytes.h"

namespace hv::test {

// The CRC-16 LHA headers carry (the ARC polynomial, reflected, starting at 0).
std::uint16_t LhaCrc16(const Bytes& data);

struct LhaMember {
  std::string name;  // as stored: '\' separates folders, as MS-DOS LHA writes them
  Bytes data;        // stored as is
  std::string method = "-lh0-";
  // Overrides for damaged members: the CRC and sizes the header claims.
  int crc = -1;
  std::int64_t length = -1;
  std::int64_t compressed_length = -1;
};

// The members one after the other, each as a level-0 header and its data, then the zero
// end marker when `end_marker`.
Bytes BuildLha(const std::vector<LhaMember>& members, bool end_marker = true);

}  // namespace hv::test
