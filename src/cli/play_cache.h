#pragma once
// hv play's cache: each stored game (one archive, or the archives of a disk set) has its own
// folder under the user's cache folder, named after the archives' identity (path, size,
// modification time). A folder whose record is written is complete and is played again as it
// is, with what the emulator saved into its disks; a changed archive has another identity and
// so another folder. The least recently played folders go when the cache grows past its limit,
// except those a running game uses.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace hv::cli {

struct ArchiveIdentity {
  std::string path;  // absolute
  std::uintmax_t size = 0;
  std::int64_t modified = 0;  // nanoseconds of the file clock

  // Reads the identity of `path`; throws std::filesystem::filesystem_error.
  static ArchiveIdentity Of(const std::filesystem::path& path);
  bool operator==(const ArchiveIdentity&) const = default;
};

struct CacheEntry {
  std::filesystem::path folder;
  std::vector<ArchiveIdentity> archives;
  std::string game;                // the game file (absolute path)
  std::vector<std::string> disks;  // a disk set's images, disk 1 first; empty for one file
  std::string fliplist;            // the set's fliplist, or ""
  std::int64_t last_played = 0;    // seconds since the epoch
  std::uintmax_t bytes = 0;
};

// hv's folder in the user's cache (XDG_CACHE_HOME, else ~/.cache, else the temporary folder).
std::filesystem::path HvCacheFolder();

class GameCache {
 public:
  explicit GameCache(std::filesystem::path root) : root_(std::move(root)) {}
  // The cache under XDG_CACHE_HOME (or ~/.cache): hv/games.
  static std::filesystem::path DefaultRoot();

  // The folder the game of `archives` has (whether or not it exists yet).
  std::filesystem::path FolderFor(const std::vector<ArchiveIdentity>& archives) const;
  // The complete entry of `archives` whose game file is still there, or nothing.
  std::optional<CacheEntry> Find(const std::vector<ArchiveIdentity>& archives) const;
  // Every entry with a record, most recently played first.
  std::vector<CacheEntry> List() const;

  // Writes the record that makes `entry` complete (and its size and play time current).
  void Record(CacheEntry& entry, std::int64_t now) const;
  // Empties `folder` for a new extraction; false when a running game uses it.
  bool Reset(const std::filesystem::path& folder) const;

  // The lock file a running game of `folder` holds.
  static std::string LockFile(const std::filesystem::path& folder);
  static bool Running(const std::filesystem::path& folder);

  // Removes the least recently played folders, never `keep` nor a running game's, until the
  // cache holds at most `limit` bytes; returns the folders removed.
  std::vector<std::filesystem::path> Evict(std::uintmax_t limit,
                                           const std::filesystem::path& keep) const;
  // Removes every folder no running game uses; returns those it had to keep.
  std::vector<std::filesystem::path> Clear() const;

  const std::filesystem::path& root() const noexcept { return root_; }

 private:
  std::filesystem::path root_;
};

// The bytes of the files below `folder`.
std::uintmax_t FolderBytes(const std::filesystem::path& folder);

}  // namespace hv::cli
