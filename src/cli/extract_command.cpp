// hv extract: a stored game archive to one game file.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/commands.h"
#include "cli/console_text.h"
#include "cli/extract_run.h"
#include "cli/failure_texts.h"
#include "cli/play_cache.h"
#include "common/text.h"
#include "common/upper_case.h"
#include "halvane/functions/hvFunctions.h"
#include "platform/chooser.h"
#include "platform/filesystem.h"
#include "tessary/extract/hvExtract.h"

namespace hv::cli {

namespace {

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

// Asks the chooser it wraps and remembers the names it was offered when it declined, so that
// hv can say how to choose next time.
class DeclineWitness : public platform::FileChooser {
 public:
  explicit DeclineWitness(platform::FileChooser* inner) : inner_(inner) {}
  std::string Choose(const std::vector<std::string>& names, std::size_t selected) override {
    std::string chosen = inner_ != nullptr ? inner_->Choose(names, selected) : std::string();
    if (chosen.empty()) declined_ = names;
    return chosen;
  }
  const std::vector<std::string>& declined() const noexcept { return declined_; }

 private:
  platform::FileChooser* inner_;
  std::vector<std::string> declined_;
};

std::vector<std::string> ConsoleNames(const std::vector<std::string>& core) {
  std::vector<std::string> names;
  for (const std::string& n : core) names.push_back(Cp1252ToUtf8(n));
  return names;
}

// Which path an error that ended the extraction before it began was about: the archive, the
// database or the working folder (whose parent may be missing).
std::string PathAtFault(const ExtractArgs& a) {
  const auto missing = [](const std::string& path) {
    return platform::FileAttributes(ArgToCoreText(path)) == platform::attr::kInvalid;
  };
  if (missing(a.archive)) return a.archive;
  if (!a.db.empty() && missing(a.db)) return "the game database " + a.db;
  const std::string parent = std::filesystem::path(a.work).parent_path().string();
  if (!parent.empty() && missing(parent)) {
    return "the working folder " + a.work + " (its folder " + parent + " does not exist)";
  }
  return a.archive + " into the working folder " + a.work;
}

}  // namespace

std::string DefaultWorkFolder() {
  const std::filesystem::path parent = HvCacheFolder();
  std::filesystem::create_directories(parent);
  return (parent / "work").string();
}

ExtractOutcome RunExtract(const ExtractArgs& a, platform::FileChooser* chooser) {
  FixedChooser fixed(ArgToCoreText(a.choose));
  DeclineWitness witness(a.choose_given ? &fixed : chooser);
  tessary::ExtractServices services;
  services.chooser = &witness;
  services.game_files =
      a.classic ? tessary::GameFileList::kClassic : tessary::GameFileList::kCurrent;
  tessary::hvExtract extract(std::make_shared<halvane::hvFunctions>(), services);
  // With a database the caller is the front-end that remembers choices, unless told otherwise.
  const std::string from = a.from_given ? a.from : (a.db.empty() ? "" : "Zenvora");
  ExtractOutcome o;
  try {
    o.ok = extract.Extract("", ArgToCoreText(a.archive), ArgToCoreText(a.db), ArgToCoreText(a.work),
                           o.file, o.fail, ArgToCoreText(from), ArgToCoreText(a.winzip), a.game_id);
  } catch (const Error& e) {
    // Preparing the work folder failed; the error alone does not say which file it was about.
    o.message = a.command + ": " + PathAtFault(a) + ": Error " + std::to_string(e.Number()) + ": " +
                Cp1252ToUtf8(e.Description());
    o.fail = e.Description();
    o.why = {e.Number(), e.Description()};
    return o;
  }
  if (o.ok) return o;
  o.why = extract.LastFailure();
  if (!fixed.unmatched().empty()) {
    o.message = a.command + ": " + NoSuchChoiceText(a.choose, ConsoleNames(fixed.unmatched()));
  } else if (!witness.declined().empty()) {
    // The failure text lists the files; the hint says how to pick one without a chooser.
    o.message = a.command + ": " + a.archive + ": " + PeopleText(Cp1252ToUtf8(o.fail)) + "\n" +
                a.command + ": " + ChooseHintText(ConsoleNames(witness.declined()));
  } else if (const std::string reason = ExtractReasonText(o.why, a.archive, a.work);
             !reason.empty()) {
    o.message = a.command + ": " + reason;
  }
  return o;
}

void AddExtractOptions(CLI::App* cmd, ExtractArgs& a) {
  // The method's argument name stays for scripts, out of the help: one entry per argument.
  cmd->add_option("ARCHIVE", a.archive, "The stored game file (also --FileToExtract)");
  cmd->add_option("--FileToExtract", a.archive)->group("");
  cmd->parse_complete_callback([&a] {
    if (a.archive.empty()) throw CLI::RequiredError("ARCHIVE");
  });
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
    PrintJson(nlohmann::ordered_json{{"Extract", o.ok},
                                     {"ReturnFilename", Cp1252ToUtf8(o.file)},
                                     {"ReturnFailInfo", Cp1252ToUtf8(o.fail)}});
  } else if (o.ok) {
    WriteOut(Cp1252ToUtf8(o.file) + "\n");
  }
  // hv's own account replaces the failure text where it has one.
  if (!o.message.empty()) {
    const std::string text = LfLines(o.message) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
  } else if (!o.ok && !a.json) {
    PrintMessage(a.command, a.archive + ": " + PeopleText(Cp1252ToUtf8(o.fail)));
  }
  if (!o.ok) ResultCode() = kExitFailed;
}

void RegisterExtract(CLI::App& app) {
  static ExtractArgs a;
  auto* cmd = app.add_subcommand("extract",
                                 "Turn a stored game archive into one game file (prints its path)");
  AddExtractOptions(cmd, a);
  cmd->add_option("--work,--CurrGameDIR", a.work,
                  "The working folder, deleted and made anew by every run (default: hv/work in "
                  "the user's cache folder)");
  cmd->add_flag("--json", a.json, "Print Extract, ReturnFilename and ReturnFailInfo as JSON");
  cmd->add_flag("--classic", a.classic, "Take only the automation interface's kinds of game file");
  cmd->callback([cmd] {
    a.from_given = cmd->count("--from") > 0;
    a.choose_given = cmd->count("--choose") > 0;
    if (a.work.empty()) a.work = DefaultWorkFolder();
    Finish(a, RunExtract(a));
  });
}

}  // namespace hv::cli
