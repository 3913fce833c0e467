// A stand-in for the emulators and the SID player: it records the command line it was started
// with and its working directory in "<its own path>.txt" (written to a temporary name first and
// then renamed, so a reader never sees half a record), then exits.

#include <windows.h>

#include <string>

int main() {
  char self[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  char cwd[MAX_PATH] = {};
  const DWORD m = GetCurrentDirectoryA(MAX_PATH, cwd);
  const std::string record = std::string(GetCommandLineA()) + "\n" + std::string(cwd, m) + "\n";
  const std::string target = std::string(self, n) + ".txt";
  const std::string temp = target + ".tmp";
  HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  return MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
