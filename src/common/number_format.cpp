#include "common/number_format.h"

#include <cstdio>

namespace hv {

std::string FormatFixed2(std::int64_t numerator, std::int64_t denominator, char decimal_separator) {
  const bool negative = (numerator < 0) != (denominator < 0);
  const std::uint64_t num = numerator < 0 ? 0 - static_cast<std::uint64_t>(numerator)
                                          : static_cast<std::uint64_t>(numerator);
  const std::uint64_t den = denominator < 0 ? 0 - static_cast<std::uint64_t>(denominator)
                                            : static_cast<std::uint64_t>(denominator);
  // Hundredths, rounded half away from zero, in exact integer arithmetic.
  const std::uint64_t scaled = num * 100;
  std::uint64_t hundredths = scaled / den;
  if ((scaled % den) * 2 >= den) ++hundredths;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%s%llu%c%02llu", negative && hundredths != 0 ? "-" : "",
                static_cast<unsigned long long>(hundredths / 100), decimal_separator,
                static_cast<unsigned long long>(hundredths % 100));
  return buffer;
}

std::string FormatKilobytes(std::int64_t bytes, char decimal_separator) {
  return FormatFixed2(bytes, 1024, decimal_separator) + "Kb";
}

std::string HexUpper(std::uint32_t value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*X", digits, value);
  return buffer;
}

}  // namespace hv
