#include "com/common/module.h"

#include <atomic>
#include <cstring>
#include <cwchar>
#include <map>
#include <mutex>

#include "com/common/error_boundary.h"
#include "com/common/unique_resource.h"

namespace hv::com {
namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

struct GuidLess {
  bool operator()(const GUID& a, const GUID& b) const noexcept {
    return std::memcmp(&a, &b, sizeof(GUID)) < 0;
  }
};

// Calls arrive on any apartment's thread, so the cache takes a lock; it is filled once.
struct TypeInfoCache {
  std::mutex mutex;
  ComPtr<ITypeLib> library;
  std::map<GUID, ComPtr<ITypeInfo>, GuidLess> infos;
};

TypeInfoCache& Cache() {
  static TypeInfoCache cache;
  return cache;
}

HRESULT LoadLibraryLocked(TypeInfoCache& cache) noexcept {
  if (cache.library) return S_OK;
  try {
    return LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, cache.library.put());
  } catch (...) {
    return CaughtHResult();
  }
}

}  // namespace

HMODULE ThisModule() noexcept {
  static const HMODULE module = [] {
    HMODULE handle = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&g_objects), &handle);
    return handle;
  }();
  return module;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(ThisModule(), path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void ObjectCreated() noexcept {
  ++g_objects;
}
void ObjectDestroyed() noexcept {
  --g_objects;
}
void LockModule(bool lock) noexcept {
  lock ? ++g_locks : --g_locks;
}
bool ModuleIdle() noexcept {
  return g_objects == 0 && g_locks == 0;
}

HRESULT ModuleTypeLib(ITypeLib** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  TypeInfoCache& cache = Cache();
  std::lock_guard lock(cache.mutex);
  HRESULT hr = LoadLibraryLocked(cache);
  if (SUCCEEDED(hr)) cache.library.CopyTo(out);
  return hr;
}

HRESULT ModuleTypeInfo(REFGUID guid, ITypeInfo** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  TypeInfoCache& cache = Cache();
  std::lock_guard lock(cache.mutex);
  try {
    auto found = cache.infos.find(guid);
    if (found == cache.infos.end()) {
      HRESULT hr = LoadLibraryLocked(cache);
      if (FAILED(hr)) return hr;
      ComPtr<ITypeInfo> info;
      hr = cache.library->GetTypeInfoOfGuid(guid, info.put());
      if (FAILED(hr)) return hr;
      found = cache.infos.emplace(guid, std::move(info)).first;
    }
    found->second.CopyTo(out);
    return S_OK;
  } catch (...) {
    return CaughtHResult();
  }
}

HRESULT ModuleTypeId(const wchar_t* name, GUID* out) noexcept {
  if (!name || !out) return E_POINTER;
  *out = GUID_NULL;
  ComPtr<ITypeLib> library;
  HRESULT hr = ModuleTypeLib(library.put());
  if (FAILED(hr)) return hr;
  for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
    UniqueBstr type_name;
    if (FAILED(library->GetDocumentation(static_cast<INT>(i), type_name.put(), nullptr, nullptr,
                                         nullptr)) ||
        !type_name.get() || std::wcscmp(type_name.get(), name) != 0) {
      continue;
    }
    ComPtr<ITypeInfo> info;
    TYPEATTR* attr = nullptr;
    hr = library->GetTypeInfo(i, info.put());
    if (SUCCEEDED(hr)) hr = info->GetTypeAttr(&attr);
    if (FAILED(hr)) return hr;
    *out = attr->guid;
    info->ReleaseTypeAttr(attr);
    return S_OK;
  }
  return TYPE_E_ELEMENTNOTFOUND;
}

}  // namespace hv::com
