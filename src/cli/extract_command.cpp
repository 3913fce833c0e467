// hv extract / db init / play: a stored game archive to one game file, the game database the
// choice is remembered in, and the whole road from archive to running emulator.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/autostart_name.h"
#include "cli/commands.h"
#include "cli/console_text.h"
#include "cli/disk_set.h"
#include "cli/failure_texts.h"
#include "cli/launch_shell.h"
#include "cli/play_disk_set.h"
#include "common/text.h"
#include "common/upper_case.h"
#include "halvane/functions/hvFunctions.h"
#include "platform/chooser.h"
#include "platform/filesystem.h"
#include "platform/game_database.h"
#include "tessary/extract/hvExtract.h"
#include "tessary/readers/hvD64.h"
#include "tessary/readers/hvT64.h"

namespace hv::cli {

namespace {

struct ExtractArgs {
  std::string archive, work, db, from, winzip, choose;
  std::int32_t game_id = 0;
  bool from_given = false, choose_given = false, json = false;
};

// --choose NAME: the answer given ahead, for scripts; "" declines. Keeps the names it was
// offered when none matched, so that hv can say what there was to choose from.
class FixedChooser : public platform::FileChooser {
 public:
  explicit FixedChooser(std::string answer) : answer_(std::move(answer)) {}
  std::string Choose(const std::vector<std::string>& names, std::size_t) override {
    for (const std::string& n : names) {
      if (UpperCase1252(n) == UpperCase1252(answer_)) return n;
    }
    if (!answer_.empty()) unmatched_ = names;
    return {};
  }
  const std::vector<std::string>& unmatched() const noexcept { return unmatched_; }

 private:
  std::string answer_;
  std::vector<std::string> unmatched_;
};

struct ExtractOutcome {
  bool ok = false;
  std::string file, fail;  // core text
  FailureReason why;       // the error behind a failure
  std::string message;     // hv's own account of the failure (console text), or ""
};

ExtractOutcome RunExtract(const ExtractArgs& a, platform::FileChooser* chooser = nullptr) {
  FixedChooser fixed(ArgToCoreText(a.choose));
  tessary::ExtractServices services;
  services.chooser = chooser;
  if (a.choose_given) services.chooser = &fixed;
  tessary::hvExtract extract(std::make_shared<halvane::hvFunctions>(), services);
  // With a database the caller is the front-end that remembers choices, unless told otherwise.
  const std::string from = a.from_given ? a.from : (a.db.empty() ? "" : "Zenvora");
  ExtractOutcome o;
  try {
    o.ok = extract.Extract("", ArgToCoreText(a.archive), ArgToCoreText(a.db), ArgToCoreText(a.work),
                           o.file, o.fail, ArgToCoreText(from), ArgToCoreText(a.winzip), a.game_id);
  } catch (const Error& e) {
    // Preparing the work folder failed; the error alone does not say which file it was about.
    const bool archive_missing =
        platform::FileAttributes(ArgToCoreText(a.archive)) == platform::attr::kInvalid;
    o.message = "hv extract: " + (archive_missing ? a.archive : a.archive + " into " + a.work) +
                ": Error " + std::to_string(e.Number()) + ": " + Cp1252ToUtf8(e.Description());
    o.fail = e.Description();
    o.why = {e.Number(), e.Description()};
    return o;
  }
  if (o.ok) return o;
  o.why = extract.LastFailure();
  if (!fixed.unmatched().empty()) {
    std::vector<std::string> names;
    for (const std::string& n : fixed.unmatched()) names.push_back(Cp1252ToUtf8(n));
    o.message = NoSuchChoiceText(a.choose, names);
  } else {
    o.message = ExtractReasonText(o.why, a.archive, a.work);
  }
  return o;
}

void AddExtractOptions(CLI::App* cmd, ExtractArgs& a) {
  cmd->add_option("ARCHIVE,--FileToExtract", a.archive, "The stored game file")->required();
  cmd->add_option("--db,--DatabaseFile", a.db, "The game database (hv db init makes one)");
  cmd->add_option("--game-id,--GameID", a.game_id, "The game's number in the database");
  cmd->add_option("--from,--FromProgram", a.from,
                  "The calling front-end; \"Zenvora\" (the default with --db) remembers choices");
  cmd->add_option("--winzip,--WinzipPath", a.winzip, "WinZip's program file, for gzip archives");
  cmd->add_option("--choose", a.choose,
                  "Answer the chooser with this file name instead of asking (\"\" declines)");
}

void Finish(const ExtractArgs& a, const ExtractOutcome& o) {
  if (a.json) {
    const nlohmann::json j = {{"Extract", o.ok},
                              {"ReturnFilename", Cp1252ToUtf8(o.file)},
                              {"ReturnFailInfo", Cp1252ToUtf8(o.fail)}};
    WriteOut(j.dump(2) + "\n");
  } else if (o.ok) {
    WriteOut(Cp1252ToUtf8(o.file) + "\n");
  }
  if (!o.message.empty()) {
    std::fprintf(stderr, "%s\n", o.message.c_str());
  } else if (!o.ok && !a.json) {
    std::fprintf(stderr, "%s\n", Cp1252ToUtf8(o.fail).c_str());
  }
  if (!o.ok) ResultCode() = kExitFailed;
}

// The work folder of hv play when none is given: under the user's cache folder.
std::string DefaultWorkFolder() {
  namespace fs = std::filesystem;
  fs::path base;
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg) {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    base = fs::path(home) / ".cache";
  } else {
    base = fs::temp_directory_path();
  }
  const fs::path parent = base / "hv";
  fs::create_directories(parent);
  return (parent / "work").string();
}

// The program an emulator should start from the game file: a disk's first PRG, a tape's first
// entry, as VICE takes it; none for a program file.
std::string FirstProgram(const std::string& game) {
  const std::string upper = UpperCase1252(game);
  const auto ends = [&upper](const char* ext) {
    const std::string e = ext;
    return upper.size() >= e.size() && upper.compare(upper.size() - e.size(), e.size(), e) == 0;
  };
  if (ends(".D64")) {
    tessary::hvD64 d64;
    if (d64.Load(game)) {
      for (const auto& e : d64.Entries()->All()) {
        if (e->FileType().find("PRG") != std::string::npos) {
          return ViceAutostartName(e->NameBytes());
        }
      }
    }
  } else if (ends(".T64")) {
    tessary::hvT64 t64;
    if (t64.Load(game) && !t64.Entries()->All().empty()) {
      return ViceAutostartName(t64.Entries()->All().front()->C64Filename());
    }
  }
  return {};
}

}  // namespace

void RegisterExtract(CLI::App& app) {
  static ExtractArgs a;
  auto* cmd = app.add_subcommand("extract",
                                 "Turn a stored game archive into one game file (prints its path)");
  AddExtractOptions(cmd, a);
  cmd->add_option("--work,--CurrGameDIR", a.work,
                  "The working folder; deleted and made anew by every run")
      ->required();
  cmd->add_flag("--json", a.json, "Print Extract, ReturnFilename and ReturnFailInfo as JSON");
  cmd->callback([cmd] {
    a.from_given = cmd->count("--from") > 0;
    a.choose_given = cmd->count("--choose") > 0;
    Finish(a, RunExtract(a));
  });
}

void RegisterDb(CLI::App& app) {
  static std::string file;
  auto* db = app.add_subcommand("db", "The game database");
  db->require_subcommand(1);
  auto* init = db->add_subcommand("init", "Make a game database with an empty table Archive");
  init->add_option("FILE", file, "The database file")->required();
  init->callback([] { platform::CreateGameDatabase(ArgToCoreText(file)); });
}

void RegisterPlay(CLI::App& app) {
  static ExtractArgs a;
  static LaunchArgs launch;
  auto* cmd = app.add_subcommand(
      "play", "Extract a stored game archive and start an emulator with the game file");
  AddExtractOptions(cmd, a);
  cmd->add_option("--work,--CurrGameDIR", a.work,
                  "The working folder (default: hv/work in the user's cache folder)");
  cmd->add_option("--emulator,--method", launch.method, "The launcher")
      ->required()
      ->transform(LauncherName());
  cmd->add_option("--emulator-path,--strEmulatorExePath", launch.emulator,
                  "The emulator's program file")
      ->required();
  cmd->add_option("--prg,--PRGName", launch.prg,
                  "Program to start (default: the image's first program)");
  AddLaunchSettings(cmd, launch);
  static bool m3u = false;
  cmd->add_flag("--m3u", m3u, "With several disks of one game, also write a playlist (.m3u)");
  cmd->callback([cmd] {
    a.from_given = cmd->count("--from") > 0;
    a.choose_given = cmd->count("--choose") > 0;
    if (a.work.empty()) a.work = DefaultWorkFolder();
    DiskSetChooser sets(platform::SystemFileChooser());
    const ExtractOutcome o = RunExtract(a, &sets);
    if (!o.ok) {
      Finish(a, o);
      return;
    }
    LaunchArgs l = launch;
    l.game = Cp1252ToUtf8(o.file);
    l.exact_prg = cmd->count("--prg") == 0;
    if (l.exact_prg) l.prg = Cp1252ToUtf8(FirstProgram(o.file));
    l.prg_given = !l.prg.empty();
    if (!sets.Disks().empty() && !PlayDiskSet(o.file, sets.Disks(), m3u, l)) return;
    std::printf("game file: %s\n", l.game.c_str());
    if (l.prg_given) std::printf("program: %s\n", l.prg.c_str());
    std::fflush(stdout);
    const std::string message = Launch(l, "play");
    if (!message.empty()) {
      std::fprintf(stderr, "%s\n", message.c_str());
      ResultCode() = kExitFailed;
    }
  });
}

}  // namespace hv::cli
