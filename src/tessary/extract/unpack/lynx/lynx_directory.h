#pragma once
// The directory of a Lynx archive: after a BASIC stub, a line with the directory's size in
// blocks and a signature holding "LYNX", the entry count, then per entry its C64 name, its
// size in blocks, its type letter (and for a relative file its record length) and the
// bytes used in its last block plus one. The files follow the directory, each starting on
// a 254-byte block boundary; the last one may end early.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/binary_file.h"

namespace hv::lynx {

struct LynxEntry {
  std::string name;  // the C64 name as stored (PETSCII), padding removed
  char type = 'P';   // 'P', 'S', 'U', 'R' or 'D'
  std::uint32_t blocks = 0;
  std::uint8_t record_length = 0;  // relative files only
  std::uint64_t data_offset = 0;   // where the file's bytes start in the archive
  std::uint64_t size = 0;          // the file's length in bytes
};

struct LynxDirectory {
  std::uint64_t directory_blocks = 0;
  std::string signature;
  std::vector<LynxEntry> entries;
};

// Reads and checks the directory: every entry's bytes lie within the archive. Throws
// hv::Error (321) for a damaged or unsupported archive, and the file layer's errors.
LynxDirectory ReadLynxDirectory(platform::BinaryFile& file);

}  // namespace hv::lynx
