#pragma once
// hvFunctions: path and file questions, the configuration-file editor, SID headers, file
// search with its FoundFile event, and the CD-ROM prompts. The object holds no state of its
// own beyond the services it talks through (the user interface and the event handler).

#include <cstdint>
#include <functional>
#include <string>

#include "common/variant.h"
#include "halvane/functions/config_file_type.h"
#include "halvane/functions/functions_ops.h"
#include "platform/ui.h"

namespace hv::halvane {

class hvFunctions final : public LauncherFunctionsOps {
 public:
  // Called synchronously from inside FindFiles, once per match.
  using FoundFileHandler = std::function<void(const std::string& strPathAndFile)>;

  explicit hvFunctions(platform::UserInterface& ui = platform::DefaultUserInterface());
  void SetFoundFileHandler(FoundFileHandler handler) { found_file_ = std::move(handler); }

  // Paths, files, drives and windows.
  // The outputs are written strPath first, then strFileName; when both name the same
  // variable it ends up holding the file name.
  void GetFileAndPath(std::string strPathAndFile, std::string& strPath,
                      std::string& strFileName) override;
  std::string JustFileName(const std::string& strPathAndFile) const;
  void SetAlwaysOnTop(bool SetOn, std::int32_t WindowHwnd);
  std::string GetVolumeName(const std::string& RootPathName);
  std::string Long2Short(const std::string& S) override;
  void DeletePathSilent(const std::string& strDestPath) override;
  bool DriveTypeIsCDRom(const std::string& RootPathName) override;
  bool FileExists(const std::string& FileName, std::int16_t DisplayMsgBox,
                  const std::string& MBCaption) override;
  // Leaves the directory found as the current directory.
  bool DirExists(const std::string& strDir) override;

  // Configuration files.
  void ChangeConfigFile(const std::string& ConfigFile, const ConfigFileArray& ChArray) override;

  // SID tune headers.
  bool GetSidInfo(const std::string& strSidFile, std::string& strName, std::string& strAuthor,
                  std::string& strCopyright, std::int16_t& intTotalSongs,
                  std::int16_t& intDefaultSong);
  bool GetSidSongInfo(const std::string& strSidFile, std::int16_t& intTotalSongs,
                      std::int16_t& intDefaultSong);
  bool SaveDefaultSidSong(const std::string& strSidFile, std::int16_t& intDefaultSong);
  std::string GetSidAuthor(const std::string& strSidFile);

  // File search.
  std::string FindFile(const std::string& FileName, const std::string& path);
  // `path` receives a trailing separator; the result is Empty or the total size in bytes.
  Variant FindFiles(std::string& path, std::string& SearchStr);

  // CD-ROM prompts: true once the disc, folder or file is there, false on Cancel. A Null
  // path raises 94 "Invalid use of Null" before any prompt.
  bool WaitForCDRom(const std::string& RootDrive, const std::string& CDRomName);
  bool WaitForCDRomPath(const Variant& strPath);
  bool WaitForCDRomFile(const Variant& strPath);

  // The private routines of the search, open for the tests.
  static std::string TrimAtNull(const std::string& s);
  static std::string& TrimAtNullInPlace(std::string& s);
  static std::string AddBackslash(const std::string& path);

 private:
  bool WaitLoop(const std::function<bool()>& test, const std::string& prompt);

  platform::UserInterface* ui_;
  FoundFileHandler found_file_;
};

// Caption of the CD-ROM prompts.
inline constexpr const char* kPromptCaption = "Zenvora";

}  // namespace hv::halvane
