#pragma once
// hv play's part of a disk set: the fliplist (and playlist) written beside disk 1, announced on
// stdout and handed to the launch.

#include <string>
#include <vector>

#include "cli/launch_shell.h"

namespace hv::cli {

// Writes the files that name the other disks of the set; false (with the reason on stderr)
// when they could not be written.
bool PlayDiskSet(const std::string& game, const std::vector<std::string>& disks, bool m3u,
                 LaunchArgs& l);

}  // namespace hv::cli
