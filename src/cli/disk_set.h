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

// The names in disk order (disk, then side, as TOSEC names them: "(Disk 1 of 2)(Side B)") when
// they form one set of disk images (D64, D71, D81, G64, X64) that includes disk 1 side A;
// nothing when any name lacks a disk or side number, the rest of the names differ, or a number
// repeats.
std::optional<std::vector<std::string>> DiskSetOrder(const std::vector<std::string>& names);

// The same for archives that each hold one disk ("Game (Disk 1 of 2).zip").
std::optional<std::vector<std::string>> ArchiveSetOrder(const std::vector<std::string>& names);

// The set `name` (an archive) belongs to among `siblings` (the names in its folder), disk 1
// first; nothing when it is part of no whole set.
std::optional<std::vector<std::string>> ArchiveSetOf(const std::string& name,
                                                     const std::vector<std::string>& siblings);

// The fliplist of `disks` (paths, disk 1 first), in that order: VICE (since 3.6) adds each line
// at the bottom of the list, so disk 1 is current and flipping on reaches disk 2, 3, ...
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

}  // namespace hv::cli
