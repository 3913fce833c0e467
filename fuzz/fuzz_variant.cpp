// Text to number conversions of the variant on hostile text, and the addition of the
// results: a clear hv::Error or a value, never anything else.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/error.h"
#include "common/variant.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const hv::Variant text(std::string(reinterpret_cast<const char*>(data), size));
  hv::Variant as_long, as_double;
  try {
    as_long = hv::Variant(text.ToLong());
  } catch (const hv::Error& e) {
    HV_FUZZ_CHECK(e.Number() == hv::vberr::kTypeMismatch || e.Number() == hv::vberr::kOverflow,
                  "ToLong raised " + std::to_string(e.Number()));
  }
  try {
    as_double = hv::Variant(text.ToDouble());
    // A text that converts to a Long also converts to a Double near it.
    if (!as_long.IsEmpty()) {
      const double d = as_double.ToDouble();
      HV_FUZZ_CHECK(std::fabs(d - as_long.ToDouble()) <= 0.5, "ToLong and ToDouble disagree");
    }
  } catch (const hv::Error& e) {
    HV_FUZZ_CHECK(e.Number() == hv::vberr::kTypeMismatch || e.Number() == hv::vberr::kOverflow,
                  "ToDouble raised " + std::to_string(e.Number()));
  }
  try {
    (void)hv::Add(as_long, as_double).ToText();
    (void)hv::Add(text, as_long);
  } catch (const hv::Error& e) {
    HV_FUZZ_CHECK(e.Number() == hv::vberr::kTypeMismatch || e.Number() == hv::vberr::kOverflow,
                  "Add raised " + std::to_string(e.Number()));
  }
  return 0;
}
