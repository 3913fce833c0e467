#pragma once
// Directory reader for D64 disk images (a 1541 floppy, sector by sector).

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "common/error.h"
#include "tessary/readers/entry_collection.h"

namespace hv::tessary {

class hvD64Entries;

// The three texts of a directory entry as Load decodes them.
struct D64EntryTexts {
  std::string_view filename, file_size, file_type;
  std::string_view name_bytes;  // the 16 bytes of the name field as stored
  std::uint8_t type_byte = 0;
};

class hvD64Entry {
 public:
  // Only the collection can make this key: entries are built from their texts by the
  // library alone, in place.
  class Key {
    friend class hvD64Entries;
    Key() = default;
  };
  hvD64Entry() = default;
  hvD64Entry(Key, std::string_view filename, std::string_view file_size, std::string_view file_type)
      : filename_(filename), file_size_in_blocks_(file_size), file_type_(file_type) {}
  hvD64Entry(Key, const D64EntryTexts& texts)
      : filename_(texts.filename),
        file_size_in_blocks_(texts.file_size),
        file_type_(texts.file_type),
        name_bytes_(texts.name_bytes),
        type_byte_(texts.type_byte) {}

  const std::string& Filename() const noexcept { return filename_; }
  const std::string& FileSizeInBlocks() const noexcept { return file_size_in_blocks_; }
  const std::string& FileType() const noexcept { return file_type_; }

  // Not on the automation interface: the entry as stored, for showing and loading it as a C64
  // does. Both are empty (0) for an entry made by Add.
  const std::string& NameBytes() const noexcept { return name_bytes_; }
  std::uint8_t TypeByte() const noexcept { return type_byte_; }

 private:
  friend class hvD64Entries;
  std::string filename_;
  std::string file_size_in_blocks_;
  std::string file_type_;
  std::string name_bytes_;
  std::uint8_t type_byte_ = 0;
};

class hvD64Entries : public EntryCollection<hvD64Entry> {
 public:
  std::shared_ptr<hvD64Entry> Add(const std::string& Filename, const std::string& FileSize,
                                  const std::string& FileType);

 private:
  friend class hvD64;
  // Load's way in: the entries of one directory share one allocation, which lives as long as
  // any of them is held.
  void AddDecoded(const D64EntryTexts* texts, std::size_t count);
};

class hvD64 {
 public:
  hvD64();

  const std::string& DiskID() const noexcept { return disk_id_; }
  const std::string& DiskName() const noexcept { return disk_name_; }
  // Always the same collection; entries of every Load are appended to it.
  const std::shared_ptr<hvD64Entries>& Entries() const noexcept { return entries_; }

  // True when the directory was read to its end; false when the file could not be opened or
  // read (LastFailure says why). Values set before a failure stay.
  bool Load(const std::string& strFilename);

  const FailureReason& LastFailure() const noexcept { return last_failure_; }

  // Byte offset of a track and sector: 0 for track 0 or above 40; the sector is not checked.
  static std::uint32_t TrackSectorOffset(std::uint8_t track, std::uint8_t sector) noexcept;

 private:
  void LoadOrThrow(const std::string& path);

  std::string disk_name_;
  std::string disk_id_;
  std::shared_ptr<hvD64Entries> entries_;
  FailureReason last_failure_;
};

}  // namespace hv::tessary
