#pragma once
// An extraction under test: a stored-files folder, a working folder, a folder of stand-in
// tools put first on the PATH (each records its arguments and does the real tool's job with
// the Debian tool behind it), and a chooser that answers from a script.

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/chooser.h"
#include "support/temp_dir.h"
#include "tessary/extract/hvExtract.h"

namespace hv::tessary::test {

namespace fs = std::filesystem;

class ScriptedChooser : public platform::FileChooser {
 public:
  std::string Choose(const std::vector<std::string>& names, std::size_t selected) override {
    offered.push_back(names);
    preselected.push_back(selected);
    if (answers.empty()) return {};
    std::string a = answers.front();
    answers.pop_front();
    return a;
  }
  std::deque<std::string> answers;  // "" declines
  std::vector<std::vector<std::string>> offered;
  std::vector<std::size_t> preselected;
};

struct Outcome {
  bool ok = false;
  std::string file;
  std::string fail;
};

class ExtractTest : public ::testing::Test {
 public:
  ExtractTest();
  ~ExtractTest() override;

  // Extracts `stored` into work() the way the front-end calls it.
  Outcome Extract(const fs::path& stored, const std::string& from = "", std::int32_t game_id = 0,
                  const std::string& winzip = "", const std::string& database = "");
  // The same with GameID left out.
  Outcome ExtractDefaultId(const fs::path& stored, const std::string& from,
                           const std::string& database);

  // A file in the store folder.
  fs::path Store(const std::string& name, const std::string& content);
  fs::path StoreBytes(const std::string& name, std::size_t size);
  // A zip made by the zip program from files (stored flat).
  fs::path Zip(const std::string& name, const std::vector<fs::path>& files);
  // A D64 made by cc1541 when it is there, else 174,848 synthesized bytes.
  fs::path D64(const std::string& name);

  // Puts a stand-in tool `name` on the PATH: `body` runs after the argument record.
  void StandIn(const std::string& name, const std::string& body);
  void AllStandIns();
  // Recorded runs, one "name|arg|arg..." line each.
  std::vector<std::string> ToolLog() const;

  // Rebuilds the object with different services.
  void Rebuild(ExtractServices services);
  // Rebuilds the object to run the outside tools it finds, as on Windows.
  void UseFoundTools();

  fs::path work() const { return tmp / "work"; }
  std::string W(const std::string& rel = "") const;

  hv::test::TempDir tmp;
  fs::path store, bin;
  ScriptedChooser chooser;
  std::unique_ptr<hvExtract> extract;

 private:
  std::string saved_path_;
  fs::path saved_cwd_;
};

std::string Crlf(const std::vector<std::string>& names);
inline const std::string kSep = "--------------------------------";

}  // namespace hv::tessary::test
