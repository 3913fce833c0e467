#include "tessary/extract/unpack/zip/zip_names.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "common/text.h"
#include "common/upper_case.h"
#include "platform/file_writer.h"
#include "tessary/extract/unpack/zip/zip_error.h"

namespace hv::zip {
namespace {

// Code points of code page 437 bytes 0x80..0xFF.
constexpr std::array<char16_t, 128> kCp437High = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

std::string Cp437ToUtf16(std::string_view stored) {
  std::u16string wide;
  wide.reserve(stored.size());
  for (const char c : stored) {
    const auto byte = static_cast<unsigned char>(c);
    wide.push_back(byte < 0x80 ? static_cast<char16_t>(byte) : kCp437High[byte - 0x80]);
  }
  return Utf16ToCp1252(wide);
}

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

bool IsForbiddenInName(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return true;
  switch (c) {
    case '<':
    case '>':
    case ':':
    case '"':
    case '|':
    case '?':
    case '*':
      return true;
    default:
      return false;
  }
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9, with or without an extension, open a device on
// Windows instead of a file in the folder.
bool IsDeviceName(std::string_view name) {
  std::string upper = UpperCase1252(name.substr(0, name.find('.')));
  while (!upper.empty() && upper.back() == ' ') upper.pop_back();
  if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL") return true;
  return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
         upper[3] >= '1' && upper[3] <= '9';
}

}  // namespace

std::string DecodeEntryName(std::string_view stored, bool utf8) {
  return utf8 ? Utf8ToCp1252(stored) : Cp437ToUtf16(stored);
}

bool IsFolderName(std::string_view name) {
  return !name.empty() && IsSeparator(name.back());
}

EntryTarget FlatEntryTarget(const std::string& folder, std::string_view entry_name) {
  std::string_view last = entry_name;
  const auto cut = last.find_last_of("/\\");
  if (cut != std::string_view::npos) last.remove_prefix(cut + 1);
  if (last.size() >= 2 && last[1] == ':' && std::isalpha(static_cast<unsigned char>(last[0]))) {
    last.remove_prefix(2);
  }
  std::string name;
  name.reserve(last.size());
  for (const char c : last)
    name.push_back(IsForbiddenInName(static_cast<unsigned char>(c)) ? '_' : c);
  while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
  // Trailing dots are gone, so "." and ".." end up empty here.
  if (name.empty() || IsDeviceName(name)) ThrowUnsafeName(std::string(entry_name));

  EntryTarget target{name, platform::PathInFolder(folder, name)};
  // The joined path must be the folder followed by nothing but this one name.
  const std::string prefix = platform::PathInFolder(folder, "");
  if (name.find_first_of("/\\") != std::string::npos || target.path != prefix + name) {
    ThrowUnsafeName(std::string(entry_name));
  }
  return target;
}

void RecordWritten(std::vector<std::string>& written, const std::string& file_name) {
  if (std::find(written.begin(), written.end(), file_name) == written.end()) {
    written.push_back(file_name);
  }
}

}  // namespace hv::zip
