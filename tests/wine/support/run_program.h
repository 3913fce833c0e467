#pragma once
// Starting another program from a client and waiting for it: hv.exe, and host programs that
// make what a Windows program cannot make under Wine (a Unix symbolic link: Wine starts a
// Unix program named by its Unix path, while its CreateSymbolicLink reports success and
// makes nothing).

#include <windows.h>

#include <string>

#include "support/halvane_client.h"

namespace hv::wine {

struct Ran {
  bool started = false;
  DWORD exit_code = 0;
  std::string output;  // standard output and standard error together
};

// Runs `command_line` with its output in a file beside the data folder, waiting up to a minute.
inline Ran RunProgram(std::string command_line) {
  Ran ran;
  const std::string log = Data("run-program-output.txt");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = out;
  PROCESS_INFORMATION info{};
  ran.started = CreateProcessA(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               nullptr, &startup, &info) != 0;
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (ran.started) {
    if (WaitForSingleObject(info.hProcess, 60000) != WAIT_OBJECT_0) {
      TerminateProcess(info.hProcess, 99);
      ran.exit_code = 99;
    } else {
      GetExitCodeProcess(info.hProcess, &ran.exit_code);
    }
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  ran.output = ReadText(log);
  DeleteFileA(log.c_str());
  return ran;
}

// The Unix path Wine maps a Windows path to; "" outside Wine.
inline std::string UnixPath(const std::string& windows) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const auto to_unix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!to_unix) return {};
  char* unix = to_unix(W(windows).c_str());
  if (!unix) return {};
  std::string path(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return path;
}

// Waits up to ten seconds for `path` to be there (or gone); true when it came to be so.
inline bool WaitUntilThere(const std::string& path, bool there) {
  for (int i = 0; i < 400; ++i) {
    if (FileThere(path) == there) return true;
    Sleep(25);
  }
  return false;
}

// A Unix symbolic link `link` naming `target` (both Windows paths), made by the host's ln;
// false when it cannot be made. Wine does not wait for a Unix program: the link is waited for.
inline bool MakeUnixLink(const std::string& target, const std::string& link) {
  const std::string to = UnixPath(target), at = UnixPath(link);
  if (to.empty() || at.empty()) return false;
  return RunProgram("/bin/ln -sfn \"" + to + "\" \"" + at + "\"").started &&
         WaitUntilThere(link, true);
}

// Removes a link made by MakeUnixLink, never what it names.
inline void RemoveUnixLink(const std::string& link) {
  const std::string at = UnixPath(link);
  if (!at.empty() && FileThere(link) && RunProgram("/bin/rm -f \"" + at + "\"").started) {
    WaitUntilThere(link, false);
  }
}

}  // namespace hv::wine
