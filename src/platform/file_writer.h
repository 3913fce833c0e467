#pragma once
// Writing a new file so that it appears complete or not at all: the bytes go to a fresh
// temporary file in the target folder, and only Commit renames it over the final name. A
// writer that is destroyed without Commit removes its temporary file. Paths are core text
// (Windows-1252).

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "common/error.h"

namespace hv::platform {

class FileWriter {
 public:
  // Creates a new, uniquely named temporary file inside `folder` (an existing folder).
  // Throws hv::Error (76 Path not found, 70 Permission denied, ...) when it cannot.
  static FileWriter CreateTempIn(const std::string& folder);

  FileWriter(FileWriter&&) noexcept;
  FileWriter& operator=(FileWriter&&) noexcept;
  FileWriter(const FileWriter&) = delete;
  FileWriter& operator=(const FileWriter&) = delete;
  ~FileWriter();

  // Appends bytes; throws hv::Error (61 Disk full, 57 Device I/O error) when it cannot.
  void Write(std::span<const std::uint8_t> bytes);
  // Closes the file and renames it to `final_path`, replacing a file of that name.
  void Commit(const std::string& final_path);
  // The temporary file's path while it exists.
  const std::string& TempPath() const noexcept;

 private:
  struct Impl;
  explicit FileWriter(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// `folder` joined with a plain file name (no separator in it).
std::string PathInFolder(const std::string& folder, const std::string& name);

}  // namespace hv::platform

namespace hv::platform {

// True when something (file or folder) exists at `path`.
bool PathExists(const std::string& path) noexcept;

}  // namespace hv::platform
