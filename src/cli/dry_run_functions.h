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
  // `present` are files taken for present whether they are there or not.
  DryRunFunctions(std::unique_ptr<halvane::LauncherFunctionsOps> inner,
                  std::vector<ConfigEdit>& log, std::vector<std::string> present = {})
      : inner_(std::move(inner)), log_(log), present_(std::move(present)) {}

  void GetFileAndPath(std::string in, std::string& path, std::string& file) override {
    inner_->GetFileAndPath(std::move(in), path, file);
  }
  std::string Long2Short(const std::string& s) override {
    return Present(s) ? s : inner_->Long2Short(s);
  }
  void DeletePathSilent(const std::string&) override {}
  bool FileExists(const std::string& name, std::int16_t display,
                  const std::string& caption) override {
    return Present(name) || inner_->FileExists(name, display, caption);
  }
  bool DirExists(const std::string& dir) override { return inner_->DirExists(dir); }
  bool DriveTypeIsCDRom(const std::string& root) override { return inner_->DriveTypeIsCDRom(root); }
  void ChangeConfigFile(const std::string& file, const halvane::ConfigFileArray& array) override {
    log_.push_back({file, halvane::ToConfigEntries(array)});
  }

 private:
  bool Present(const std::string& name) const {
    for (const std::string& file : present_) {
      if (name == file) return true;
    }
    return false;
  }

  std::unique_ptr<halvane::LauncherFunctionsOps> inner_;
  std::vector<ConfigEdit>& log_;
  std::vector<std::string> present_;
};

}  // namespace hv::cli
