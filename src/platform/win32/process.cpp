// Starting programs on Windows: CreateProcessA with the command line as it is, shown with the
// caller's window style, neither waited for nor kept; ShellExecuteA for default programs. The
// extraction's tools start without the command interpreter: found along the PATH here, given
// to CreateProcessA by name, with a command line whose arguments only the tool splits.

#include "platform/process.h"

#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/cmdline.h"
#include "common/error.h"
#include "platform/os_error.h"
#include "platform/win32/handle.h"

namespace hv::platform {

namespace {

// Starts `command_line` shown with `window_style` and hands back the process; an empty handle
// when it could not be started. The thread handle is not needed and closes at once.
// `application` names the file to run; "" lets CreateProcessA take it from the command line.
win32::UniqueKernelHandle StartShown(const std::string& application,
                                     const std::string& command_line, int window_style,
                                     BOOL inherit_handles, DWORD creation_flags) {
  // CreateProcessA may write into the command line: give it its own copy.
  std::vector<char> buffer(command_line.begin(), command_line.end());
  buffer.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(window_style);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessA(application.empty() ? nullptr : application.c_str(), buffer.data(), nullptr,
                        nullptr, inherit_handles, creation_flags, nullptr, nullptr, &startup,
                        &info)) {
    return {};
  }
  win32::UniqueKernelHandle thread(info.hThread);
  return win32::UniqueKernelHandle(info.hProcess);
}

// The process's own PATH as it is now: SetEnvironmentVariable changes it without the C
// runtime's copy knowing, and the command interpreter would have seen the new one.
std::string CurrentPathVariable() {
  std::vector<char> buffer(1024);
  for (;;) {
    const DWORD n =
        ::GetEnvironmentVariableA("PATH", buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(n);
  }
}

bool IsPlainFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A PATH folder that names where it is by itself: "X:\..." or "\\server\...". A relative one
// (".", "tools") would be looked up from the current directory, the archive's folder.
bool IsAbsoluteFolder(const std::string& folder) {
  if (folder.size() >= 3 && std::isalpha(static_cast<unsigned char>(folder[0])) &&
      folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/')) {
    return true;
  }
  return folder.size() >= 2 && (folder[0] == '\\' || folder[0] == '/') &&
         (folder[1] == '\\' || folder[1] == '/');
}

bool EndsWithNoCase(const std::string& text, const char* tail) {
  const std::size_t n = std::char_traits<char>::length(tail);
  if (text.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    if (std::tolower(static_cast<unsigned char>(text[text.size() - n + i])) != tail[i])
      return false;
  }
  return true;
}

// Only a program that CreateProcessA loads itself: a .bat or .cmd file it would hand, with the
// whole command line, to cmd.exe.
bool IsLoadedDirectly(const std::string& file) {
  return EndsWithNoCase(file, ".exe") || EndsWithNoCase(file, ".com");
}

// The file that runs for a ToolCommand's program, or "" when there is none. A bare name is
// looked for in each absolute folder of the PATH in order, as the command interpreter looks
// (quotation marks around a folder dropped; a name without an extension tried with .COM and
// .EXE), but not in the current directory first: that is the folder an archive was just
// unpacked into, and a member named lha.exe must not be the tool that runs.
std::string FindTool(const std::string& program) {
  if (program.empty()) return {};
  if (program.find_first_of("\\/:") != std::string::npos) {
    return IsPlainFile(program) && IsLoadedDirectly(program) ? program : std::string();
  }
  const std::size_t dot = program.find_last_of('.');
  const bool has_extension = dot != std::string::npos && dot + 1 < program.size();
  std::vector<std::string> names;
  if (has_extension) {
    names.push_back(program);
  } else {
    names = {program + ".COM", program + ".EXE"};
  }
  const std::string path = CurrentPathVariable();
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(';', start);
    if (end == std::string::npos) end = path.size();
    std::string folder = path.substr(start, end - start);
    start = end + 1;
    folder.erase(std::remove(folder.begin(), folder.end(), '"'), folder.end());
    if (!IsAbsoluteFolder(folder)) continue;
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    for (const std::string& name : names) {
      const std::string candidate = folder + name;
      if (IsPlainFile(candidate) && IsLoadedDirectly(candidate)) return candidate;
    }
  }
  return {};
}

class Win32ToolProcessService : public ToolProcessService {
 public:
  void RunAndWait(const std::string& command_line, int window_style) override {
    const win32::UniqueKernelHandle process =
        StartShown({}, command_line, window_style, TRUE, NORMAL_PRIORITY_CLASS);
    // Not started: the next level finds nothing unpacked and says so.
    if (process) ::WaitForSingleObject(process.get(), INFINITE);
  }

  void RunToolAndWait(const ToolCommand& command, int window_style) override {
    const std::string program = FindTool(command.program);
    // Not found: the next level finds nothing unpacked and says so, as after a failed start.
    if (program.empty()) return;
    std::string line;
    try {
      line = ToolCommandLine(command);
    } catch (const std::invalid_argument&) {
      return;  // FindTool found it, so this cannot happen; nothing is started all the same
    }
    const win32::UniqueKernelHandle process =
        StartShown(program, line, window_style, TRUE, NORMAL_PRIORITY_CLASS);
    if (process) ::WaitForSingleObject(process.get(), INFINITE);
  }

  bool Finds(const std::string& program) override { return !FindTool(program).empty(); }
};

// What ShellExecuteA answers when it opened nothing (a value of 32 or less), as an error.
[[noreturn]] void ThrowShellOpenError(INT_PTR code) {
  switch (code) {
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
      throw Error(vberr::kFileNotFound, "no program is associated with this kind of file");
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY:
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DLLNOTFOUND:
      throw Error(vberr::kFileNotFound, "the program associated with it cannot be started");
    case SE_ERR_SHARE:
      ThrowStartError(ERROR_SHARING_VIOLATION);
    case 0:
    case SE_ERR_OOM:
      ThrowStartError(ERROR_OUTOFMEMORY);
    default:
      // The rest are Win32 error codes: file or folder not found, access denied, bad format.
      ThrowStartError(static_cast<unsigned long>(code));
  }
}

class Win32ProcessService : public ProcessService {
 public:
  void Start(const std::string& command_line, int window_style) override {
    if (!StartShown({}, command_line, window_style, FALSE, 0)) ThrowStartError(::GetLastError());
  }

  void ChangeDrive(const std::string& drive) override {
    if (drive.empty()) return;
    const unsigned char letter = static_cast<unsigned char>(drive[0]);
    if (!std::isalpha(letter)) throw Error(vberr::kInvalidProcedureCall);
    // "X:" alone selects the drive and keeps the directory current on it.
    const char root[3] = {static_cast<char>(std::toupper(letter)), ':', '\0'};
    if (!::SetCurrentDirectoryA(root)) throw Error(vberr::kDeviceUnavailable);
  }

  void ChangeDirectory(const std::string& directory) override {
    if (directory.empty() || !::SetCurrentDirectoryA(directory.c_str())) {
      throw Error(vberr::kPathNotFound);
    }
  }

  void OpenWithDefaultProgram(const std::string& file, std::int32_t parent_window) override {
    // The shell's ANSI entry takes a path of fewer than MAX_PATH characters; Wine's copies a
    // longer one into buffers of that size on the stack, and the process dies in its debugger
    // (which, with no display, waits for good). No file has such a name to open.
    if (std::char_traits<char>::length(file.c_str()) >= MAX_PATH) {
      throw Error(vberr::kBadFileName);
    }
    const HWND parent =
        reinterpret_cast<HWND>(static_cast<std::intptr_t>(parent_window));  // handles fit 32 bits
    const HINSTANCE result = ::ShellExecuteA(parent, "Open", file.c_str(), "", "", SW_SHOWNORMAL);
    const INT_PTR code = reinterpret_cast<INT_PTR>(result);
    if (code > 32) return;  // opened
    ThrowShellOpenError(code);
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

}  // namespace hv::platform
