// The SID header methods on hostile files. The last two input bytes choose the song that
// SaveDefaultSidSong stores; the rest is the file. Saving may touch the start-song field
// (bytes 0x10 and 0x11) and nothing else.

#include <cstddef>
#include <cstdint>
#include <string>

#include "halvane/functions/hvFunctions.h"
#include "halvane/functions/sid_header.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = hv::fuzz::ScratchDir() + "/tune.sid";
  std::int16_t song = 1;
  if (size >= 2) {
    song = static_cast<std::int16_t>((data[size - 2] << 8) | data[size - 1]);
    size -= 2;
  }
  const std::string before(reinterpret_cast<const char*>(data), size);
  hv::fuzz::WriteAll(path, before);

  hv::halvane::hvFunctions functions;
  std::string name = "n", author = "a", copyright = "c";
  std::int16_t total = -7, start = -7;
  const bool info = functions.GetSidInfo(path, name, author, copyright, total, start);
  if (info) {
    HV_FUZZ_CHECK(size >= hv::halvane::kSidHeaderSize, "a short file passed for a header");
    HV_FUZZ_CHECK(name.size() == 32 && author.size() == 32 && copyright.size() == 32,
                  "a text field is not 32 bytes");
  }
  std::int16_t total2 = -7, start2 = -7;
  const bool song_info = functions.GetSidSongInfo(path, total2, start2);
  HV_FUZZ_CHECK(song_info == info, "GetSidInfo and GetSidSongInfo disagree");
  if (info) HV_FUZZ_CHECK(total == total2 && start == start2, "song numbers disagree");
  const std::string by_author = functions.GetSidAuthor(path);
  if (info) HV_FUZZ_CHECK(by_author == author, "GetSidAuthor differs from GetSidInfo");

  std::int16_t wanted = song;
  const bool saved = functions.SaveDefaultSidSong(path, wanted);
  HV_FUZZ_CHECK(wanted == song, "the song argument changed");
  const std::string after = hv::fuzz::ReadAll(path);
  HV_FUZZ_CHECK(after.size() == before.size(), "the file changed its size");
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (i == 0x10 || i == 0x11) continue;
    HV_FUZZ_CHECK(after[i] == before[i], "byte " + std::to_string(i) + " changed");
  }
  if (!saved) {
    HV_FUZZ_CHECK(after == before, "a failed save changed the file");
  } else {
    HV_FUZZ_CHECK(song >= 0 && song <= 256, "an out-of-range song was saved");
    HV_FUZZ_CHECK(static_cast<std::uint8_t>(after[0x10]) == (song >> 8) &&
                      static_cast<std::uint8_t>(after[0x11]) == (song & 0xFF),
                  "the start song was not stored big-endian");
  }
  return 0;
}
