#pragma once
// A scripted stand-in for the general functions: a set of existing files and folders, short
// forms, CD-ROM roots; it records every file test and configuration edit, and how many objects
// were made and are still alive.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "common/error.h"
#include "halvane/shell/launcher_functions.h"

namespace hv::test {

struct FakeWorld {
  char separator = '\\';
  std::set<std::string> files;
  std::set<std::string> dirs;
  std::map<std::string, std::string> short_forms;  // others: the path itself when it exists
  std::set<std::string> cd_roots;
  bool fail_config = false;

  struct FileTest {
    std::string name;
    bool display;
    std::string caption;
    std::int16_t display_value;  // as it came
  };
  std::vector<FileTest> file_tests;
  std::vector<std::string> cd_queries;
  std::vector<std::string> dir_queries;
  struct ConfigWrite {
    std::string file;
    halvane::ConfigEntries entries;
  };
  std::vector<ConfigWrite> config_writes;
  int created = 0;
  int alive = 0;

  halvane::FunctionsFactory Factory();
};

class FakeFunctions : public halvane::LauncherFunctionsOps {
 public:
  explicit FakeFunctions(FakeWorld& w) : w_(w) {
    ++w_.created;
    ++w_.alive;
  }
  ~FakeFunctions() override { --w_.alive; }

  void GetFileAndPath(std::string in, std::string& path, std::string& file) override {
    const std::size_t at = in.rfind(w_.separator);
    if (at == std::string::npos) {
      path.clear();
      file = in;
      return;
    }
    path = in.substr(0, at);
    file = in.substr(at + 1);
  }
  std::string Long2Short(const std::string& s) override {
    if (s.empty()) return "";
    if (auto it = w_.short_forms.find(s); it != w_.short_forms.end()) return it->second;
    return w_.files.count(s) || w_.dirs.count(s) ? s : "";
  }
  void DeletePathSilent(const std::string&) override {}
  bool FileExists(const std::string& name, std::int16_t display,
                  const std::string& caption) override {
    // Only True shows a box.
    w_.file_tests.push_back({name, display == halvane::kVbTrue, caption, display});
    return w_.files.count(name) > 0;
  }
  bool DirExists(const std::string& dir) override {
    w_.dir_queries.push_back(dir);
    return w_.dirs.count(dir) > 0;
  }
  bool DriveTypeIsCDRom(const std::string& root) override {
    w_.cd_queries.push_back(root);
    return w_.cd_roots.count(root) > 0;
  }
  void ChangeConfigFile(const std::string& file, const halvane::ConfigFileArray& array) override {
    if (w_.fail_config) throw Error(vberr::kPathFileAccess);
    w_.config_writes.push_back({file, halvane::ToConfigEntries(array)});
  }

 private:
  FakeWorld& w_;
};

inline halvane::FunctionsFactory FakeWorld::Factory() {
  return [this] { return std::make_unique<FakeFunctions>(*this); };
}

}  // namespace hv::test
