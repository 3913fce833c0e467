// hv play: the whole road from a stored game archive to a running emulator, and hv cache, the
// folders that road keeps its games in.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console_text.h"
#include "cli/disk_set.h"
#include "cli/extract_run.h"
#include "cli/launch_shell.h"
#include "cli/play_cache.h"
#include "cli/play_program.h"
#include "common/error.h"
#include "common/text.h"
#include "halvane/shell/shell_enums.h"
#include "platform/chooser.h"
#include "platform/in_use.h"

namespace hv::cli {

namespace {

namespace fs = std::filesystem;

constexpr const char* kViceNames[] = {"x64sc", "x64"};
#ifdef _WIN32
constexpr char kPathListSeparator = ';';
constexpr char kProgramSuffix[] = ".exe";
constexpr bool kExecBits = false;  // Windows runs any .exe
#else
constexpr bool kExecBits = true;
constexpr char kPathListSeparator = ':';
constexpr char kProgramSuffix[] = "";
#endif
constexpr std::uint64_t kDefaultCacheMegabytes = 1024;
constexpr std::uint64_t kMegabyte = 1024 * 1024;

struct PlayOptions {
  bool m3u = false, json = false;
  std::uint64_t cache_mb = kDefaultCacheMegabytes;
};

// A game ready to start: its file, the set's disks and the lists naming them (console text).
struct PreparedGame {
  std::string game;
  std::vector<std::string> disks;
  std::string fliplist, playlist;
  fs::path folder;  // the cache entry, or the work folder given
  bool warm = false;
};

// Where a step failed: the message is shown, the exit code is set.
struct PlayFailure {
  std::string message;
};

std::int64_t Now() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

// The first of VICE's programs on the PATH, or "".
std::string FindVice() {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  const std::string dirs = path;
  for (const char* name : kViceNames) {
    std::size_t start = 0;
    while (start <= dirs.size()) {
      std::size_t end = dirs.find(kPathListSeparator, start);
      if (end == std::string::npos) end = dirs.size();
      const fs::path candidate =
          fs::path(dirs.substr(start, end - start)) / (std::string(name) + kProgramSuffix);
      std::error_code ec;
      const fs::file_status st = fs::status(candidate, ec);
      constexpr fs::perms kExec =
          fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
      if (!ec && fs::is_regular_file(st) &&
          (!kExecBits || (st.permissions() & kExec) != fs::perms::none) && end > start) {
        return candidate.string();
      }
      start = end + 1;
    }
  }
  return {};
}

// `path` with `from` at its start replaced by `to`: where a dry run's temporary extraction
// would have put a file.
std::string Moved(const std::string& path, const std::string& from, const std::string& to) {
  return path.compare(0, from.size(), from) == 0 ? to + path.substr(from.size()) : path;
}

// A folder for a dry run's extraction, removed with this object.
class ScratchFolder {
 public:
  ScratchFolder() {
    const fs::path base = fs::temp_directory_path();
    for (int i = 0;; ++i) {
      path_ = base / ("hv-play-" + std::to_string(Now()) + "-" + std::to_string(i));
      if (fs::create_directory(path_)) break;
    }
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const noexcept { return path_; }

 private:
  fs::path path_;
};

// Extracts each archive of `archives` (one, or a set with one disk each) into `folder`; the
// set's lists are written only when `write_lists`.
PreparedGame ExtractInto(const ExtractArgs& base, const std::vector<std::string>& archives,
                         const fs::path& folder, bool write_lists, bool m3u) {
  PreparedGame g;
  g.folder = folder;
  DiskSetChooser sets(platform::SystemFileChooser());
  for (std::size_t i = 0; i < archives.size(); ++i) {
    ExtractArgs a = base;
    a.archive = archives[i];
    a.work = (archives.size() == 1 ? folder : folder / ("disk" + std::to_string(i + 1))).string();
    const ExtractOutcome o = RunExtract(a, &sets);
    if (!o.ok) {
      throw PlayFailure{!o.message.empty() ? o.message : Cp1252ToUtf8(o.fail)};
    }
    const std::string file = Cp1252ToUtf8(o.file);
    if (i == 0) g.game = file;
    if (archives.size() > 1) {
      g.disks.push_back(file);
    } else {
      for (const std::string& disk : sets.Disks()) {
        g.disks.push_back((fs::path(file).parent_path() / Cp1252ToUtf8(disk)).string());
      }
    }
  }
  if (g.disks.size() < 2) {
    g.disks.clear();
    return g;
  }
  const fs::path beside = archives.size() > 1 ? folder : fs::path(g.game).parent_path();
  const std::string stem = fs::path(g.game).stem().string();
  g.fliplist = (beside / (stem + ".vfl")).string();
  if (m3u) g.playlist = (beside / (stem + ".m3u")).string();
  if (write_lists) {
    try {
      WriteWholeFile(beside.string(), g.fliplist, FliplistText(g.disks));
      if (m3u) WriteWholeFile(beside.string(), g.playlist, PlaylistText(g.disks));
    } catch (const Error& e) {
      throw PlayFailure{"Could not write the list of disks: " + Cp1252ToUtf8(e.Description())};
    }
  }
  return g;
}

// A dry run extracts into a scratch folder, which lives until the launch is shown.
PreparedGame DryExtract(const ExtractArgs& base, const std::vector<std::string>& archives,
                        const fs::path& folder, bool m3u, std::optional<ScratchFolder>& scratch) {
  scratch.emplace();
  PreparedGame g = ExtractInto(base, archives, scratch->path(), false, m3u);
  g.folder = folder;
  return g;
}

// Puts the paths of a dry run's scratch folder where the real run would have them.
void MoveToFolder(PreparedGame& g, const fs::path& scratch) {
  const std::string from = scratch.string(), to = g.folder.string();
  g.game = Moved(g.game, from, to);
  for (std::string& disk : g.disks) disk = Moved(disk, from, to);
  g.fliplist = Moved(g.fliplist, from, to);
  g.playlist = Moved(g.playlist, from, to);
}

// The archives the game is stored in: the one named, or all of the set it is a disk of.
std::vector<std::string> ArchivesOf(const fs::path& archive) {
  std::vector<std::string> siblings;
  std::error_code ec;
  for (const auto& f : fs::directory_iterator(archive.parent_path(), ec)) {
    if (f.is_regular_file(ec)) siblings.push_back(f.path().filename().string());
  }
  if (std::optional<std::vector<std::string>> set =
          ArchiveSetOf(archive.filename().string(), siblings)) {
    std::vector<std::string> paths;
    for (const std::string& name : *set) paths.push_back((archive.parent_path() / name).string());
    return paths;
  }
  return {archive.string()};
}

struct Played {
  PreparedGame game;
  StartProgram program;
  int joystick_port = 0;
  LaunchReport launch;
};

Played Play(const ExtractArgs& base, LaunchArgs launch, const PlayOptions& options, bool prg_given,
            bool ports_given, bool work_given) {
  std::error_code ec;
  const fs::path archive = fs::absolute(base.archive, ec).lexically_normal();
  if (!fs::is_regular_file(archive, ec)) {
    throw PlayFailure{"hv play: " + base.archive + ": file not found"};
  }
  const std::vector<std::string> archives = ArchivesOf(archive);
  Played p;
  std::optional<platform::InUseMark> running;
  std::optional<GameCache> cache;
  std::optional<CacheEntry> entry;
  std::optional<ScratchFolder> scratch;
  if (work_given) {
    const fs::path work = fs::absolute(base.work);
    p.game = launch.dry_run ? DryExtract(base, archives, work, options.m3u, scratch)
                            : ExtractInto(base, archives, work, true, options.m3u);
  } else {
    cache.emplace(GameCache::DefaultRoot());
    std::vector<ArchiveIdentity> ids;
    for (const std::string& a : archives) ids.push_back(ArchiveIdentity::Of(a));
    entry = cache->Find(ids);
    if (entry) {
      p.game = {entry->game, entry->disks, entry->fliplist, {}, entry->folder, true};
    } else {
      const fs::path folder = cache->FolderFor(ids);
      if (launch.dry_run) {
        p.game = DryExtract(base, archives, folder, options.m3u, scratch);
      } else {
        if (!cache->Reset(folder)) {
          throw PlayFailure{"hv play: " + folder.string() + " is in use by a running game"};
        }
        p.game = ExtractInto(base, archives, folder, true, options.m3u);
        entry = CacheEntry{folder, ids, p.game.game, p.game.disks, p.game.fliplist, 0, 0};
      }
    }
  }
  launch.exact_prg = !prg_given;
  if (!prg_given) {
    p.program = FirstProgram(Utf8ToCp1252(p.game.game));
    launch.prg = Cp1252ToUtf8(p.program.name);
  }
  if (scratch) MoveToFolder(p.game, scratch->path());
  launch.game = p.game.game;
  launch.fliplist = p.game.fliplist;
  launch.prg_given = !launch.prg.empty();
  p.joystick_port = JoystickPortTag(archive.filename().string());
  if (p.joystick_port == 0)
    p.joystick_port = JoystickPortTag(fs::path(p.game.game).filename().string());
  if (p.joystick_port != 0 && !ports_given) {
    (p.joystick_port == 1 ? launch.port1 : launch.port2) = halvane::eVICE_PCJoystick1;
  }
  if (!launch.dry_run && entry) {
    // The emulator inherits the mark: the folder counts as in use for as long as it runs.
    running.emplace(GameCache::LockFile(entry->folder));
    cache->Record(*entry, Now());
    cache->Evict(options.cache_mb * kMegabyte, entry->folder);
  }
  p.launch = Launch(launch, "play");
  return p;
}

// The JSON shape of hv play: the game's fields, then hv launch's.
nlohmann::json PlayedJson(const Played& p, const LaunchArgs& launch) {
  nlohmann::json j = {{"game_file", p.game.game},
                      {"program", Cp1252ToUtf8(p.program.name)},
                      {"program_exact", p.program.exact},
                      {"disks", p.game.disks},
                      {"fliplist", p.game.fliplist},
                      {"playlist", p.game.playlist},
                      {"joystick_port", p.joystick_port},
                      {"folder_of_game", p.game.folder.string()},
                      {"warm", p.game.warm}};
  ShowLaunch(p.launch, launch.dry_run, &j);
  return j;
}

void ShowPlayed(const Played& p, const LaunchArgs& launch, const PlayOptions& options) {
  if (options.json) {
    WriteOut(PlayedJson(p, launch).dump(2) + "\n");
    return;
  }
  std::printf("cache: %s (%s)\n", p.game.folder.string().c_str(), p.game.warm ? "warm" : "cold");
  if (!p.game.disks.empty()) {
    std::printf("disks: %zu\nfliplist: %s\n", p.game.disks.size(), p.game.fliplist.c_str());
    if (!p.game.playlist.empty()) std::printf("playlist: %s\n", p.game.playlist.c_str());
  }
  std::printf("game file: %s\n", p.game.game.c_str());
  if (launch.prg_given || !p.program.name.empty()) {
    std::printf("program: %s\n", Cp1252ToUtf8(p.program.name).c_str());
  }
  if (p.joystick_port != 0) std::printf("joystick: port %d\n", p.joystick_port);
  std::fflush(stdout);
  if (!p.program.exact) {
    std::fprintf(stderr,
                 "hv play: no LOAD name finds the first program of this disk before an earlier "
                 "file; VICE is given %s\n",
                 Cp1252ToUtf8(p.program.name).c_str());
  }
  ShowLaunch(p.launch, launch.dry_run, nullptr);
}

void ShowFailure(const std::string& message, const LaunchArgs& launch, const PlayOptions& options) {
  if (options.json) {
    Played none;
    none.launch.message = message;
    nlohmann::json j = PlayedJson(none, launch);
    WriteOut(j.dump(2) + "\n");
    return;  // ShowLaunch has shown the message and set the exit code
  }
  std::fprintf(stderr, "%s\n", message.c_str());
  ResultCode() = kExitFailed;
}

}  // namespace

void RegisterPlay(CLI::App& app) {
  static ExtractArgs a;
  a.command = "hv play";
  static LaunchArgs launch;
  static PlayOptions options;
  launch.method = "VICE";
  auto* cmd = app.add_subcommand(
      "play", "Extract a stored game archive and start an emulator with the game file");
  AddExtractOptions(cmd, a);
  cmd->add_option("--work,--CurrGameDIR", a.work,
                  "A working folder to use instead of the game's cache folder; cleared by "
                  "every run");
  cmd->add_option("--emulator,--method", launch.method, "The launcher (default: VICE)")
      ->transform(LauncherName());
  cmd->add_option("--emulator-path,--strEmulatorExePath", launch.emulator,
                  "The emulator's program file (default for VICE: x64sc, else x64, on the PATH)");
  cmd->add_option("--prg,--PRGName", launch.prg,
                  "Program to start (default: the image's first program)");
  AddLaunchSettings(cmd, launch);
  cmd->add_flag("--m3u", options.m3u,
                "With several disks of one game, also write a playlist (.m3u)");
  cmd->add_option("--cache-limit", options.cache_mb,
                  "Megabytes the game cache may hold before the least recently played go")
      ->capture_default_str();
  cmd->add_flag("--json", options.json, "Print what was started (or would be) as JSON");
  cmd->callback([cmd] {
    a.from_given = cmd->count("--from") > 0;
    a.choose_given = cmd->count("--choose") > 0;
    LaunchArgs l = launch;
    l.assume_files = true;
    if (l.emulator.empty()) {
      if (l.method != "VICE" && l.method != "VICENoSettings") {
        ShowFailure("hv play: the " + l.method + " launcher needs --emulator-path", l, options);
        return;
      }
      l.emulator = FindVice();
      if (l.emulator.empty() && !l.dry_run) {
        ShowFailure(
            "hv play: VICE not found: looked for x64sc and x64 on the PATH; give the "
            "emulator's program file with --emulator-path",
            l, options);
        return;
      }
      if (l.emulator.empty()) l.emulator = kViceNames[0];
    }
    try {
      const Played p =
          Play(a, l, options, cmd->count("--prg") > 0,
               cmd->count("--port1") + cmd->count("--port2") > 0, cmd->count("--work") > 0);
      ShowPlayed(p, l, options);
    } catch (const PlayFailure& f) {
      ShowFailure(f.message, l, options);
    } catch (const fs::filesystem_error& e) {
      ShowFailure(std::string("hv play: ") + e.what(), l, options);
    } catch (const Error& e) {
      ShowFailure("hv play: " + Cp1252ToUtf8(e.Description()), l, options);
    }
  });
}

void RegisterCache(CLI::App& app) {
  auto* cache = app.add_subcommand("cache", "The folders hv play keeps its games in");
  cache->require_subcommand(1);
  static bool json = false;
  auto* list = cache->add_subcommand("list", "The games in the cache, most recently played first");
  list->add_flag("--json", json, "Print the entries as JSON");
  list->callback([] {
    const GameCache c(GameCache::DefaultRoot());
    nlohmann::json out = nlohmann::json::array();
    for (const CacheEntry& e : c.List()) {
      const bool running = GameCache::Running(e.folder);
      if (json) {
        out.push_back({{"folder", e.folder.string()},
                       {"archive", e.archives.empty() ? "" : e.archives.front().path},
                       {"game_file", e.game},
                       {"disks", e.disks.size()},
                       {"bytes", e.bytes},
                       {"last_played", e.last_played},
                       {"running", running}});
      } else {
        std::printf("%s\t%ju bytes%s\t%s\n", e.game.c_str(), e.bytes, running ? "\trunning" : "",
                    e.archives.empty() ? "" : e.archives.front().path.c_str());
      }
    }
    if (json) WriteOut(out.dump(2) + "\n");
  });
  auto* clear = cache->add_subcommand("clear", "Remove every game no emulator is running");
  clear->callback([] {
    for (const fs::path& kept : GameCache(GameCache::DefaultRoot()).Clear()) {
      std::printf("kept (running): %s\n", kept.string().c_str());
    }
  });
}

}  // namespace hv::cli
