#include "platform/binary_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <clocale>
#include <cstring>

#include "platform/posix/handle.h"
#include "platform/posix/native_path.h"

#include "platform/os_error.h"

namespace hv::platform {

struct BinaryFile::Impl {
  UniqueFd fd;
};

BinaryFile::BinaryFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
BinaryFile::BinaryFile(BinaryFile&&) noexcept = default;
BinaryFile& BinaryFile::operator=(BinaryFile&&) noexcept = default;
BinaryFile::~BinaryFile() {
  Close();
}

BinaryFile BinaryFile::OpenRead(const std::string& path) {
  if (path.empty()) throw Error(vberr::kBadFileName);
  auto impl = std::make_unique<Impl>();
  impl->fd.reset(::open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  if (!impl->fd) ThrowOsError(errno);
  struct stat st {};
  if (::fstat(impl->fd.get(), &st) == 0 && S_ISDIR(st.st_mode)) throw Error(vberr::kPathFileAccess);
  return BinaryFile(std::move(impl));
}

void BinaryFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer) {
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t n = ::pread(impl_->fd.get(), buffer.data() + done, buffer.size() - done,
                              static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowOsError(errno);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  // An empty buffer may have no address at all: memset must not see it.
  if (done < buffer.size()) std::memset(buffer.data() + done, 0, buffer.size() - done);
}

std::uint64_t BinaryFile::Length() {
  struct stat st {};
  if (::fstat(impl_->fd.get(), &st) != 0) ThrowOsError(errno);
  return static_cast<std::uint64_t>(st.st_size);
}

void BinaryFile::Close() noexcept {
  if (impl_) impl_->fd.reset();
}

char DecimalSeparator() {
  const std::lconv* conv = std::localeconv();
  return conv && conv->decimal_point && conv->decimal_point[0] ? conv->decimal_point[0] : '.';
}

}  // namespace hv::platform
