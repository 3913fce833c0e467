#include "com/common/bstr.h"

#include <new>

#include "com/common/error_boundary.h"
#include "common/text.h"

namespace hv::com {

UniqueBstr ToBstr(std::string_view text) {
  const std::u16string wide = Cp1252ToUtf16(text);
  UniqueBstr result(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(wide.data()),
                                      static_cast<UINT>(wide.size())));
  if (!result) throw std::bad_alloc();
  return result;
}

std::string FromBstr(BSTR text) {
  if (!text) return {};
  return Utf16ToCp1252(
      std::u16string_view(reinterpret_cast<const char16_t*>(text), SysStringLen(text)));
}

void ReplaceBstr(BSTR* target, std::string_view text) {
  if (!target) throw ComError(E_POINTER);
  BSTR fresh = ToBstr(text).release();
  SysFreeString(*target);
  *target = fresh;
}

}  // namespace hv::com
