#include "platform/file_writer.h"

#include <windows.h>

#include "platform/os_error.h"
#include "platform/win32/handle.h"

namespace hv::platform {

struct FileWriter::Impl {
  win32::UniqueFile handle;
  std::string temp_path;

  ~Impl() {
    handle.reset();  // an open file cannot be deleted
    if (!temp_path.empty()) ::DeleteFileA(temp_path.c_str());
  }
};

FileWriter::FileWriter(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
FileWriter::FileWriter(FileWriter&&) noexcept = default;
FileWriter& FileWriter::operator=(FileWriter&&) noexcept = default;
FileWriter::~FileWriter() = default;

FileWriter FileWriter::CreateTempIn(const std::string& folder) {
  char name[MAX_PATH + 1] = {};
  // GetTempFileNameA creates the empty file under a name no other file has.
  if (::GetTempFileNameA(folder.c_str(), "hvz", 0, name) == 0) {
    ThrowOsError(::GetLastError(), FileRole::kTarget);
  }
  auto impl = std::make_unique<Impl>();
  impl->temp_path = name;
  impl->handle.reset(::CreateFileA(name, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!impl->handle) ThrowOsError(::GetLastError(), FileRole::kTarget);
  return FileWriter(std::move(impl));
}

void FileWriter::Write(std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t left = bytes.size() - done;
    const DWORD want = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
    DWORD wrote = 0;
    if (!::WriteFile(impl_->handle.get(), bytes.data() + done, want, &wrote, nullptr)) {
      ThrowOsError(::GetLastError(), FileRole::kTarget);
    }
    if (wrote == 0) throw Error(vberr::kDiskFull);
    done += wrote;
  }
}

void FileWriter::Commit(const std::string& final_path) {
  if (!::CloseHandle(impl_->handle.release())) ThrowOsError(::GetLastError(), FileRole::kTarget);
  if (!::MoveFileExA(impl_->temp_path.c_str(), final_path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ThrowOsError(::GetLastError(), FileRole::kTarget);
  }
  impl_->temp_path.clear();
}

const std::string& FileWriter::TempPath() const noexcept {
  return impl_->temp_path;
}

std::string PathInFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  if (last == '\\' || last == '/' || (folder.size() == 2 && last == ':')) return folder + name;
  return folder + '\\' + name;
}

}  // namespace hv::platform

namespace hv::platform {

bool PathExists(const std::string& path) noexcept {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace hv::platform
