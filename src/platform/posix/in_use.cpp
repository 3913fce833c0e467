#include "platform/in_use.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

#include "platform/os_error.h"
#include "platform/posix/handle.h"

namespace hv::platform {

// flock locks belong to the open file, which the started program shares after fork and exec.
struct InUseMark::Impl {
  UniqueFd fd;
};

InUseMark::InUseMark(const std::string& lock_file) : impl_(std::make_unique<Impl>()) {
  impl_->fd.reset(::open(lock_file.c_str(), O_RDWR | O_CREAT, 0644));
  if (impl_->fd.get() < 0) ThrowOsError(errno);
  if (::flock(impl_->fd.get(), LOCK_SH) != 0) ThrowOsError(errno);
}

InUseMark::InUseMark(InUseMark&&) noexcept = default;
InUseMark& InUseMark::operator=(InUseMark&&) noexcept = default;
InUseMark::~InUseMark() = default;

bool InUse(const std::string& lock_file) {
  const UniqueFd fd(::open(lock_file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return false;
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) == 0) return false;  // closing the fd unlocks
  return errno == EWOULDBLOCK;
}

}  // namespace hv::platform
