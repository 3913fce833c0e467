// SID header access. Every method keeps its failures to itself and answers false (or "").

#include <exception>
#include <optional>

#include "halvane/functions/hvFunctions.h"
#include "halvane/functions/sid_header.h"
#include "platform/binary_file.h"
#include "platform/filesystem.h"

namespace hv::halvane {
namespace {

enum class Kinds { kPsid, kPsidOrRsid };

// The header of a PSID file (or RSID, when asked for), or nothing for any other file. A file
// too short to hold the whole header is not taken for one: its fields would be made up.
std::optional<SidHeader> ReadSidHeader(const std::string& path, Kinds kinds = Kinds::kPsid) {
  auto file = platform::BinaryFile::OpenRead(path);
  SidHeader header{};
  file.ReadAt(0, std::span(header.data(), 4));
  if (!HasPsidMagic(header) && !(kinds == Kinds::kPsidOrRsid && HasRsidMagic(header))) {
    return std::nullopt;
  }
  if (file.Length() < kSidHeaderSize) return std::nullopt;
  file.ReadAt(0, header);
  return header;
}

bool SaveStartSong(hvFunctions& functions, const std::string& path, int song, Kinds kinds) {
  try {
    if (functions.DriveTypeIsCDRom(platform::VolumeRootOf(path))) return false;
    const std::uint32_t attributes = platform::FileAttributes(path);
    if (attributes == platform::attr::kInvalid || (attributes & platform::attr::kReadOnly)) {
      return false;
    }
    auto header = ReadSidHeader(path, kinds);
    if (!header) return false;
    if (!SetSidStartSong(*header, song)) return false;
    platform::WriteFileAt(path, 0, *header);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

std::optional<SidTune> ReadSidTune(const std::string& path) {
  const auto header = ReadSidHeader(path, Kinds::kPsidOrRsid);
  if (!header) return std::nullopt;
  const auto total = SidNumber(*header, kSidSongsOffset);
  const auto start = SidNumber(*header, kSidStartSongOffset);
  if (!total || !start) return std::nullopt;
  return SidTune{HasRsidMagic(*header) ? "RSID" : "PSID",
                 SidText(*header, kSidNameOffset),
                 SidText(*header, kSidAuthorOffset),
                 SidText(*header, kSidCopyrightOffset),
                 *total,
                 *start};
}

bool SaveSidTuneStartSong(const std::string& path, int song) {
  hvFunctions functions;
  return SaveStartSong(functions, path, song, Kinds::kPsidOrRsid);
}

bool hvFunctions::GetSidInfo(const std::string& strSidFile, std::string& strName,
                             std::string& strAuthor, std::string& strCopyright,
                             std::int16_t& intTotalSongs, std::int16_t& intDefaultSong) {
  try {
    const auto header = ReadSidHeader(strSidFile);
    if (!header) return false;
    strName = SidText(*header, kSidNameOffset);
    strAuthor = SidText(*header, kSidAuthorOffset);
    strCopyright = SidText(*header, kSidCopyrightOffset);
    const auto total = SidNumber(*header, kSidSongsOffset);
    const auto start = SidNumber(*header, kSidStartSongOffset);
    if (!total || !start) return false;
    intTotalSongs = *total;
    intDefaultSong = *start;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool hvFunctions::GetSidSongInfo(const std::string& strSidFile, std::int16_t& intTotalSongs,
                                 std::int16_t& intDefaultSong) {
  try {
    const auto header = ReadSidHeader(strSidFile);
    if (!header) return false;
    const auto total = SidNumber(*header, kSidSongsOffset);
    const auto start = SidNumber(*header, kSidStartSongOffset);
    if (!total || !start) return false;
    intTotalSongs = *total;
    intDefaultSong = *start;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool hvFunctions::SaveDefaultSidSong(const std::string& strSidFile, std::int16_t& intDefaultSong) {
  return SaveStartSong(*this, strSidFile, intDefaultSong, Kinds::kPsid);
}

std::string hvFunctions::GetSidAuthor(const std::string& strSidFile) {
  try {
    auto file = platform::BinaryFile::OpenRead(strSidFile);
    SidHeader header{};
    // Bytes past the end of a short file read as NUL, like the padding of the field.
    file.ReadAt(kSidAuthorOffset, std::span(header.data() + kSidAuthorOffset, kSidTextSize));
    return SidText(header, kSidAuthorOffset);
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace hv::halvane
