#pragma once
// The general functions other subsystems use, so that they can work with the core object or
// the automation object: each user is handed the operations it calls and no more.

#include <cstdint>
#include <string>

#include "halvane/functions/config_file_type.h"

namespace hv::halvane {

// The automation boolean true; FileExists shows a message only for exactly this value.
inline constexpr std::int16_t kVbTrue = -1;
inline constexpr std::int16_t kVbFalse = 0;

// What the extraction driver calls.
class FunctionsOps {
 public:
  virtual ~FunctionsOps() = default;

  virtual void GetFileAndPath(std::string strPathAndFile, std::string& strPath,
                              std::string& strFileName) = 0;
  virtual std::string Long2Short(const std::string& S) = 0;
  virtual void DeletePathSilent(const std::string& strDestPath) = 0;
  virtual bool FileExists(const std::string& FileName, std::int16_t DisplayMsgBox,
                          const std::string& MBCaption) = 0;
  virtual bool DirExists(const std::string& strDir) = 0;
};

// What the launchers call besides: the CD-ROM question and the configuration-file editor.
class LauncherFunctionsOps : public FunctionsOps {
 public:
  virtual bool DriveTypeIsCDRom(const std::string& RootPathName) = 0;
  // Throws hv::Error: the file layer's errors, 9 for an array not starting at index 0.
  virtual void ChangeConfigFile(const std::string& ConfigFile, const ConfigFileArray& ChArray) = 0;
};

}  // namespace hv::halvane
