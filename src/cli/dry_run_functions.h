#pragma once
// For `--dry-run`: the real functions answer every question, but configuration edits and
// deletions are only recorded, so that nothing on disk changes.

#include <memory>
#include <string>
#include <vector>

#include "halvane/shell/launcher_functions.h"

namespace hv::cli {

struct ConfigEdit {
  std::string file;
  halvane::ConfigEntries entries;
};

class DryRunFunctions : public halvane::LauncherFunctionsOps {
 public:
  DryRunFunctions(std::unique_ptr<halvane::LauncherFunctionsOps> inner,
                  std::vector<ConfigEdit>& log)
      : inner_(std::move(inner)), log_(log) {}

  void GetFileAndPath(std::string in, std::string& path, std::string& file) override {
    inner_->GetFileAndPath(std::move(in), path, file);
  }
  std::string Long2Short(const std::string& s) override { return inner_->Long2Short(s); }
  void DeletePathSilent(const std::string&) override {}
  bool FileExists(const std::string& name, std::int16_t display,
                  const std::string& caption) override {
    return inner_->FileExists(name, display, caption);
  }
  bool DirExists(const std::string& dir) override { return inner_->DirExists(dir); }
  bool DriveTypeIsCDRom(const std::string& root) override { return inner_->DriveTypeIsCDRom(root); }
  void ChangeConfigFile(const std::string& file, const halvane::ConfigFileArray& array) override {
    log_.push_back({file, halvane::ToConfigEntries(array)});
  }

 private:
  std::unique_ptr<halvane::LauncherFunctionsOps> inner_;
  std::vector<ConfigEdit>& log_;
};

}  // namespace hv::cli
