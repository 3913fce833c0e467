#pragma once
// An LHA archive read entry by entry through lhasa's basic reader, over our own file access:
// headers in archive order (a self-extracting stub before the first one is skipped, as lhasa
// skips it), and each file's data decoded with its CRC and length checked.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace hv::lha {

struct LhaEntry {
  std::string path;          // its folder as lhasa gives it, '/'-separated; "" for none
  std::string name;          // the last name component; "" for a folder entry
  std::string method;        // the five-character method field, "-lh5-", "-pm2-", "-lhd-", ...
  std::uint64_t length = 0;  // decoded size from the header
  std::uint64_t compressed_length = 0;  // stored size from the header
  bool is_folder = false;               // a "-lhd-" entry that is no link
  bool is_link = false;                 // a symbolic link (Unix LHA)
  bool IsFile() const noexcept { return !is_folder && !is_link; }
};

using ByteSink = std::function<void(std::span<const std::uint8_t>)>;

// True when lhasa has a decoder for this method field.
bool IsKnownMethod(const std::string& method);

class LhaArchive {
 public:
  // Throws hv::Error when the file cannot be opened.
  explicit LhaArchive(const std::string& path);
  ~LhaArchive();
  LhaArchive(const LhaArchive&) = delete;
  LhaArchive& operator=(const LhaArchive&) = delete;

  // The next entry, or nothing at the end of the archive (its end, a zero end marker, or
  // less than 128 bytes of ^Z padding).
  // Throws hv::Error 321 when no header is found at all, when the data of the last entry runs
  // past the end of the file, or when the bytes after it are no header.
  std::optional<LhaEntry> Next();

  // Decodes the entry Next last returned into `sink`, at most its header's length. Throws
  // hv::Error 321 for an unknown method or a wrong CRC or length, and passes on what `sink`
  // throws.
  void Decode(const ByteSink& sink);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace hv::lha
