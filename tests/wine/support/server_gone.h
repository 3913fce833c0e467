#pragma once
// What the *_unregistered clients check of a server after `regsvr32 /u`.

#include <initializer_list>

#include "support/check.h"
#include "support/dispatch_client.h"

namespace hv::wine {

// Nothing of the server is left to create: no ProgID resolves, `one_class` is no registered
// class id, and its type library no longer loads from the registry.
inline void CheckServerGone(std::initializer_list<const wchar_t*> prog_ids, const CLSID& one_class,
                            const GUID& library) {
  for (const wchar_t* prog_id : prog_ids) {
    Dispatch object;
    HV_CHECK_EQ(Dispatch::Create(prog_id, object), CO_E_CLASSSTRING);
  }
  ComPtr<IDispatch> object;
  HV_CHECK_EQ(
      CoCreateInstance(one_class, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.put_void()),
      REGDB_E_CLASSNOTREG);
  ComPtr<ITypeLib> typelib;
  HV_CHECK(FAILED(LoadRegTypeLib(library, 1, 0, LOCALE_NEUTRAL, typelib.put())));
}

}  // namespace hv::wine
