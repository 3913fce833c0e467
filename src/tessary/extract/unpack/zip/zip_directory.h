#pragma once
// The archive's table of contents: the end record (classic or zip64) and the central
// directory, checked against the file's size before anything is read from it.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/binary_file.h"

namespace hv::zip {

inline constexpr std::uint16_t kFlagEncrypted = 0x0001;
inline constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
inline constexpr std::uint16_t kFlagUtf8Name = 0x0800;

struct ZipEntry {
  std::string name;  // decoded to Windows-1252, folders kept
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint16_t dos_time = 0;
  std::uint16_t dos_date = 0;
  std::uint32_t crc = 0;
  std::uint64_t compressed_size = 0;
  std::uint64_t uncompressed_size = 0;
  std::uint64_t local_offset = 0;

  bool IsEncrypted() const noexcept { return (flags & kFlagEncrypted) != 0; }
  bool HasDataDescriptor() const noexcept { return (flags & kFlagDataDescriptor) != 0; }
};

struct ZipDirectory {
  std::vector<ZipEntry> entries;     // in central-directory order
  std::uint64_t central_offset = 0;  // entry data lies before this
  std::uint64_t file_size = 0;
};

// Reads and checks the end record and the central directory. A damaged, truncated,
// multi-disk or oversized archive throws hv::Error (321, with the reason).
ZipDirectory ReadZipDirectory(platform::BinaryFile& file);

}  // namespace hv::zip
