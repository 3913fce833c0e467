#pragma once
// Starting outside programs and moving the process's current drive and directory: what the
// launchers need. Callers take a ProcessService so that tests and dry runs can put a recording
// one in place of the real one.

#include <cstdint>
#include <memory>
#include <string>

namespace hv::platform {

// The window style of a started program: shown in its normal size and position, with the focus.
inline constexpr int kWindowNormal = 1;

class ProcessService {
 public:
  virtual ~ProcessService() = default;

  // Starts `command_line` (Windows command-line syntax, core text) as a new process shown with
  // `window_style`, and returns at once: the process is neither waited for nor kept. It runs in
  // the current directory. Throws hv::Error 53 "File not found" when it cannot be started.
  virtual void Start(const std::string& command_line, int window_style) = 0;

  // Makes the drive named by the first letter of `drive` current. An empty text changes
  // nothing. Throws hv::Error 68 "Device unavailable" for a drive that is not there, and 5 for
  // a text that names no drive. Platforms without drives change nothing.
  virtual void ChangeDrive(const std::string& drive) = 0;

  // Makes `directory` the current directory; throws hv::Error 76 "Path not found" when it cannot.
  virtual void ChangeDirectory(const std::string& directory) = 0;

  // Opens `file` with the program the desktop associates with it, any window it shows owned by
  // `parent_window`. Not waited for; the outcome is not reported. Where a helper program does
  // the opening (Linux), throws hv::Error when that helper cannot be started.
  virtual void OpenWithDefaultProgram(const std::string& file, std::int32_t parent_window) = 0;
};

// The operating system's own service; lives as long as the process.
ProcessService& SystemProcessService();

// Window styles of the outside tools the extraction runs: console tools hidden, WinZip minimised.
inline constexpr int kWindowHidden = 0;
inline constexpr int kWindowMinimized = 6;

// Running an outside tool to its end. Kept apart from ProcessService: the launchers never wait,
// the extraction always does.
class ToolProcessService {
 public:
  virtual ~ToolProcessService() = default;

  // Starts `command_line` (Windows command-line syntax, core text) in the current directory with
  // `window_style` and waits for it without a time-out. A failed start, the exit code and the
  // output are not reported: callers judge a tool by the files it leaves.
  virtual void RunAndWait(const std::string& command_line, int window_style) = 0;
};

// Each file an outside tool writes is cut off at this size where the platform can bound it
// (Linux), and the tool stopped: archives come from downloads, and a hostile one must not
// fill the disk. Far above any C64 image.
inline constexpr std::uint64_t kToolMaxFileBytes = std::uint64_t{1} << 30;

// The operating system's own service, with the bound kToolMaxFileBytes; lives as long as the
// process.
ToolProcessService& SystemToolProcessService();
// The same with another bound on each file a tool writes (where the platform can bound it).
std::unique_ptr<ToolProcessService> MakeToolProcessService(std::uint64_t max_file_bytes);

// The command interpreter that console tools run under (the value of COMSPEC on Windows), or ""
// where tools are started directly.
std::string CommandInterpreterPath();

}  // namespace hv::platform
