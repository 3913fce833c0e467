#include "cli/play_disk_set.h"

#include <cstdio>

#include "cli/commands.h"
#include "cli/disk_set.h"
#include "common/error.h"
#include "common/text.h"

namespace hv::cli {

bool PlayDiskSet(const std::string& game, const std::vector<std::string>& disks, bool m3u,
                 LaunchArgs& l) {
  try {
    const DiskSetFiles files = WriteDiskSetFiles(game, disks, m3u);
    l.fliplist = Cp1252ToUtf8(files.fliplist);
    std::printf("disks: %s\nfliplist: %s\n", std::to_string(disks.size()).c_str(),
                l.fliplist.c_str());
    if (!files.playlist.empty())
      std::printf("playlist: %s\n", Cp1252ToUtf8(files.playlist).c_str());
    return true;
  } catch (const Error& e) {
    std::fprintf(stderr, "Could not write the list of disks: %s\n",
                 Cp1252ToUtf8(e.Description()).c_str());
    ResultCode() = kExitFailed;
    return false;
  }
}

}  // namespace hv::cli
