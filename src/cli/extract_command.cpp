// hv extract: a stored game archive to one game file.

#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/commands.h"
#include "cli/console_text.h"
#include "cli/extract_run.h"
#include "cli/failure_texts.h"
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

}  // namespace

ExtractOutcome RunExtract(const ExtractArgs& a, platform::FileChooser* chooser) {
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

}  // namespace hv::cli
