#pragma once
// The general functions the launchers call, and nothing more. Each launcher call makes its own
// object through a LauncherFunctionsFactory and lets it go before it returns, as it would create
// and release an hvFunctions object; an adapter over hvFunctions implements this interface.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace hv::halvane {

// KeyToChange and ValueToSet of a configuration-file edit, in the order they are applied.
using ConfigEntries = std::vector<std::pair<std::string, std::string>>;

class LauncherFunctions {
 public:
  virtual ~LauncherFunctions() = default;

  // Splits at the last separator: `path` without it, `file` after it; no separator gives an
  // empty path and the whole text as file.
  virtual void GetFileAndPath(const std::string& in, std::string& path, std::string& file) = 0;
  // The short form of an existing path; "" for an empty or missing one.
  virtual std::string Long2Short(const std::string& s) = 0;
  // True when the file exists; with `display` a missing file is announced in a message box
  // captioned `caption`.
  virtual bool FileExists(const std::string& name, bool display, const std::string& caption) = 0;
  // True when the directory exists, which then is the current directory.
  virtual bool DirExists(const std::string& dir) = 0;
  // True for a CD-ROM drive or a root that is not valid.
  virtual bool DriveTypeIsCDRom(const std::string& root) = 0;
  // Rewrites the lines of the given keys in an existing configuration file; throws hv::Error.
  virtual void ChangeConfigFile(const std::string& file, const ConfigEntries& keyValues) = 0;
};

// Makes a fresh functions object for one call. May throw hv::Error when none can be made.
using LauncherFunctionsFactory = std::function<std::unique_ptr<LauncherFunctions>()>;

}  // namespace hv::halvane
