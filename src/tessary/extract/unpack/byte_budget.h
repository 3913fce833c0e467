#pragma once
// The bytes one unpacker run may still write, and how far one member may expand. Failures are
// thrown as the archive's damage (321).

#include <cstdint>
#include <string>
#include <string_view>

namespace hv::unpack {

class ByteBudget {
 public:
  // `archive` names what is unpacked in failure texts (unpack_failure.h).
  ByteBudget(std::uint64_t bytes, std::string_view archive) : left_(bytes), archive_(archive) {}

  // Before the first byte is written: what the archive declares in all must fit.
  void CheckDeclared(std::uint64_t declared) const;
  // Takes `bytes` just produced for `member` ("" for a single output) off what is left.
  void Take(std::uint64_t bytes, std::string_view member = {});
  // After `written` bytes of `member` came from `consumed` archive bytes: the expansion must
  // stay below kMaxCompressionRatio.
  void CheckRatio(std::uint64_t written, std::uint64_t consumed,
                  std::string_view member = {}) const;

  std::uint64_t Left() const noexcept { return left_; }

 private:
  std::uint64_t left_;
  std::string_view archive_;
};

}  // namespace hv::unpack
