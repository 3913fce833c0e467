#include "platform/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "platform/posix/handle.h"
#include "platform/posix/native_path.h"

#include "platform/os_error.h"

namespace hv::platform {

struct FileWriter::Impl {
  UniqueFd fd;
  std::string temp_path;    // core text
  std::string native_temp;  // as the file system names it

  ~Impl() {
    fd.reset();
    if (!native_temp.empty()) ::unlink(native_temp.c_str());
  }
};

FileWriter::FileWriter(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FileWriter::FileWriter(FileWriter&&) noexcept = default;
FileWriter& FileWriter::operator=(FileWriter&&) noexcept = default;
FileWriter::~FileWriter() = default;

FileWriter FileWriter::CreateTempIn(const std::string& folder) {
  auto impl = std::make_unique<Impl>();
  std::string pattern = NativePath(PathInFolder(folder, ".hvpart.XXXXXX"));
  impl->fd.reset(::mkostemp(pattern.data(), O_CLOEXEC));
  if (!impl->fd) ThrowOsError(errno, FileRole::kTarget);
  impl->native_temp = pattern;
  impl->temp_path = CorePath(pattern);
  // mkostemp makes the file private; an extracted file gets the usual permissions.
  ::fchmod(impl->fd.get(), 0644);
  return FileWriter(std::move(impl));
}

void FileWriter::Write(std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(impl_->fd.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowOsError(errno, FileRole::kTarget);
    }
    done += static_cast<std::size_t>(n);
  }
}

void FileWriter::Commit(const std::string& final_path) {
  if (::close(impl_->fd.release()) != 0) ThrowOsError(errno, FileRole::kTarget);
  if (::rename(impl_->native_temp.c_str(), NativePath(final_path).c_str()) != 0) {
    ThrowOsError(errno, FileRole::kTarget);
  }
  impl_->native_temp.clear();
  impl_->temp_path.clear();
}

const std::string& FileWriter::TempPath() const noexcept {
  return impl_->temp_path;
}

std::string PathInFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + '/' + name;
}

}  // namespace hv::platform

namespace hv::platform {

bool PathExists(const std::string& path) noexcept {
  struct stat st {};
  return ::lstat(NativePath(path).c_str(), &st) == 0;
}

}  // namespace hv::platform
