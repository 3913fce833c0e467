// The Windows-1252 conversions: every byte text survives a trip through UTF-8 and through
// UTF-16 unchanged, and any UTF-8 or UTF-16 converts without harm.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/text.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  HV_FUZZ_CHECK(hv::Utf8ToCp1252(hv::Cp1252ToUtf8(bytes)) == bytes, "UTF-8 trip changed text");
  HV_FUZZ_CHECK(hv::Utf16ToCp1252(hv::Cp1252ToUtf16(bytes)) == bytes, "UTF-16 trip changed text");

  // The same bytes read as UTF-8 and as UTF-16: at most one character per unit.
  HV_FUZZ_CHECK(hv::Utf8ToCp1252(bytes).size() <= size, "UTF-8 conversion grew");
  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  HV_FUZZ_CHECK(hv::Utf16ToCp1252(units).size() <= units.size(), "UTF-16 conversion grew");

  const std::string_view trimmed = hv::TrimSpaces(bytes);
  HV_FUZZ_CHECK(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '),
                "trimmed text keeps a space");
  return 0;
}
