// The type libraries embedded in two builds of a server (the x86_64 and the i686 DLL) describe
// the same contract: the same types, members, DISPIDs, argument names, types, flags and
// defaults. Only what must differ is left out: the system kind, vtable offsets and sizes.
//   typelib_compare.exe <dll> <other dll>...   (pairs)

#include <cstdio>
#include <string>
#include <vector>

#include "support/check.h"
#include "support/dispatch_client.h"

using namespace hv::wine;

namespace {

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; text && *text; ++text) out += *text < 0x80 ? static_cast<char>(*text) : '?';
  return out;
}

std::string GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return Narrow(text);
}

std::string TypeText(ITypeInfo* info, const TYPEDESC& desc) {
  switch (desc.vt) {
    case VT_PTR:
      return TypeText(info, *desc.lptdesc) + "*";
    case VT_SAFEARRAY:
      return "SAFEARRAY(" + TypeText(info, *desc.lptdesc) + ")";
    case VT_USERDEFINED: {
      ComPtr<ITypeInfo> ref;
      UniqueBstr name;
      if (SUCCEEDED(info->GetRefTypeInfo(desc.hreftype, ref.put())))
        ref->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
      return "<" + Narrow(name.get()) + ">";
    }
    default:
      return "vt" + std::to_string(desc.vt);
  }
}

std::string ValueText(const VARIANT& value) {
  UniqueVariant text;
  if (FAILED(VariantChangeType(text.addr(), const_cast<VARIANT*>(&value), 0, VT_BSTR)))
    return "vt" + std::to_string(V_VT(&value));
  return "vt" + std::to_string(V_VT(&value)) + ":" + Narrow(V_BSTR(&text.get()));
}

std::string ElemText(ITypeInfo* info, const ELEMDESC& elem) {
  std::string text =
      TypeText(info, elem.tdesc) + " flags" + std::to_string(elem.paramdesc.wParamFlags);
  if ((elem.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT) && elem.paramdesc.pparamdescex)
    text += "=" + ValueText(elem.paramdesc.pparamdescex->varDefaultValue);
  return text;
}

std::vector<std::string> DescribeType(ITypeInfo* info) {
  std::vector<std::string> lines;
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return {"(no type attributes)"};
  UniqueBstr type_name;
  info->GetDocumentation(MEMBERID_NIL, type_name.put(), nullptr, nullptr, nullptr);
  const std::string prefix = Narrow(type_name.get());
  lines.push_back(prefix + ": kind" + std::to_string(attr->typekind) + " " + GuidText(attr->guid) +
                  " flags" + std::to_string(attr->wTypeFlags) + " funcs" +
                  std::to_string(attr->cFuncs) + " vars" + std::to_string(attr->cVars) +
                  " version" + std::to_string(attr->wMajorVerNum) + "." +
                  std::to_string(attr->wMinorVerNum));
  for (UINT i = 0; i < attr->cImplTypes; ++i) {
    HREFTYPE ref = 0;
    INT flags = 0;
    ComPtr<ITypeInfo> base;
    UniqueBstr name;
    info->GetRefTypeOfImplType(i, &ref);
    info->GetImplTypeFlags(i, &flags);
    if (SUCCEEDED(info->GetRefTypeInfo(ref, base.put())))
      base->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
    lines.push_back(prefix + " implements " + Narrow(name.get()) + " flags" +
                    std::to_string(flags));
  }
  for (UINT i = 0; i < attr->cFuncs; ++i) {
    FUNCDESC* func = nullptr;
    if (FAILED(info->GetFuncDesc(i, &func))) continue;
    std::vector<BSTR> names(func->cParams + 1, nullptr);
    UINT got = 0;
    info->GetNames(func->memid, names.data(), static_cast<UINT>(names.size()), &got);
    std::string line =
        prefix + "." + Narrow(names[0]) + ": id" + std::to_string(func->memid) + " invoke" +
        std::to_string(func->invkind) + " kind" + std::to_string(func->funckind) + " flags" +
        std::to_string(func->wFuncFlags) + " optional" + std::to_string(func->cParamsOpt) +
        " returns " + ElemText(info, func->elemdescFunc) + " (";
    for (SHORT p = 0; p < func->cParams; ++p)
      line += std::string(p ? ", " : "") + (p + 1u < got ? Narrow(names[p + 1]) : "?") + " " +
              ElemText(info, func->lprgelemdescParam[p]);
    lines.push_back(line + ")");
    for (BSTR name : names) SysFreeString(name);
    info->ReleaseFuncDesc(func);
  }
  for (UINT i = 0; i < attr->cVars; ++i) {
    VARDESC* var = nullptr;
    if (FAILED(info->GetVarDesc(i, &var))) continue;
    UniqueBstr name;
    info->GetDocumentation(var->memid, name.put(), nullptr, nullptr, nullptr);
    std::string line = prefix + "." + Narrow(name.get()) + ": id" + std::to_string(var->memid) +
                       " kind" + std::to_string(var->varkind) + " " +
                       ElemText(info, var->elemdescVar);
    if (var->varkind == VAR_CONST && var->lpvarValue) line += " = " + ValueText(*var->lpvarValue);
    lines.push_back(line);
    info->ReleaseVarDesc(var);
  }
  info->ReleaseTypeAttr(attr);
  return lines;
}

std::vector<std::string> Describe(const wchar_t* path) {
  ComPtr<ITypeLib> library;
  if (FAILED(LoadTypeLibEx(path, REGKIND_NONE, library.put()))) return {};
  TLIBATTR* lib = nullptr;
  std::vector<std::string> lines;
  if (SUCCEEDED(library->GetLibAttr(&lib))) {
    lines.push_back("library " + GuidText(lib->guid) + " " + std::to_string(lib->wMajorVerNum) +
                    "." + std::to_string(lib->wMinorVerNum) + " lcid" + std::to_string(lib->lcid) +
                    " flags" + std::to_string(lib->wLibFlags));
    library->ReleaseTLibAttr(lib);
  }
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    ComPtr<ITypeInfo> info;
    if (FAILED(library->GetTypeInfo(i, info.put()))) continue;
    for (std::string& line : DescribeType(info.get())) lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace

int main(int argc, char** argv) {
  ComApartment apartment;
  if (FAILED(apartment.status()) || argc < 3 || argc % 2 == 0) return 2;
  for (int i = 1; i + 1 < argc; i += 2) {
    Counts().current = argv[i];
    std::wstring a, b;
    for (const char* c = argv[i]; *c; ++c) a += static_cast<wchar_t>(*c);
    for (const char* c = argv[i + 1]; *c; ++c) b += static_cast<wchar_t>(*c);
    const std::vector<std::string> left = Describe(a.c_str()), right = Describe(b.c_str());
    if (!HV_CHECK(!left.empty() && !right.empty())) continue;
    int differences = 0;
    for (std::size_t n = 0; n < left.size() || n < right.size(); ++n) {
      const std::string l = n < left.size() ? left[n] : "(missing)";
      const std::string r = n < right.size() ? right[n] : "(missing)";
      if (l != r && ++differences <= 10) std::printf("  %s\n  %s\n", l.c_str(), r.c_str());
    }
    HV_CHECK_EQ(differences, 0);
    std::printf("%s: %zu lines of description compared\n", argv[i], left.size());
  }
  return Finish();
}
