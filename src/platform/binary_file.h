#pragma once
// Read-only binary file access at byte offsets: what the readers need, and no more. The
// path is core text (Windows-1252); each platform turns it into its own file name.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "common/error.h"

namespace hv::platform {

class BinaryFile {
 public:
  // Opens for reading; throws hv::Error (53 File not found, 76 Path not found,
  // 75 Path/File access error, 70 Permission denied) when it cannot.
  static BinaryFile OpenRead(const std::string& path);

  BinaryFile(BinaryFile&&) noexcept;
  BinaryFile& operator=(BinaryFile&&) noexcept;
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;
  ~BinaryFile();

  // Fills `buffer` from `offset`. Bytes beyond the end of the file read as zero; a failing
  // read throws hv::Error.
  void ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer);
  std::uint64_t Length();
  void Close() noexcept;

 private:
  struct Impl;
  explicit BinaryFile(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// The decimal separator of the user's locale, for the display formats.
char DecimalSeparator();

}  // namespace hv::platform
