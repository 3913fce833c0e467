#pragma once
// The values the hostile client sends: a seeded generator, the strings it may use (each passed
// through the path guard), the variants of every kind a client can build, record arrays right
// and wrong, and a small object of the client's own whose default member answers a string.

#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "com/common/unique_resource.h"
#include "hostile/members.h"
#include "hostile/path_guard.h"

namespace hv::wine::hostile {

// splitmix64: the same sequence on every machine for one seed.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) noexcept : state_(seed) {}
  std::uint64_t Next() noexcept {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) noexcept { return n ? static_cast<std::size_t>(Next() % n) : 0; }
  bool Chance(int percent) noexcept { return Below(100) < static_cast<std::size_t>(percent); }
  template <class T>
  const T& Pick(const std::vector<T>& items) noexcept {
    return items[Below(items.size())];
  }

 private:
  std::uint64_t state_;
};

// An object of the client's own: its default member gives a harmless text, so a server that
// asks an object argument for its value gets one; everything else is declined.
class ValueObject final : public IDispatch {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // Lives as long as the process: counting is for show.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return DISP_E_BADINDEX;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result,
                                   EXCEPINFO*, UINT*) override {
    ++asked_;
    if (id != DISPID_VALUE) return DISP_E_MEMBERNOTFOUND;
    if (result) {
      VariantInit(result);
      V_VT(result) = VT_BSTR;
      V_BSTR(result) = SysAllocString(L"hvq-object-value");
    }
    return S_OK;
  }
  long asked() const noexcept { return asked_; }

 private:
  long asked_ = 0;
};

// The places in scratch the client sets up, and the strings it draws from.
struct Places {
  std::vector<std::wstring> files;    // fixtures of every format, in S:\in
  std::vector<std::wstring> folders;  // existing folders in scratch
  std::wstring standin;               // a program that records its start and exits at once
  std::wstring not_program;           // a file named .exe that is no program
  std::wstring shell_file;            // a file of a type nothing opens
};

class Values {
 public:
  Values(Rng& rng, const Places& places, ValueObject& own)
      : rng_(rng), places_(places), own_(own) {}

  long refused() const noexcept { return refused_; }
  void set_objects(const std::vector<com::ComPtr<IDispatch>>* objects) { objects_ = objects; }

  // ---- strings ---------------------------------------------------------------------------

  std::wstring Garbage(std::size_t max_length = 24) {
    static const wchar_t kChars[] =
        L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 _-.,;=+!#$%&'()[]{}~"
        L"*?\"<>|\u00e9\u00fc\u20ac\u0416\u4e2d\t";
    std::wstring text = L"hvq";
    const std::size_t n = rng_.Below(max_length);
    for (std::size_t i = 0; i < n; ++i) text += kChars[rng_.Below(std::size(kChars) - 1)];
    return text;
  }

  std::wstring Huge() {
    std::wstring text(1 << 20, L'h');
    for (std::size_t i = 3; i < text.size(); i += 1 + rng_.Below(4096))
      text[i] = static_cast<wchar_t>(L'a' + rng_.Below(26));
    if (rng_.Chance(30)) text[rng_.Below(text.size())] = L'\0';
    return text;
  }

  // A text fitting the parameter's role; the guard has the last word.
  std::wstring StringFor(const Param* param) {
    std::wstring text = Candidate(param ? param->name : L"");
    if (IsSafeString(text)) return text;
    ++refused_;
    // A refused settings key falls back to the test key: garbage would be a key of its own.
    return param && param->name == L"sKeyName" ? L"Software\\HalvaneHostileTest\\refused"
                                               : Garbage();
  }

  BSTR Bstr(const std::wstring& text) {
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  }

  // ---- well-typed arguments --------------------------------------------------------------

  // A value of the parameter's own type, as a typed Visual Basic variable would carry it.
  VARIANT Typed(const Param& param) {
    VARIANT v;
    VariantInit(&v);
    switch (param.vt) {
      case VT_BSTR:
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = Bstr(StringFor(&param));
        break;
      case VT_I2:
        V_VT(&v) = VT_I2;
        V_I2(&v) = Short();
        break;
      case VT_I4:
        V_VT(&v) = VT_I4;
        V_I4(&v) = Long();
        break;
      case VT_BOOL:
        V_VT(&v) = VT_BOOL;
        V_BOOL(&v) = rng_.Chance(50) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
      case VT_VARIANT:
        v = rng_.Chance(70) ? TextVariant(&param) : Hostile(&param, false);
        break;
      default:
        v = Hostile(&param, false);
    }
    return v;
  }

  short Short() {
    static const std::vector<short> kShorts = {0, -1, 1, 2, 3, 4, 5, 255, 256, 32767, -32768};
    return rng_.Chance(85) ? rng_.Pick(kShorts) : static_cast<short>(rng_.Next());
  }
  LONG Long() {
    static const std::vector<LONG> kLongs = {0, -1,    1,      2,          3,
                                             5, 32768, -32769, 2147483647, -2147483647 - 1};
    return rng_.Chance(85) ? rng_.Pick(kLongs) : static_cast<LONG>(rng_.Next());
  }

  VARIANT TextVariant(const Param* param) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = VT_BSTR;
    V_BSTR(&v) = Bstr(StringFor(param));
    return v;
  }

  // ---- any variant -----------------------------------------------------------------------

  // One variant of any kind. `allow_arrays` off for the elements of a variant array.
  VARIANT Hostile(const Param* param, bool allow_arrays = true) {
    VARIANT v;
    VariantInit(&v);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    switch (rng_.Below(allow_arrays ? 30 : 25)) {
      case 0:
        break;  // empty
      case 1:
        V_VT(&v) = VT_NULL;
        break;
      case 2:
        V_VT(&v) = VT_ERROR;
        V_ERROR(&v) = rng_.Chance(70) ? DISP_E_PARAMNOTFOUND : static_cast<SCODE>(0x800A0005);
        break;
      case 3:
        V_VT(&v) = VT_I1;
        V_I1(&v) = static_cast<CHAR>(rng_.Next());
        break;
      case 4:
        V_VT(&v) = VT_UI1;
        V_UI1(&v) = static_cast<BYTE>(rng_.Next());
        break;
      case 5:
        V_VT(&v) = VT_I2;
        V_I2(&v) = Short();
        break;
      case 6:
        V_VT(&v) = VT_UI2;
        V_UI2(&v) = rng_.Chance(50) ? 65535 : 32768;
        break;
      case 7:
        V_VT(&v) = VT_I4;
        V_I4(&v) = Long();
        break;
      case 8:
        V_VT(&v) = VT_UI4;
        V_UI4(&v) = rng_.Chance(50) ? 0xFFFFFFFFu : 32768u;
        break;
      case 9:
        V_VT(&v) = VT_I8;
        V_I8(&v) = rng_.Chance(50) ? std::numeric_limits<LONGLONG>::min()
                                   : static_cast<LONGLONG>(rng_.Next());
        break;
      case 10:
        V_VT(&v) = VT_UI8;
        V_UI8(&v) = rng_.Next();
        break;
      case 11:
        V_VT(&v) = VT_INT;
        V_INT(&v) = static_cast<INT>(Long());
        break;
      case 12:
        V_VT(&v) = VT_UINT;
        V_UINT(&v) = static_cast<UINT>(rng_.Next());
        break;
      case 13: {
        static const std::vector<float> kFloats = {0.0f, -1.0f, 1.5f, 3.4e38f, -3.4e38f};
        V_VT(&v) = VT_R4;
        V_R4(&v) = rng_.Chance(20) ? static_cast<float>(nan) : rng_.Pick(kFloats);
        break;
      }
      case 14: {
        const std::vector<double> kDoubles = {0.0,   -0.0,   1.0, -1.0, 2.5,  32767.5, 32768.0,
                                              1e308, -1e308, nan, inf,  -inf, 4.9e-324};
        V_VT(&v) = VT_R8;
        V_R8(&v) = rng_.Pick(kDoubles);
        break;
      }
      case 15:
        V_VT(&v) = VT_CY;
        V_CY(&v).int64 = rng_.Chance(50) ? std::numeric_limits<LONGLONG>::max() : 10000;
        break;
      case 16: {
        const std::vector<double> kDates = {0.0, 1.5, -657434.0, 2958465.99, 1e10, -1e10, nan};
        V_VT(&v) = VT_DATE;
        V_DATE(&v) = rng_.Pick(kDates);
        break;
      }
      case 17: {
        static const std::vector<VARIANT_BOOL> kBools = {VARIANT_TRUE, VARIANT_FALSE, 1, 2};
        V_VT(&v) = VT_BOOL;
        V_BOOL(&v) = rng_.Pick(kBools);
        break;
      }
      case 18:
        V_VT(&v) = VT_DECIMAL;
        V_DECIMAL(&v).scale = static_cast<BYTE>(rng_.Below(30));  // above 28 is malformed
        V_DECIMAL(&v).sign = rng_.Chance(50) ? DECIMAL_NEG : 0;
        V_DECIMAL(&v).Hi32 = static_cast<ULONG>(rng_.Next());
        V_DECIMAL(&v).Lo64 = rng_.Next();
        V_VT(&v) = VT_DECIMAL;  // the DECIMAL overlays the type field's neighbours, not it
        break;
      case 19:
      case 20:
        v = TextVariant(param);
        break;
      case 21:
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = nullptr;
        break;
      case 22:
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = Bstr(Huge());
        break;
      case 23:
        V_VT(&v) = VT_DISPATCH;
        V_DISPATCH(&v) = nullptr;
        break;
      case 24: {
        V_VT(&v) = rng_.Chance(50) ? VT_DISPATCH : VT_UNKNOWN;
        IDispatch* object = &own_;
        if (objects_ && !objects_->empty() && rng_.Chance(60))
          object = (*objects_)[rng_.Below(objects_->size())].get();
        object->AddRef();
        V_DISPATCH(&v) = object;  // IDispatch is an IUnknown: one field serves both
        break;
      }
      default:
        v = Array(param);
        break;
    }
    return v;
  }

  // A one-dimensional array (or none) of numbers, texts or variants.
  VARIANT Array(const Param* param) {
    VARIANT v;
    VariantInit(&v);
    static const std::vector<VARTYPE> kTypes = {VT_I4, VT_BSTR, VT_VARIANT, VT_UI1, VT_I2};
    const VARTYPE type = rng_.Pick(kTypes);
    V_VT(&v) = static_cast<VARTYPE>(VT_ARRAY | type);
    if (rng_.Chance(10)) {
      V_ARRAY(&v) = nullptr;
      return v;
    }
    const ULONG count = rng_.Chance(20) ? 0 : static_cast<ULONG>(1 + rng_.Below(4));
    const LONG lower = rng_.Chance(70) ? 0 : (rng_.Chance(50) ? 1 : -5);
    SAFEARRAY* array = SafeArrayCreateVector(type, lower, count);
    for (ULONG i = 0; array && i < count; ++i) {
      LONG at = lower + static_cast<LONG>(i);
      if (type == VT_BSTR) {
        com::UniqueBstr text(Bstr(StringFor(param)));
        SafeArrayPutElement(array, &at, text.get());
      } else if (type == VT_VARIANT) {
        com::UniqueVariant item;
        *item.addr() = Hostile(param, false);
        SafeArrayPutElement(array, &at, item.addr());
      } else {
        LONG number = Long();
        SafeArrayPutElement(array, &at, &number);
      }
    }
    V_ARRAY(&v) = array;
    return v;
  }

  // ---- record arrays for ChangeConfigFile ------------------------------------------------

  // An array of `record` entries of two texts, or a malformed array when `record` is not the
  // member's own record or the shape is off.
  SAFEARRAY* Records(IRecordInfo* record, bool two_texts) {
    if (!record) return nullptr;
    const ULONG count = rng_.Chance(10) ? 0 : static_cast<ULONG>(1 + rng_.Below(5));
    const LONG lower = rng_.Chance(80) ? 0 : (rng_.Chance(50) ? 1 : -3);
    SAFEARRAY* array = nullptr;
    if (rng_.Chance(8)) {
      SAFEARRAYBOUND bounds[2] = {{count, lower}, {2, 0}};
      array = SafeArrayCreateEx(VT_RECORD, 2, bounds, record);
      return array;  // two dimensions, left empty
    }
    array = SafeArrayCreateVectorEx(VT_RECORD, lower, count, record);
    if (!array || !two_texts) return array;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) return array;
    BSTR* fields = static_cast<BSTR*>(data);
    for (ULONG i = 0; i < count * 2; ++i) {
      if (rng_.Chance(8)) continue;  // a NULL text
      std::wstring text;
      if (i % 2 == 0) {
        static const std::vector<std::wstring> kKeys = {L"ROM", L"JOY1",     L"a=b",  L"",
                                                        L"=",   L"key\0nul", L" KEY "};
        text = rng_.Chance(60) ? rng_.Pick(kKeys) : Garbage();
      } else {
        text = rng_.Chance(3) ? Huge() : Garbage(40);
      }
      if (!IsSafeString(text)) text = L"hvq";
      fields[i] = Bstr(text);
    }
    SafeArrayUnaccessData(array);
    return array;
  }

 private:
  std::wstring Candidate(const std::wstring& role) {
    auto has = [&](const wchar_t* word) { return role.find(word) != std::wstring::npos; };
    if (role == L"sRootKey") {
      static const std::vector<std::wstring> kRoots = {L"HKEY_CURRENT_USER",
                                                       L"hkey_current_user",
                                                       L"HKEY_CURRENT_USERX",
                                                       L"HKCU",
                                                       L"",
                                                       L"HKEY_"};
      return rng_.Chance(80) ? rng_.Pick(kRoots) : Garbage();
    }
    if (role == L"sKeyName") {
      // Every key named is below the test key: a hostile suffix cannot climb out of it.
      std::wstring key = L"Software\\HalvaneHostileTest";
      static const std::vector<std::wstring> kTails = {
          L"", L"\\a", L"\\a\\b", L"\\", L"\\\\x", std::wstring(L"\\n\0ul", 5)};
      return key + (rng_.Chance(70) ? rng_.Pick(kTails) : L"\\" + Garbage());
    }
    if (role == L"FileToShell") {
      // Only a file nothing opens, or none at all: the shell never starts a program here.
      const std::vector<std::wstring> kShell = {places_.shell_file, L"S:\\in\\missing.hvq", L"",
                                                L"hvq-missing"};
      return rng_.Pick(kShell);
    }
    if (has(L"ExePath") || has(L"PlayerPath") || role == L"WinzipPath") {
      const std::vector<std::wstring> kPrograms = {places_.not_program,
                                                   places_.not_program,
                                                   L"S:\\emu\\missing.exe",
                                                   L"",
                                                   L"C:\\hostile-nonexistent\\x64.exe",
                                                   L"hvq.exe"};
      return rng_.Chance(6) ? places_.standin : rng_.Pick(kPrograms);
    }
    // Inputs of the member's own kind most of the time, so calls get past the first checks.
    if (const wchar_t* own = OwnInput(role); own && rng_.Chance(60)) return own;
    // Any other text: a path of scratch, a name that is nowhere, a text of no path at all.
    switch (rng_.Below(14)) {
      case 0:
      case 1:
      case 2:
        return rng_.Pick(places_.files);
      case 3:
        return rng_.Pick(places_.folders);
      case 4:
        return rng_.Pick(places_.folders) + L"\\";
      case 5:
        return L"S:\\in\\missing\\x.d64";
      case 6:
        return L"C:\\hostile-nonexistent\\a\\b";
      case 7:
        return L"";
      case 8:
        return rng_.Pick(places_.files) + std::wstring(1, L'\0') + Garbage();
      case 9: {
        static const std::vector<std::wstring> kTexts = {
            L"12",        L"-1",           L"&H1F",       L"32768", L"0",
            L"1e400",     L"D:",           L"GAMES1",     L"*.*",   L"in\\*.d64",
            L"..\\in\\*", L"in\\?emo.d64", L"\u0416.d64", L"in"};
        return rng_.Pick(kTexts);
      }
      case 10:
        return rng_.Chance(5) ? Huge() : Garbage(300);
      default:
        return Garbage();
    }
  }

  static const wchar_t* OwnInput(const std::wstring& role) {
    if (role == L"ConfigFile") return L"S:\\in\\emu.ini";
    if (role == L"strSidFile" || role == L"SidFilename") return L"S:\\in\\tune.sid";
    if (role == L"FileToExtract") return L"S:\\in\\game.zip";
    if (role == L"strGamePathAndFile") return L"S:\\in\\disk.d64";
    if (role == L"CurrGameDIR") return L"S:\\work\\w1";
    return nullptr;
  }

  Rng& rng_;
  const Places& places_;
  ValueObject& own_;
  const std::vector<com::ComPtr<IDispatch>>* objects_ = nullptr;
  long refused_ = 0;
};

}  // namespace hv::wine::hostile
