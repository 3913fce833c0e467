#include "tessary/extract/unpack/lynx/lynx_directory.h"

#include <algorithm>
#include <cctype>
#include <span>

#include "tessary/extract/unpack/lynx/lynx_error.h"
#include "tessary/extract/unpack/lynx/lynx_limits.h"
#include "tessary/extract/unpack/lynx/lynx_names.h"
#include "tessary/extract/unpack/zip/zip_bytes.h"

namespace hv::lynx {
namespace {

constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kShiftSpace = 0xA0;

// Reads the CR-separated fields of the directory; running off the end is damage.
class DirectoryCursor {
 public:
  DirectoryCursor(std::span<const std::uint8_t> bytes, std::size_t at) : bytes_(bytes), at_(at) {}

  bool AtEnd() const { return at_ >= bytes_.size(); }
  std::uint8_t Peek() const { return AtEnd() ? 0 : bytes_[at_]; }
  void SkipCr() {
    if (Peek() == kCr) ++at_;
  }

  // The bytes up to the next CR, which is consumed.
  std::string Field(const char* what, std::size_t max_size) {
    std::string field;
    while (true) {
      if (AtEnd()) ThrowBadLynx(std::string("directory ends inside ") + what);
      const std::uint8_t c = bytes_[at_++];
      if (c == kCr) return field;
      if (field.size() == max_size) ThrowBadLynx(std::string(what) + " too long");
      field.push_back(static_cast<char>(c));
    }
  }

  // A decimal number written with any blanks around it and leading zeros; the rest of the
  // field (the signature, on the first line) is handed back through `rest`.
  std::uint64_t Number(const char* what, std::string* rest = nullptr) {
    const std::string field = Field(what, rest ? kLynxMaxStubBytes : 16);
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    const std::size_t first_digit = i;
    std::uint64_t value = 0;
    while (i < field.size() && std::isdigit(static_cast<unsigned char>(field[i]))) {
      if (i - first_digit == kLynxMaxDigits) ThrowBadLynx(std::string(what) + " too large");
      value = value * 10 + static_cast<std::uint64_t>(field[i] - '0');
      ++i;
    }
    if (i == first_digit) ThrowBadLynx(std::string(what) + " is no number");
    if (rest) {
      *rest = field.substr(i);
    } else {
      while (i < field.size() && field[i] == ' ') ++i;
      if (i != field.size()) ThrowBadLynx(std::string(what) + " is no number");
    }
    return value;
  }

  std::size_t position() const { return at_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_;
};

// The offset right after the BASIC stub: its lines are followed through their links, the
// program ends with a zero link.
std::size_t SkipBasicStub(std::span<const std::uint8_t> head) {
  const auto u16 = [head](std::size_t at) {
    if (at + 2 > head.size()) ThrowBadLynx("truncated BASIC stub");
    return static_cast<std::uint16_t>(head[at] | (head[at + 1] << 8));
  };
  const std::uint16_t load = u16(0);
  std::size_t at = 2;
  for (int line = 0; line < kLynxMaxStubLines; ++line) {
    const std::uint16_t link = u16(at);
    if (link == 0) return at + 2;
    // A link is a memory address; each line holds at least its link, number and end byte.
    if (link < load || std::size_t{link} - load + 2 < at + 5) ThrowBadLynx("broken BASIC stub");
    at = std::size_t{link} - load + 2;
  }
  ThrowBadLynx("BASIC stub too long");
}

bool HoldsLynx(const std::string& signature) {
  return signature.find("LYNX") != std::string::npos;
}

std::string StripPadding(std::string name) {
  while (!name.empty() &&
         (static_cast<std::uint8_t>(name.back()) == kShiftSpace || name.back() == '\0')) {
    name.pop_back();
  }
  return name;
}

char TypeLetter(const std::string& field) {
  for (const char c : field) {
    if (c == ' ') continue;
    const char type = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (type == 'P' || type == 'S' || type == 'U' || type == 'R' || type == 'D') return type;
    break;
  }
  ThrowBadLynx("unknown file type \"" + field + "\"");
}

// Places the entry's bytes and checks them against the archive's length. A relative file
// keeps its side sectors in its first blocks; only the records are its data.
void PlaceEntry(LynxEntry& entry, std::uint64_t at, std::uint64_t last, bool has_last,
                std::uint64_t archive_length) {
  std::uint64_t data_blocks = entry.blocks;
  std::uint64_t side_blocks = 0;
  if (entry.type == 'R' && entry.blocks > 0) {
    side_blocks = (entry.blocks + kLynxBlocksPerSideSector) / (kLynxBlocksPerSideSector + 1);
    data_blocks = entry.blocks - side_blocks;
    if (data_blocks == 0 ||
        (data_blocks + kLynxBlocksPerSideSector - 1) / kLynxBlocksPerSideSector != side_blocks) {
      ThrowBadLynx("relative file with an impossible block count: " +
                   PetsciiToFileText(entry.name));
    }
  }
  entry.data_offset = at + side_blocks * kLynxBlockBytes;
  if (data_blocks == 0) {
    entry.size = 0;
  } else if (!has_last) {
    // Old archives leave the last file's length open: it runs to the end of the archive.
    const std::uint64_t room =
        archive_length > entry.data_offset ? archive_length - entry.data_offset : 0;
    entry.size = std::min(data_blocks * kLynxBlockBytes, room);
  } else {
    if (last < 1 || last > kLynxBlockBytes + 1) {
      ThrowBadLynx("impossible length of the last block: " + PetsciiToFileText(entry.name));
    }
    entry.size = (data_blocks - 1) * kLynxBlockBytes + (last - 1);
  }
  if (!zip::FitsWithin(entry.data_offset, entry.size, archive_length)) {
    ThrowBadLynx("file runs past the end of the archive: " + PetsciiToFileText(entry.name));
  }
}

}  // namespace

LynxDirectory ReadLynxDirectory(platform::BinaryFile& file) {
  const std::uint64_t length = file.Length();
  std::vector<std::uint8_t> head(static_cast<std::size_t>(std::min(length, kLynxMaxStubBytes)));
  file.ReadAt(0, head);

  LynxDirectory dir;
  const std::size_t after_stub = SkipBasicStub(head);
  DirectoryCursor header(head, after_stub);
  header.SkipCr();
  dir.directory_blocks = header.Number("directory size", &dir.signature);
  if (!HoldsLynx(dir.signature)) ThrowBadLynx("no Lynx signature");
  if (dir.directory_blocks == 0 || dir.directory_blocks > kLynxMaxDirectoryBlocks) {
    ThrowBadLynx("impossible directory size");
  }
  const std::uint64_t dir_bytes = dir.directory_blocks * kLynxBlockBytes;
  if (dir_bytes > length) ThrowBadLynx("archive shorter than its directory");

  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(dir_bytes));
  file.ReadAt(0, bytes);
  DirectoryCursor cursor(bytes, header.position());
  const std::uint64_t count = cursor.Number("entry count");

  std::uint64_t at = dir_bytes;
  for (std::uint64_t i = 0; i < count; ++i) {
    // The directory's zero padding where an entry should start: the count lies.
    if (cursor.AtEnd() || cursor.Peek() == 0) {
      ThrowBadLynx("directory ends after " + std::to_string(i) + " of " + std::to_string(count) +
                   " entries");
    }
    LynxEntry entry;
    entry.name = StripPadding(cursor.Field("file name", kLynxMaxNameBytes));
    entry.blocks = static_cast<std::uint32_t>(cursor.Number("block count"));
    entry.type = TypeLetter(cursor.Field("file type", 16));
    if (entry.type == 'R') {
      const std::uint64_t record_length = cursor.Number("record length");
      if (record_length > 255)
        ThrowBadLynx("impossible record length: " + PetsciiToFileText(entry.name));
      entry.record_length = static_cast<std::uint8_t>(record_length);
    }
    // Only the last entry may lack its last-block length (the directory's padding follows).
    const bool last_entry = i + 1 == count;
    const bool has_last = !(last_entry && (cursor.AtEnd() || cursor.Peek() == 0));
    const std::uint64_t last = has_last ? cursor.Number("last block length") : 0;
    PlaceEntry(entry, at, last, has_last, length);
    at += std::uint64_t{entry.blocks} * kLynxBlockBytes;
    dir.entries.push_back(std::move(entry));
  }
  return dir;
}

}  // namespace hv::lynx
