#pragma once
// Lynx archives built byte by byte, for edge cases no tool makes: every field can be given a
// wrong value, and the directory text can be replaced outright.

#include <optional>
#include <string>
#include <vector>

#include "support/bytes.h"

namespace hv::test {

struct SynthLynxEntry {
  std::string name = {};  // PETSCII, padded with shift-spaces to 16 characters
  Bytes data = {};
  std::string type = "P";
  std::optional<unsigned> blocks = {};  // default: what the data needs
  std::optional<unsigned> last = {};    // default: bytes in the last block plus one
  std::optional<unsigned> record_length = {};
};

struct SynthLynx {
  std::vector<SynthLynxEntry> entries = {};
  std::optional<unsigned> count = {};  // default: the number of entries
  std::string signature = "*LYNX TEST*";
  bool pad_last = false;  // pad the last file to a whole block too
};

// The whole archive: BASIC stub, directory padded to whole blocks, files block-aligned.
Bytes BuildLynx(const SynthLynx& lynx);

// A 14-byte BASIC stub followed by `text` (the header and directory) and zero padding to
// whole 254-byte blocks; for directories that no entry list describes.
Bytes LynxWithDirectoryText(const std::string& text, std::size_t blocks = 1);

}  // namespace hv::test
