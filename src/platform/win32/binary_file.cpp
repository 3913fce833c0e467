#include "platform/binary_file.h"

#include <windows.h>

#include <cstring>

#include "platform/os_error.h"
#include "platform/win32/handle.h"

namespace hv::platform {

struct BinaryFile::Impl {
  win32::UniqueFile handle;
};

BinaryFile::BinaryFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
BinaryFile::BinaryFile(BinaryFile&&) noexcept = default;
BinaryFile& BinaryFile::operator=(BinaryFile&&) noexcept = default;
BinaryFile::~BinaryFile() {
  Close();
}

BinaryFile BinaryFile::OpenRead(const std::string& path) {
  if (path.empty()) throw Error(vberr::kBadFileName);
  // The ANSI entry point takes the core's Windows-1252 text as it is.
  auto impl = std::make_unique<Impl>();
  impl->handle.reset(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!impl->handle) ThrowOsError(::GetLastError());
  return BinaryFile(std::move(impl));
}

void BinaryFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) {
  std::size_t done = 0;
  while (done < buffer.size()) {
    OVERLAPPED ov{};
    const std::uint64_t at = offset + done;
    ov.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
    ov.OffsetHigh = static_cast<DWORD>(at >> 32);
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(buffer.size() - done);
    if (!::ReadFile(impl_->handle.get(), buffer.data() + done, want, &got, &ov)) {
      const DWORD err = ::GetLastError();
      if (err == ERROR_HANDLE_EOF) break;
      ThrowOsError(err);
    }
    if (got == 0) break;
    done += got;
  }
  // An empty buffer may have no address at all: memset must not see it.
  if (done < buffer.size()) std::memset(buffer.data() + done, 0, buffer.size() - done);
}

std::uint64_t BinaryFile::Length() {
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(impl_->handle.get(), &size)) ThrowOsError(::GetLastError());
  return static_cast<std::uint64_t>(size.QuadPart);
}

void BinaryFile::Close() noexcept {
  if (impl_) impl_->handle.reset();
}

char DecimalSeparator() {
  char buffer[8] = {};
  if (::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, sizeof buffer) > 0 &&
      buffer[0] != '\0') {
    return buffer[0];
  }
  return '.';
}

}  // namespace hv::platform
