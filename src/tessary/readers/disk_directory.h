#pragma once
// The directory of a Commodore disk image as the drive lists it: header, entries in chain order
// and the blocks free, for 1541 (D64, and G64 through its GCR tracks), 1571 (D71) and 1581 (D81)
// images. Unlike hvD64, it follows each directory sector once: a chain that loops or leaves the
// disk ends the listing and says why.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace hv::tessary {

enum class DiskFormat { kD64, kD71, kD81, kG64 };

struct DiskEntry {
  std::string name;  // the 16 bytes of the name field as stored
  std::uint8_t type = 0;
  std::uint16_t blocks = 0;
};

struct DiskDirectory {
  std::string name;  // the 16 bytes of the disk name as stored
  std::string id;    // the 5 bytes of ID, blank and DOS type as stored
  std::vector<DiskEntry> entries;
  std::uint32_t blocks_free = 0;
  std::string chain_problem;  // why the directory chain was cut short, or ""
};

// Reads an image held in memory. Throws hv::Error 321 "Invalid file format" with a description
// saying what is wrong when the bytes are no image of `format` (a size no such image has, a
// missing signature, an unreadable header).
DiskDirectory ReadDiskDirectory(std::span<const std::uint8_t> image, DiskFormat format);

// Reads the file at `path` (core text); file errors are the platform's hv::Error.
DiskDirectory ReadDiskDirectoryFile(const std::string& path, DiskFormat format);

}  // namespace hv::tessary
