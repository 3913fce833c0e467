#pragma once
// Starting outside programs and moving the process's current drive and directory: what the
// launchers need. Callers take a ProcessService so that tests and dry runs can put a recording
// one in place of the real one.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/cmdline.h"

namespace hv::platform {

// The window style of a started program: shown in its normal size and position, with the focus.
inline constexpr int kWindowNormal = 1;

class ProcessService {
 public:
  virtual ~ProcessService() = default;

  // Starts `command_line` (Windows command-line syntax, core text) as a new process shown with
  // `window_style`, and returns at once: the process is neither waited for nor kept. It runs in
  // the current directory. Throws hv::Error when it cannot be started, numbered by what
  // stopped it (ThrowStartError): 53 "File not found", 70 "Permission denied", 321 "Invalid
  // file format", ...
  virtual void Start(const std::string& command_line, int window_style) = 0;

  // Makes the drive named by the first letter of `drive` current. An empty text changes
  // nothing. Throws hv::Error 68 "Device unavailable" for a drive that is not there, and 5 for
  // a text that names no drive. Platforms without drives change nothing.
  virtual void ChangeDrive(const std::string& drive) = 0;

  // Makes `directory` the current directory; throws hv::Error 76 "Path not found" when it cannot.
  virtual void ChangeDirectory(const std::string& directory) = 0;

  // Opens `file` with the program the desktop associates with it, any window it shows owned by
  // `parent_window`. Not waited for. Throws hv::Error when nothing was opened: on Windows when
  // the shell opened nothing (no program for the file's kind, a missing file), on Linux when
  // the helper program (xdg-open) cannot be started; what the desktop does afterwards is its
  // own to report.
  virtual void OpenWithDefaultProgram(const std::string& file, std::int32_t parent_window) = 0;
};

// The operating system's own service; lives as long as the process.
ProcessService& SystemProcessService();

// Window styles of the outside tools the extraction runs: console tools hidden, WinZip minimised.
inline constexpr int kWindowHidden = 0;
inline constexpr int kWindowMinimized = 6;

// One argument of a ToolCommand: it reaches the tool as exactly one argument, `text` as it is.
struct ToolArgument {
  ToolArgument(std::string t) : text(std::move(t)) {}  // NOLINT: plain texts are arguments
  ToolArgument(const char* t) : text(t) {}             // NOLINT
  // Between quotation marks on the command line even where none are needed.
  static ToolArgument Quoted(std::string t) {
    ToolArgument a(std::move(t));
    a.always_quote = true;
    return a;
  }
  std::string text;
  bool always_quote = false;
};

// One run of an outside tool, as a program and its arguments rather than one line of text: the
// paths in it come from downloaded archives, and no character of theirs may change what runs or
// how the arguments fall apart.
struct ToolCommand {
  // The program: a bare name ("lha.exe") is looked for along the PATH, the way the command
  // interpreter would find it but without the current directory (which, when a tool runs, is
  // the folder an archive was just unpacked into); a name with a folder in it (WinZip's path) is
  // taken as it is.
  std::string program;
  std::vector<ToolArgument> arguments;
  // The program name between quotation marks on the command line even without a blank.
  bool quote_program = false;
};

// The command line a ToolCommand is started with: the program name and each argument quoted by
// the Windows argument rules (common/cmdline.h), one blank apart. Written for the tool's own
// argument split, never for cmd.exe. Throws std::invalid_argument for a program name that no
// command line can carry (empty, or holding a quotation mark).
inline std::string ToolCommandLine(const ToolCommand& command) {
  std::string line = QuoteProgramName(command.program, command.quote_program);
  for (const ToolArgument& a : command.arguments) {
    line += ' ';
    line += QuoteArgument(a.text, a.always_quote);
  }
  return line;
}

// Running an outside tool to its end. Kept apart from ProcessService: the launchers never wait,
// the extraction always does.
class ToolProcessService {
 public:
  virtual ~ToolProcessService() = default;

  // Starts `command` in the current directory with `window_style` and waits for it without a
  // time-out, never through a command interpreter: the program found as ToolCommand says (on
  // Windows only a .exe or .com file, since CreateProcess hands a batch file to cmd.exe), the
  // command line ToolCommandLine(command). A program that is not found or not started, the exit
  // code and the output are not reported: callers judge a tool by the files it leaves.
  virtual void RunToolAndWait(const ToolCommand& command, int window_style) = 0;
  // True when RunToolAndWait would find a program to start for `program`.
  virtual bool Finds(const std::string& program) = 0;

  // Starts `command_line` (Windows command-line syntax, core text) in the current directory with
  // `window_style` and waits for it without a time-out. A failed start, the exit code and the
  // output are not reported: callers judge a tool by the files it leaves.
  virtual void RunAndWait(const std::string& command_line, int window_style) = 0;
};

// Whether the extraction hands an archive to its kind's outside tool when that tool is found:
// on Windows callers may rely on their own tools, elsewhere the built-in unpackers serve.
#ifdef _WIN32
inline constexpr bool kRunFoundTools = true;
#else
inline constexpr bool kRunFoundTools = false;
#endif

// Each file an outside tool writes is cut off at this size where the platform can bound it
// (Linux), and the tool stopped: archives come from downloads, and a hostile one must not
// fill the disk. Far above any C64 image.
inline constexpr std::uint64_t kToolMaxFileBytes = std::uint64_t{1} << 30;

// The operating system's own service, with the bound kToolMaxFileBytes; lives as long as the
// process.
ToolProcessService& SystemToolProcessService();
// The same with another bound on each file a tool writes (where the platform can bound it).
std::unique_ptr<ToolProcessService> MakeToolProcessService(std::uint64_t max_file_bytes);

}  // namespace hv::platform
