// The prompts that wait for a CD-ROM: test, and ask again after each OK until the test passes
// or the user cancels.

#include "common/upper_case.h"
#include "halvane/functions/hvFunctions.h"

namespace hv::halvane {

bool hvFunctions::WaitLoop(const std::function<bool()>& test, const std::string& prompt) {
  for (;;) {
    ui_->ProcessPendingMessages();
    if (test()) return true;
    if (ui_->Show(prompt, kPromptCaption, platform::mbstyle::kOkCancel) ==
        platform::button::kCancel) {
      return false;
    }
  }
}

bool hvFunctions::WaitForCDRom(const std::string& RootDrive, const std::string& CDRomName) {
  return WaitLoop([&] { return GetVolumeName(RootDrive) == CDRomName; },
                  "Insert CD: '" + CDRomName + "' into Drive " + UpperCase1252(RootDrive));
}

bool hvFunctions::WaitForCDRomPath(const Variant& strPath) {
  const std::string path = strPath.ToText();
  return WaitLoop([&] { return DirExists(path); }, "Insert the CD for Path: '" + path + "'");
}

bool hvFunctions::WaitForCDRomFile(const Variant& strPath) {
  const std::string path = strPath.ToText();
  return WaitLoop([&] { return FileExists(path, kVbFalse, kPromptCaption); },
                  "Insert the CD for File: '" + path + "'");
}

}  // namespace hv::halvane
