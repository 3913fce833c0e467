// Starting programs on Windows: CreateProcessA with the command line as it is, shown with the
// caller's window style, neither waited for nor kept; ShellExecuteA for default programs.

#include "platform/process.h"

#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/error.h"
#include "platform/win32/handle.h"

namespace hv::platform {

namespace {

// Starts `command_line` shown with `window_style` and hands back the process; an empty handle
// when it could not be started. The thread handle is not needed and closes at once.
win32::UniqueKernelHandle StartShown(const std::string& command_line, int window_style,
                                     BOOL inherit_handles, DWORD creation_flags) {
  // CreateProcessA may write into the command line: give it its own copy.
  std::vector<char> buffer(command_line.begin(), command_line.end());
  buffer.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(window_style);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, inherit_handles, creation_flags,
                        nullptr, nullptr, &startup, &info)) {
    return {};
  }
  win32::UniqueKernelHandle thread(info.hThread);
  return win32::UniqueKernelHandle(info.hProcess);
}

class Win32ToolProcessService : public ToolProcessService {
 public:
  void RunAndWait(const std::string& command_line, int window_style) override {
    const win32::UniqueKernelHandle process =
        StartShown(command_line, window_style, TRUE, NORMAL_PRIORITY_CLASS);
    // Not started: the next level finds nothing unpacked and says so.
    if (process.valid()) ::WaitForSingleObject(process.get(), INFINITE);
  }
};

class Win32ProcessService : public ProcessService {
 public:
  void Start(const std::string& command_line, int window_style) override {
    if (!StartShown(command_line, window_style, FALSE, 0).valid()) {
      throw Error(vberr::kFileNotFound);
    }
  }

  void ChangeDrive(const std::string& drive) override {
    if (drive.empty()) return;
    const unsigned char letter = static_cast<unsigned char>(drive[0]);
    if (!std::isalpha(letter)) throw Error(vberr::kInvalidProcedureCall);
    // "X:" alone selects the drive and keeps the directory current on it.
    const char root[3] = {static_cast<char>(std::toupper(letter)), ':', '\0'};
    if (!::SetCurrentDirectoryA(root)) throw Error(68, "Device unavailable");
  }

  void ChangeDirectory(const std::string& directory) override {
    if (directory.empty() || !::SetCurrentDirectoryA(directory.c_str())) {
      throw Error(vberr::kPathNotFound);
    }
  }

  void OpenWithDefaultProgram(const std::string& file, std::int32_t parent_window) override {
    const HWND parent =
        reinterpret_cast<HWND>(static_cast<std::intptr_t>(parent_window));  // handles fit 32 bits
    ::ShellExecuteA(parent, "Open", file.c_str(), "", "", SW_SHOWNORMAL);
  }
};

}  // namespace

ProcessService& SystemProcessService() {
  static Win32ProcessService service;
  return service;
}

ToolProcessService& SystemToolProcessService() {
  static Win32ToolProcessService service;
  return service;
}

// Windows offers no bound on the size of a file another process writes: the tools run unbounded.
std::unique_ptr<ToolProcessService> MakeToolProcessService(std::uint64_t /*max_file_bytes*/) {
  return std::make_unique<Win32ToolProcessService>();
}

std::string CommandInterpreterPath() {
  const char* comspec = std::getenv("COMSPEC");
  return comspec ? comspec : "";
}

}  // namespace hv::platform
