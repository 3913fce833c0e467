#pragma once
// Header and directory reader for T64 tape images.

#include <cstdint>
#include <memory>
#include <string>

#include "common/error.h"
#include "tessary/readers/entry_collection.h"

namespace hv::tessary {

class hvT64Entries;

class hvT64Entry {
 public:
  const std::string& C64Filename() const noexcept { return c64_filename_; }

 private:
  friend class hvT64Entries;
  std::string c64_filename_;
};

class hvT64Entries : public EntryCollection<hvT64Entry> {
 public:
  std::shared_ptr<hvT64Entry> Add(const std::string& strC64Filename);

  // Items carry no keys, so a text index always fails ("Invalid procedure call or argument").
  [[noreturn]] std::shared_ptr<hvT64Entry> EntryByKey(const std::string& key) const;

  // Deletes the item at a position counted from 1; the items behind it move up.
  void Remove(std::int64_t Index) { RemoveAt(Index); }
};

class hvT64 {
 public:
  hvT64();

  const std::shared_ptr<hvT64Entries>& Entries() const noexcept { return entries_; }
  std::int32_t EntriesCount() const noexcept { return entries_count_; }
  std::int32_t EntriesUsed() const noexcept { return entries_used_; }
  const std::string& Signature() const noexcept { return signature_; }
  const std::string& TapeImageName() const noexcept { return tape_image_name_; }
  const std::string& Version() const noexcept { return version_; }

  // True when all used records were read; false on an open or read failure, or when more
  // than 32767 records are in use. Values set before a failure stay.
  bool Load(const std::string& strFilename);

  const FailureReason& LastFailure() const noexcept { return last_failure_; }

  // The largest number of used records Load reads (its counter is a signed 16-bit integer).
  static constexpr std::int32_t kMaxEntriesUsed = 32767;

 private:
  void LoadOrThrow(const std::string& path);

  std::shared_ptr<hvT64Entries> entries_;
  std::int32_t entries_count_ = 0;
  std::int32_t entries_used_ = 0;
  std::string signature_;
  std::string tape_image_name_;
  std::string version_;
  FailureReason last_failure_;
};

// The C64 name of a tape's first directory record when its header says no entry is used but
// that record holds a file (a common fault of tapes in the wild, which VICE reads as a tape of
// that one file); "" otherwise, also when the file cannot be read. Not part of Load, which
// reads the used records only.
std::string T64FirstRecordName(const std::string& path);

}  // namespace hv::tessary
