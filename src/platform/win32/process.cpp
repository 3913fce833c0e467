// Starting programs on Windows: CreateProcessA with the command line as it is, shown with the
// caller's window style, neither waited for nor kept; ShellExecuteA for default programs.

#include "platform/process.h"

#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/error.h"

namespace hv::platform {

namespace {

class Win32ToolProcessService : public ToolProcessService {
 public:
  void RunAndWait(const std::string& command_line, int window_style) override {
    std::vector<char> buffer(command_line.begin(), command_line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(window_style);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                          nullptr, nullptr, &startup, &info)) {
      return;  // the next level finds nothing unpacked and says so
    }
    ::WaitForSingleObject(info.hProcess, INFINITE);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
  }
};

class Win32ProcessService : public ProcessService {
 public:
  void Start(const std::string& command_line, int window_style) override {
    // CreateProcessA may write into the command line: give it its own copy.
    std::vector<char> buffer(command_line.begin(), command_line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(window_style);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
      throw Error(vberr::kFileNotFound);
    }
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
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

std::string CommandInterpreterPath() {
  const char* comspec = std::getenv("COMSPEC");
  return comspec ? comspec : "";
}

}  // namespace hv::platform
