#pragma once
// The general functions other subsystems use: the extraction driver and the launchers are
// handed this interface, so they can work with the core object or the automation object.

#include <cstdint>
#include <string>

#include "halvane/functions/config_file_type.h"

namespace hv::halvane {

// The automation boolean true; FileExists shows a message only for exactly this value.
inline constexpr std::int16_t kVbTrue = -1;
inline constexpr std::int16_t kVbFalse = 0;

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
  virtual bool DriveTypeIsCDRom(const std::string& RootPathName) = 0;
  // Throws hv::Error: the file layer's errors, 9 for an array not starting at index 0.
  virtual void ChangeConfigFile(const std::string& ConfigFile, const ConfigFileArray& ChArray) = 0;
};

}  // namespace hv::halvane
