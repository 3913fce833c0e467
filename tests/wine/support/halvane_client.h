#pragma once
// What the Halvane.dll clients share: the data folder, file helpers working on Windows paths
// in Windows-1252, typed by-reference variables as a Visual Basic client holds them, and an
// event sink that answers IDispatch only.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "support/check.h"
#include "support/dispatch_client.h"
#include "support/recording_sink.h"

namespace hv::wine {

// Windows path of the data folder, with a trailing backslash (set by main).
inline std::string& DataFolder() {
  static std::string folder;
  return folder;
}

inline std::string Data(const std::string& name) {
  return DataFolder() + name;
}

inline void WriteText(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline bool FileThere(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh, empty folder below the data folder; returns its path without a trailing backslash.
inline std::string FreshFolder(const std::string& name) {
  const std::string path = Data(name);
  std::string from = path + std::string(1, '\0');
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  if (FileThere(path)) SHFileOperationA(&op);
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

inline std::wstring W(const std::string& cp1252) {
  return FromCp1252(cp1252);
}

inline std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                      nullptr);
  return out;
}

// The 8.3 form the platform gives, as an independent oracle for Long2Short.
inline std::string ShortPath(const std::string& path) {
  char buf[MAX_PATH] = {};
  DWORD n = GetShortPathNameA(path.c_str(), buf, MAX_PATH);
  return n && n < MAX_PATH ? std::string(buf, n) : std::string();
}

inline std::string CurrentDirectory() {
  char buf[MAX_PATH] = {};
  DWORD n = GetCurrentDirectoryA(MAX_PATH, buf);
  return std::string(buf, n);
}

inline Dispatch CreateHalvane(const wchar_t* prog_id) {
  Dispatch object;
  HRESULT hr = Dispatch::Create(prog_id, object);
  Check(SUCCEEDED(hr) && object, "CreateObject failed", __FILE__, __LINE__);
  return object;
}

// True / False results as the client sees them: VT_BOOL only.
inline bool IsTrue(const Outcome& o) {
  return o.ok() && o.type() == VT_BOOL && V_BOOL(&o.value.get()) == VARIANT_TRUE;
}
inline bool IsFalse(const Outcome& o) {
  return o.ok() && o.type() == VT_BOOL && V_BOOL(&o.value.get()) == VARIANT_FALSE;
}

// A typed String variable: passed as VT_BYREF|VT_BSTR, read back after the call.
class StringVar {
 public:
  explicit StringVar(const std::wstring& text = L"") : b_(MakeBstr(text).release()) {}
  ~StringVar() { SysFreeString(b_); }
  StringVar(const StringVar&) = delete;
  StringVar& operator=(const StringVar&) = delete;
  Arg ByRef() { return Arg::ByRef(&b_); }
  std::wstring Text() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

 private:
  BSTR b_;
};

// A Variant variable: passed as VT_BYREF|VT_VARIANT.
class VariantVar {
 public:
  VariantVar() = default;
  explicit VariantVar(const Arg& initial) {
    VariantCopy(v_.addr(), &const_cast<Arg&>(initial).get());
  }
  Arg ByRef() { return Arg::ByRef(v_.addr()); }
  const VARIANT& get() const { return v_.get(); }
  VARTYPE type() const { return V_VT(&v_.get()); }
  std::wstring Text() const {
    return type() == VT_BSTR ? std::wstring(V_BSTR(&v_.get()), SysStringLen(V_BSTR(&v_.get())))
                             : std::wstring();
  }
  long Long() const {
    UniqueVariant n;
    if (FAILED(VariantChangeType(n.addr(), const_cast<VARIANT*>(&v_.get()), 0, VT_I4)))
      return -999999;
    return V_I4(&n.get());
  }

 private:
  UniqueVariant v_;
};

// Sets the data folder from argv[1], opens the apartment and runs the tests.
inline int HalvaneMain(int argc, char** argv, const char* name) {
  if (argc < 2) {
    std::printf("usage: %s DATA_FOLDER [TEST]\n", name);
    return 2;
  }
  DataFolder() = argv[1];
  if (!DataFolder().empty() && DataFolder().back() != '\\') DataFolder() += '\\';
  ComApartment apartment;
  if (FAILED(apartment.status())) return 2;
  return RunAll(argc, argv);
}

}  // namespace hv::wine
