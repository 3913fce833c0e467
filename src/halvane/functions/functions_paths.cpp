// Path, file, drive and window operations. The separator is the platform's own
// (platform::kPathSeparator): only that character splits a path.

#include "common/path_split.h"
#include "halvane/functions/hvFunctions.h"
#include "platform/filesystem.h"
#include "platform/path_separator.h"
#include "platform/window.h"

namespace hv::halvane {

using platform::kPathSeparator;

hvFunctions::hvFunctions(platform::UserInterface& ui) : ui_(&ui) {}

void hvFunctions::GetFileAndPath(std::string strPathAndFile, std::string& strPath,
                                 std::string& strFileName) {
  const std::size_t p = LastSeparator(strPathAndFile, kPathSeparator);
  if (p == std::string::npos) {
    strPath.clear();
    strFileName = strPathAndFile;
    return;
  }
  strPath.clear();
  strFileName.clear();
  strPath = strPathAndFile.substr(0, p);
  // The length of strPath as it now reads: the same variable may be both outputs.
  const std::size_t tail = strPathAndFile.size() - (strPath.size() + 1);
  strFileName = strPathAndFile.substr(strPathAndFile.size() - tail);
}

std::string hvFunctions::JustFileName(const std::string& strPathAndFile) const {
  return AfterLastSeparator(strPathAndFile, kPathSeparator);
}

void hvFunctions::SetAlwaysOnTop(bool SetOn, std::int32_t WindowHwnd) {
  platform::SetWindowTopmost(WindowHwnd, SetOn);
}

std::string hvFunctions::GetVolumeName(const std::string& RootPathName) {
  return platform::VolumeLabel(RootPathName + kPathSeparator);
}

std::string hvFunctions::Long2Short(const std::string& S) {
  if (S.empty()) return {};
  return platform::ShortPathName(S);
}

void hvFunctions::DeletePathSilent(const std::string& strDestPath) {
  platform::DeleteTreeSilent(strDestPath);
  ui_->ProcessPendingMessages();
}

bool hvFunctions::DriveTypeIsCDRom(const std::string& RootPathName) {
  const int type = platform::DriveType(RootPathName + kPathSeparator);
  return type == platform::drive::kCdRom || type == platform::drive::kInvalidRoot;
}

bool hvFunctions::FileExists(const std::string& FileName, std::int16_t DisplayMsgBox,
                             const std::string& MBCaption) {
  const bool show = DisplayMsgBox == kVbTrue;
  constexpr int kStyle = platform::mbstyle::kExclamation | platform::mbstyle::kOkOnly;
  if (FileName.empty()) {
    if (show) ui_->Show("FILE NOT FOUND: NO FILENAME PASSED!", MBCaption, kStyle);
    return false;
  }
  const char* message = nullptr;
  switch (platform::ProbeFile(FileName)) {
    case platform::probe::kFileNotFound:
      message = "FILE NOT FOUND: ";
      break;
    case platform::probe::kPathNotFound:
      message = "PATH NOT FOUND: ";
      break;
    case platform::probe::kAccessDenied:
      message = "Device Not Ready for ";
      break;
    default:
      return true;
  }
  if (show) ui_->Show(message + FileName, MBCaption, kStyle);
  return false;
}

bool hvFunctions::DirExists(const std::string& strDir) {
  return platform::SetCurrentDir(strDir);
}

}  // namespace hv::halvane
