#pragma once
// Number formats of the display texts.

#include <cstdint>
#include <string>

namespace hv {

// numerator / denominator in the format "#####0.00": at least one integer digit, exactly two
// decimals rounded half away from zero, no thousands separator, the given decimal separator,
// a minus sign for a negative value (none when it rounds to zero). Exact for any 64-bit
// numerator below 2^56 / 100, which covers every file length.
std::string FormatFixed2(std::int64_t numerator, std::int64_t denominator, char decimal_separator);

// A byte count as kilobytes of 1024 bytes followed directly by "Kb" ("2.93Kb").
std::string FormatKilobytes(std::int64_t bytes, char decimal_separator);

// Upper-case hexadecimal, padded on the left with zeros to `digits`.
std::string HexUpper(std::uint32_t value, int digits);

}  // namespace hv
