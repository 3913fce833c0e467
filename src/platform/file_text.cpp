// Whole-file reads, the same on every platform: they go through BinaryFile.

#include <span>

#include "platform/binary_file.h"
#include "platform/filesystem.h"

namespace hv::platform {

std::string ReadFileText(const std::string& path) {
  auto file = BinaryFile::OpenRead(path);
  std::string bytes(static_cast<std::size_t>(file.Length()), '\0');
  file.ReadAt(0, std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()));
  return bytes;
}

}  // namespace hv::platform
