#pragma once
// Little-endian fields of zip records, read with bounds checks: a field past the end of the
// bytes at hand is a damaged archive, never a read beyond the buffer.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "tessary/extract/unpack/zip/zip_error.h"

namespace hv::zip {

class FieldReader {
 public:
  FieldReader(std::span<const std::uint8_t> bytes, const char* record)
      : bytes_(bytes), record_(record) {}

  std::uint16_t U16(std::size_t at) const { return static_cast<std::uint16_t>(Get(at, 2)); }
  std::uint32_t U32(std::size_t at) const { return static_cast<std::uint32_t>(Get(at, 4)); }
  std::uint64_t U64(std::size_t at) const { return Get(at, 8); }
  std::string_view Text(std::size_t at, std::size_t size) const {
    Require(at, size);
    return {reinterpret_cast<const char*>(bytes_.data() + at), size};
  }
  std::span<const std::uint8_t> Sub(std::size_t at, std::size_t size) const {
    Require(at, size);
    return bytes_.subspan(at, size);
  }
  std::size_t size() const noexcept { return bytes_.size(); }

 private:
  void Require(std::size_t at, std::size_t size) const {
    if (at > bytes_.size() || size > bytes_.size() - at) {
      ThrowBadZip(std::string("truncated ") + record_);
    }
  }
  std::uint64_t Get(std::size_t at, std::size_t size) const {
    Require(at, size);
    std::uint64_t value = 0;
    for (std::size_t i = size; i-- > 0;) value = (value << 8) | bytes_[at + i];
    return value;
  }

  std::span<const std::uint8_t> bytes_;
  const char* record_;
};

// True when [offset, offset + length) lies within [0, limit), computed without overflow.
inline bool FitsWithin(std::uint64_t offset, std::uint64_t length, std::uint64_t limit) {
  return offset <= limit && length <= limit - offset;
}

}  // namespace hv::zip
