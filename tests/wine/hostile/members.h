#pragma once
// What the type library says a class offers: its dispatch members with their ids, kinds and
// parameters, read as a late-binding client's tooling reads them (ITypeInfo, FUNCDESC).

#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "com/common/unique_resource.h"

namespace hv::wine::hostile {

using com::ComPtr;

struct Param {
  std::wstring name;
  VARTYPE vt = VT_EMPTY;  // the base type; VT_I4 for an enumeration
  bool by_ref = false;    // declared as a pointer: [in, out] or [out]
  bool out = false;
  bool optional = false;
  bool record_array = false;   // SAFEARRAY(record)*
  ComPtr<IRecordInfo> record;  // the record of such an array
};

struct Member {
  std::wstring name;
  DISPID id = 0;
  INVOKEKIND kind = INVOKE_FUNC;
  std::vector<Param> params;  // without the [retval] one
};

struct ClassInfo {
  std::wstring prog_id;  // "Library.coclass"
  bool creatable = false;
  std::vector<Member> members;
};

// The base type of a declared parameter, looking through pointers and enumerations.
inline VARTYPE BaseType(ITypeInfo* info, const TYPEDESC& desc, Param& param) {
  if (desc.vt == VT_PTR) return BaseType(info, *desc.lptdesc, param);
  if (desc.vt == VT_SAFEARRAY) {
    param.record_array = true;
    const TYPEDESC& element = *desc.lptdesc;
    ComPtr<ITypeInfo> record;
    if (element.vt == VT_USERDEFINED &&
        SUCCEEDED(info->GetRefTypeInfo(element.hreftype, record.put())))
      GetRecordInfoFromTypeInfo(record.get(), param.record.put());
    return VT_ARRAY | VT_RECORD;
  }
  if (desc.vt != VT_USERDEFINED) return desc.vt;
  ComPtr<ITypeInfo> ref;
  if (FAILED(info->GetRefTypeInfo(desc.hreftype, ref.put()))) return VT_EMPTY;
  TYPEATTR* attr = nullptr;
  if (FAILED(ref->GetTypeAttr(&attr))) return VT_EMPTY;
  const TYPEKIND kind = attr->typekind;
  const TYPEDESC alias = attr->tdescAlias;
  ref->ReleaseTypeAttr(attr);
  if (kind == TKIND_ENUM) return VT_I4;
  if (kind == TKIND_ALIAS) return BaseType(ref.get(), alias, param);
  if (kind == TKIND_RECORD) return VT_RECORD;
  return VT_DISPATCH;
}

// The members an interface declares itself (IDispatch's own are left out).
inline std::vector<Member> MembersOf(ITypeInfo* info) {
  std::vector<Member> members;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return members;
  const WORD count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* desc = nullptr;
    if (FAILED(info->GetFuncDesc(i, &desc))) continue;
    // IUnknown's and IDispatch's own (ids 0x60000000 up): a client calling Release through
    // Invoke breaks its own counting, which tells nothing about the server.
    if (desc->memid >= 0x60000000 && desc->memid < 0x60020000) {
      info->ReleaseFuncDesc(desc);
      continue;
    }
    Member m;
    m.id = desc->memid;
    m.kind = desc->invkind;
    BSTR names[32] = {};
    UINT got = 0;
    info->GetNames(desc->memid, names, 32, &got);
    if (got > 0) m.name.assign(names[0], SysStringLen(names[0]));
    for (SHORT p = 0; p < desc->cParams; ++p) {
      const ELEMDESC& e = desc->lprgelemdescParam[p];
      const USHORT flags = e.paramdesc.wParamFlags;
      if (flags & PARAMFLAG_FRETVAL) continue;
      Param param;
      if (static_cast<UINT>(p + 1) < got && names[p + 1])
        param.name.assign(names[p + 1], SysStringLen(names[p + 1]));
      param.vt = BaseType(info, e.tdesc, param);
      param.by_ref = e.tdesc.vt == VT_PTR;
      param.out = (flags & PARAMFLAG_FOUT) != 0;
      param.optional = (flags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT)) != 0;
      m.params.push_back(std::move(param));
    }
    for (UINT n = 0; n < got; ++n) SysFreeString(names[n]);
    info->ReleaseFuncDesc(desc);
    members.push_back(std::move(m));
  }
  return members;
}

// Every coclass of the library holding `object`'s type, with its default interface's members.
inline std::vector<ClassInfo> ClassesOfLibrary(IDispatch* object) {
  std::vector<ClassInfo> classes;
  ComPtr<ITypeInfo> own;
  if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, own.put()))) return classes;
  ComPtr<ITypeLib> lib;
  UINT index = 0;
  if (FAILED(own->GetContainingTypeLib(lib.put(), &index))) return classes;
  com::UniqueBstr lib_name;
  lib->GetDocumentation(-1, lib_name.put(), nullptr, nullptr, nullptr);
  const std::wstring prefix =
      lib_name ? std::wstring(lib_name.get(), SysStringLen(lib_name.get())) : L"";
  for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
    TYPEKIND kind;
    if (FAILED(lib->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS) continue;
    ComPtr<ITypeInfo> coclass;
    if (FAILED(lib->GetTypeInfo(i, coclass.put()))) continue;
    TYPEATTR* attr = nullptr;
    if (FAILED(coclass->GetTypeAttr(&attr))) continue;
    ClassInfo c;
    c.creatable = (attr->wTypeFlags & TYPEFLAG_FCANCREATE) != 0;
    const WORD impls = attr->cImplTypes;
    coclass->ReleaseTypeAttr(attr);
    com::UniqueBstr name;
    lib->GetDocumentation(static_cast<INT>(i), name.put(), nullptr, nullptr, nullptr);
    c.prog_id = prefix + L"." + (name ? std::wstring(name.get(), SysStringLen(name.get())) : L"");
    for (UINT k = 0; k < impls; ++k) {
      INT flags = 0;
      coclass->GetImplTypeFlags(k, &flags);
      if (!(flags & IMPLTYPEFLAG_FDEFAULT) || (flags & IMPLTYPEFLAG_FSOURCE)) continue;
      HREFTYPE ref = 0;
      ComPtr<ITypeInfo> iface;
      if (SUCCEEDED(coclass->GetRefTypeOfImplType(k, &ref)) &&
          SUCCEEDED(coclass->GetRefTypeInfo(ref, iface.put())))
        c.members = MembersOf(iface.get());
    }
    classes.push_back(std::move(c));
  }
  return classes;
}

}  // namespace hv::wine::hostile
