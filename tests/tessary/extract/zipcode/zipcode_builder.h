#pragma once
// Zipcode parts built from an image, sector by sector (filled or stored), so that a test can
// make the fifth part no tool here writes, or damage single sectors.

#include <vector>

#include "support/bytes.h"

namespace hv::test {

// Every sector of the part's tracks, in track and sector order: a filled sector when all its
// bytes are equal, else a stored one.
std::vector<Bytes> EncodeSectors(const Bytes& image, int part);

// The part file: load address (and for part 1 the sector ID "64"), then the sectors.
Bytes JoinPart(int part, const std::vector<Bytes>& sectors);

inline Bytes EncodePart(const Bytes& image, int part) {
  return JoinPart(part, EncodeSectors(image, part));
}

}  // namespace hv::test
