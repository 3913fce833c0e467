#pragma once
// The settings tree: four predefined roots, keys below them, named values of a numbered
// type holding bytes. On Windows it is the registry; elsewhere a per-user settings database
// with the same shape. Every operation answers with a status in the registry's own numbers
// (0 success, 2 value not found, 234 buffer too small, ...), never with an exception: the
// callers treat a failed setting as a result.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace hv::platform {

// The predefined roots, with the handle values the registry gives them. 0 is no root.
enum class RegistryRoot : std::uint32_t {
  kNone = 0,
  kClassesRoot = 0x80000000u,
  kCurrentUser = 0x80000001u,
  kLocalMachine = 0x80000002u,
  kUsers = 0x80000003u,
};

// Value types the callers name; the store keeps any other number as it is given.
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

// Status numbers, as the registry reports them.
inline constexpr std::int32_t kRegOk = 0;
inline constexpr std::int32_t kRegFileNotFound = 2;
inline constexpr std::int32_t kRegAccessDenied = 5;
inline constexpr std::int32_t kRegInvalidParameter = 87;
inline constexpr std::int32_t kRegBadPathname = 161;
inline constexpr std::int32_t kRegBusy = 170;
inline constexpr std::int32_t kRegMoreData = 234;
inline constexpr std::int32_t kRegBadDb = 1009;
inline constexpr std::int32_t kRegCantOpen = 1011;
inline constexpr std::int32_t kRegCantWrite = 1013;

// An open key. Move-only; closing happens when it goes out of scope, on every path.
class RegistryKey {
 public:
  RegistryKey();
  RegistryKey(RegistryKey&&) noexcept;
  RegistryKey& operator=(RegistryKey&&) noexcept;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey();

  // Opens `path` (backslash-separated, "" for the root itself) below `root`, creating it and
  // every missing key on the way, for query, set, create-subkey, enumerate, notify and
  // create-link access. On failure `key` stays closed.
  static std::int32_t Create(RegistryRoot root, const std::string& path, RegistryKey& key);

  // The type and byte size of a value, without its data.
  std::int32_t QueryInfo(const std::string& name, std::uint32_t& type, std::uint32_t& size) const;
  // The type and data of a value into `data`; `size` receives the byte count of the value
  // (kRegMoreData when `data` is too small for it, and nothing is copied then).
  std::int32_t QueryData(const std::string& name, std::uint32_t& type, std::span<std::uint8_t> data,
                         std::uint32_t& size) const;
  // Creates or replaces a value with the given type and bytes.
  std::int32_t SetValue(const std::string& name, std::uint32_t type,
                        std::span<const std::uint8_t> data);

  bool IsOpen() const noexcept { return impl_ != nullptr; }
  void Close() noexcept;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace hv::platform
