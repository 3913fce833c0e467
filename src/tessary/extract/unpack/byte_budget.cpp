#include "tessary/extract/unpack/byte_budget.h"

#include <algorithm>

#include "tessary/extract/unpack/unpack_failure.h"
#include "tessary/extract/unpack/unpack_limits.h"

namespace hv::unpack {
namespace {

std::string About(std::string_view what, std::string_view member) {
  std::string text(what);
  if (!member.empty()) text += ": " + std::string(member);
  return text;
}

}  // namespace

void ByteBudget::CheckDeclared(std::uint64_t declared) const {
  if (declared > left_) ThrowTooLarge(archive_, "archive exceeds its size budget");
}

void ByteBudget::Take(std::uint64_t bytes, std::string_view member) {
  if (bytes > left_) ThrowTooLarge(archive_, About("extraction exceeds its size budget", member));
  left_ -= bytes;
}

void ByteBudget::CheckRatio(std::uint64_t written, std::uint64_t consumed,
                            std::string_view member) const {
  if (written > kRatioCheckFrom &&
      written / std::max<std::uint64_t>(consumed, 1) > kMaxCompressionRatio) {
    ThrowTooLarge(archive_, About("compression ratio too high", member));
  }
}

}  // namespace hv::unpack
