#pragma once
// Several disk images of one game: names that differ only by a disk or side number ("Disk 1" /
// "Disk 2", "side a" / "side b", "(1 of 3)", "_1" / "_2"). hv play starts the first and hands
// the emulator the others, in a VICE fliplist and, when asked, a playlist as RetroArch reads it.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/chooser.h"

namespace hv::cli {

// The names in disk order when they form one set of D64 images that includes disk 1; nothing
// when any name lacks a disk number, the rest of the names differ, or a number repeats.
std::optional<std::vector<std::string>> DiskSetOrder(const std::vector<std::string>& names);

// The fliplist of `disks` (paths, disk 1 first). VICE puts each line it reads in front of the
// ones before, so the disks are written last to first: then disk 1 is current and flipping on
// reaches disk 2, 3, ...
std::string FliplistText(const std::vector<std::string>& disks);

// The playlist of `disks` (names beside the playlist, disk 1 first), one a line.
std::string PlaylistText(const std::vector<std::string>& disks);

// Writes `text` to `path` so that the file is complete or not there at all. Throws hv::Error.
void WriteWholeFile(const std::string& folder, const std::string& path, const std::string& text);

// The chooser hv play gives the extraction: a disk set is answered with disk 1 and remembered,
// any other question goes to `fallback`.
class DiskSetChooser : public platform::FileChooser {
 public:
  explicit DiskSetChooser(platform::FileChooser& fallback) : fallback_(fallback) {}
  std::string Choose(const std::vector<std::string>& names, std::size_t selected) override;
  // The set of the last question, disk 1 first; empty when it was no set.
  const std::vector<std::string>& Disks() const noexcept { return disks_; }

 private:
  platform::FileChooser& fallback_;
  std::vector<std::string> disks_;
};

struct DiskSetFiles {
  std::string fliplist, playlist;  // core text; playlist empty when none was asked for
};

// Writes the fliplist (and with `playlist` the playlist) of `disks` beside `game_file`, disk 1
// of the set, naming them after it (.vfl, .m3u). Throws hv::Error when a file cannot be written.
DiskSetFiles WriteDiskSetFiles(const std::string& game_file, const std::vector<std::string>& disks,
                               bool playlist);

}  // namespace hv::cli
