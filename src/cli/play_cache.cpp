#include "cli/play_cache.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <span>
#include <sstream>

#include "cli/disk_set.h"
#include "platform/in_use.h"

namespace hv::cli {

namespace fs = std::filesystem;

namespace {

constexpr char kRecordName[] = "entry.json";
constexpr char kLockName[] = ".running";
constexpr std::uint64_t kFnvOffset = 14695981039346656037ULL;
constexpr std::uint64_t kFnvPrime = 1099511628211ULL;
constexpr std::size_t kStemChars = 40;

std::uint64_t Fnv1a(std::uint64_t hash, const std::string& text) {
  for (const char c : text) {
    hash ^= static_cast<std::uint8_t>(c);
    hash *= kFnvPrime;
  }
  return hash * kFnvPrime;  // the terminator: "ab","c" and "a","bc" differ
}

// A readable, harmless folder name: the first archive's name without what a command line or
// another system would read specially.
std::string SafeStem(const std::string& path) {
  std::string out;
  for (const char c : fs::path(path).stem().string()) {
    if (out.size() >= kStemChars) break;
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '(' || c == ')' || c == '-' || c == '.';
    out += plain ? c : '_';
  }
  return out;
}

nlohmann::json ToJson(const CacheEntry& e) {
  nlohmann::json archives = nlohmann::json::array();
  for (const ArchiveIdentity& a : e.archives) {
    archives.push_back({{"path", a.path}, {"size", a.size}, {"modified", a.modified}});
  }
  return {{"archives", archives},
          {"game", e.game},
          {"disks", e.disks},
          {"fliplist", e.fliplist},
          {"last_played", e.last_played},
          {"bytes", e.bytes}};
}

std::optional<CacheEntry> ReadRecord(const fs::path& folder) {
  std::ifstream in(folder / kRecordName, std::ios::binary);
  if (!in) return std::nullopt;
  const nlohmann::json j = nlohmann::json::parse(in, nullptr, false);
  if (j.is_discarded() || !j.is_object()) return std::nullopt;
  try {
    CacheEntry e;
    e.folder = folder;
    for (const auto& a : j.at("archives")) {
      e.archives.push_back({a.at("path").get<std::string>(), a.at("size").get<std::uintmax_t>(),
                            a.at("modified").get<std::int64_t>()});
    }
    e.game = j.at("game").get<std::string>();
    e.disks = j.at("disks").get<std::vector<std::string>>();
    e.fliplist = j.at("fliplist").get<std::string>();
    e.last_played = j.at("last_played").get<std::int64_t>();
    e.bytes = j.at("bytes").get<std::uintmax_t>();
    return e;
  } catch (const nlohmann::json::exception&) {
    return std::nullopt;  // a record of another version: the folder is as good as incomplete
  }
}

bool Remove(const fs::path& folder) {
  if (GameCache::Running(folder)) return false;
  std::error_code ec;
  fs::remove_all(folder, ec);
  return !ec;
}

}  // namespace

ArchiveIdentity ArchiveIdentity::Of(const fs::path& path) {
  ArchiveIdentity id;
  id.path = fs::absolute(path).lexically_normal().string();
  id.size = fs::file_size(path);
  id.modified = std::chrono::duration_cast<std::chrono::nanoseconds>(
                    fs::last_write_time(path).time_since_epoch())
                    .count();
  return id;
}

fs::path HvCacheFolder() {
  fs::path base;
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = fs::path(home) / ".cache";
  } else {
    base = fs::temp_directory_path();
  }
  return base / "hv";
}

fs::path GameCache::DefaultRoot() {
  return HvCacheFolder() / "games";
}

fs::path GameCache::FolderFor(const std::vector<ArchiveIdentity>& archives) const {
  std::uint64_t hash = kFnvOffset;
  for (const ArchiveIdentity& a : archives) {
    hash = Fnv1a(hash, a.path);
    hash = Fnv1a(hash, std::to_string(a.size));
    hash = Fnv1a(hash, std::to_string(a.modified));
  }
  std::ostringstream name;
  name << SafeStem(archives.empty() ? std::string() : archives.front().path) << '-' << std::hex
       << hash;
  return root_ / name.str();
}

std::optional<CacheEntry> GameCache::Find(const std::vector<ArchiveIdentity>& archives) const {
  std::optional<CacheEntry> e = ReadRecord(FolderFor(archives));
  if (!e || e->archives != archives) return std::nullopt;
  std::error_code ec;
  if (!fs::is_regular_file(e->game, ec)) return std::nullopt;
  return e;
}

std::vector<CacheEntry> GameCache::List() const {
  std::vector<CacheEntry> entries;
  std::error_code ec;
  for (const auto& dir : fs::directory_iterator(root_, ec)) {
    if (!dir.is_directory(ec)) continue;
    if (std::optional<CacheEntry> e = ReadRecord(dir.path())) entries.push_back(std::move(*e));
  }
  std::sort(entries.begin(), entries.end(), [](const CacheEntry& a, const CacheEntry& b) {
    return a.last_played != b.last_played ? a.last_played > b.last_played : a.folder < b.folder;
  });
  return entries;
}

void GameCache::Record(CacheEntry& entry, std::int64_t now) const {
  entry.last_played = now;
  entry.bytes = FolderBytes(entry.folder);
  const std::string text = ToJson(entry).dump(2) + "\n";
  WriteWholeFile(entry.folder.string(), (entry.folder / kRecordName).string(), text);
}

bool GameCache::Reset(const fs::path& folder) const {
  if (Running(folder)) return false;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return true;
}

std::string GameCache::LockFile(const fs::path& folder) {
  return (folder / kLockName).string();
}

bool GameCache::Running(const fs::path& folder) {
  return platform::InUse(LockFile(folder));
}

std::vector<fs::path> GameCache::Evict(std::uintmax_t limit, const fs::path& keep) const {
  std::vector<CacheEntry> entries = List();
  std::uintmax_t total = 0;
  for (const CacheEntry& e : entries) total += e.bytes;
  std::vector<fs::path> removed;
  // Oldest first: the list is most recent first.
  for (auto it = entries.rbegin(); it != entries.rend() && total > limit; ++it) {
    if (it->folder == keep || !Remove(it->folder)) continue;
    total -= std::min(total, it->bytes);
    removed.push_back(it->folder);
  }
  return removed;
}

std::vector<fs::path> GameCache::Clear() const {
  std::vector<fs::path> kept;
  std::error_code ec;
  for (const auto& dir : fs::directory_iterator(root_, ec)) {
    if (dir.is_directory(ec) && !Remove(dir.path())) kept.push_back(dir.path());
  }
  return kept;
}

std::uintmax_t FolderBytes(const fs::path& folder) {
  std::uintmax_t bytes = 0;
  std::error_code ec;
  for (const auto& f : fs::recursive_directory_iterator(folder, ec)) {
    if (f.is_regular_file(ec)) bytes += f.file_size(ec);
  }
  return bytes;
}

}  // namespace hv::cli
