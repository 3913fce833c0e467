// Starting programs on Linux: the Windows command line is split as a Windows program would split
// it and the program is executed directly, never through a shell, so `$` and quotation marks
// arrive as they were written. A double fork leaves the program to init: no zombie stays behind
// and the caller never waits for it.

#include "platform/process.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/cmdline.h"
#include "common/error.h"
#include "common/upper_case.h"
#include "platform/os_error.h"
#include "platform/posix/handle.h"
#include "platform/posix/native_path.h"

extern char** environ;

namespace hv::platform {

namespace {

bool IsExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// Calls `look(dir)` for each folder of the PATH in order (an empty entry is the current one) until
// it answers a path; that path, or "".
template <typename Look>
std::string FirstOnPath(Look look) {
  const char* path = std::getenv("PATH");
  const std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = dirs.substr(start, end - start);
    if (dir.empty()) dir = ".";
    start = end + 1;
    if (std::string found = look(dir); !found.empty()) return found;
  }
  return {};
}

// The file to execute for a program name: a name with a slash as it is; a bare name from the
// current directory first (as the Windows loader looks there before the PATH), then the PATH.
std::string ResolveProgram(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return name;
  if (IsExecutableFile(name)) return "./" + name;
  return FirstOnPath([&](const std::string& dir) {
    const std::string candidate = dir + "/" + name;
    return IsExecutableFile(candidate) ? candidate : std::string();
  });
}

// Runs argv[0] of `args` detached. Returns 0 when the program was executed, else the errno of
// the failure.
int SpawnDetached(const std::vector<std::string>& args) {
  const std::string program = ResolveProgram(args[0]);
  if (program.empty()) return ENOENT;

  // Everything the children use is prepared here: after fork only async-signal-safe calls.
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return errno;
  const UniqueFd read_end(pipe_fds[0]);
  UniqueFd write_end(pipe_fds[1]);

  const pid_t middle = ::fork();
  if (middle < 0) return errno;
  if (middle == 0) {
    const pid_t grandchild = ::fork();
    if (grandchild == 0) {
      ::setsid();
      sigset_t none;
      ::sigemptyset(&none);
      ::sigprocmask(SIG_SETMASK, &none, nullptr);
      ::execve(program.c_str(), argv.data(), environ);
      const int err = errno;
      ssize_t ignored = ::write(write_end.get(), &err, sizeof err);
      (void)ignored;
      ::_exit(127);
    }
    ::_exit(grandchild < 0 ? 1 : 0);
  }
  write_end.reset();

  int status = 0;
  while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return EAGAIN;

  // The pipe closes on a successful exec; otherwise the grandchild sent its errno.
  int err = 0;
  ssize_t got;
  do {
    got = ::read(read_end.get(), &err, sizeof err);
  } while (got < 0 && errno == EINTR);
  return got == static_cast<ssize_t>(sizeof err) ? err : 0;
}

// The executable of `dir` whose name is `wanted` (upper case) without regard to case, or "".
std::string ExecutableIgnoringCase(const std::string& dir, const std::string& wanted) {
  const UniqueDir d(::opendir(dir.c_str()));
  if (!d) return {};
  while (const dirent* entry = ::readdir(d.get())) {
    if (UpperCase1252(entry->d_name) != wanted) continue;
    const std::string candidate = dir + "/" + entry->d_name;
    if (IsExecutableFile(candidate)) return candidate;
  }
  return {};
}

// Windows finds "Zip2D64.exe" as zip2d64.exe: where the exact name is on no PATH folder, the
// first PATH entry whose name matches without regard to case stands in.
std::string ResolveIgnoringCase(const std::string& name) {
  if (std::string exact = ResolveProgram(name);
      !exact.empty() || name.find('/') != std::string::npos) {
    return exact;
  }
  const std::string wanted = UpperCase1252(name);
  return FirstOnPath([&](const std::string& dir) { return ExecutableIgnoringCase(dir, wanted); });
}

// The file that runs for a ToolCommand's program: a name with a slash as it is; a bare name from
// the absolute folders of the PATH only, exactly first and then without regard to case (as
// ResolveIgnoringCase). Never the current directory, which holds what an archive unpacked.
std::string ResolveTool(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
  const auto absolute = [](const std::string& dir) { return !dir.empty() && dir[0] == '/'; };
  if (std::string exact = FirstOnPath([&](const std::string& dir) {
        const std::string candidate = dir + "/" + name;
        return absolute(dir) && IsExecutableFile(candidate) ? candidate : std::string();
      });
      !exact.empty()) {
    return exact;
  }
  const std::string wanted = UpperCase1252(name);
  return FirstOnPath([&](const std::string& dir) {
    return absolute(dir) ? ExecutableIgnoringCase(dir, wanted) : std::string();
  });
}

// Runs `args` and waits for it. A hidden tool gets no terminal: its input and output go to
// /dev/null, as a hidden console window shows nobody anything. Each file it writes stops
// growing at `max_file_bytes`: the tool is then killed by SIGXFSZ (or, where it catches that,
// sees its writes fail).
void SpawnAndWait(const std::string& program, const std::vector<std::string>& args, bool hidden,
                  std::uint64_t max_file_bytes) {
  if (program.empty()) return;
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const UniqueFd null_fd(::open("/dev/null", O_RDWR | O_CLOEXEC));

  const pid_t child = ::fork();
  if (child < 0) return;
  if (child == 0) {
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    // Both limits, so that the tool cannot raise its own.
    const rlimit file_size{static_cast<rlim_t>(max_file_bytes),
                           static_cast<rlim_t>(max_file_bytes)};
    ::setrlimit(RLIMIT_FSIZE, &file_size);
    ::signal(SIGXFSZ, SIG_DFL);
    if (null_fd) {
      ::dup2(null_fd.get(), STDIN_FILENO);
      if (hidden) {
        ::dup2(null_fd.get(), STDOUT_FILENO);
        ::dup2(null_fd.get(), STDERR_FILENO);
      } else {
        ::dup2(STDERR_FILENO, STDOUT_FILENO);  // our own output stays ours
      }
    }
    ::execve(program.c_str(), argv.data(), environ);
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

class PosixToolProcessService : public ToolProcessService {
 public:
  explicit PosixToolProcessService(std::uint64_t max_file_bytes)
      : max_file_bytes_(max_file_bytes) {}

  void RunAndWait(const std::string& command_line, int window_style) override {
    std::vector<std::string> args = SplitCommandLine(command_line);
    if (args.empty() || args[0].empty()) return;
    for (std::string& a : args) a = NativePath(a);
    SpawnAndWait(ResolveIgnoringCase(args[0]), args, window_style == kWindowHidden,
                 max_file_bytes_);
  }

  // The arguments go to the program as they are, never through a line or a shell.
  void RunToolAndWait(const ToolCommand& command, int window_style) override {
    std::vector<std::string> args;
    args.reserve(command.arguments.size() + 1);
    args.push_back(NativePath(command.program));
    for (const ToolArgument& a : command.arguments) args.push_back(NativePath(a.text));
    SpawnAndWait(ResolveTool(args[0]), args, window_style == kWindowHidden, max_file_bytes_);
  }

  bool Finds(const std::string& program) override {
    return !ResolveTool(NativePath(program)).empty();
  }

 private:
  std::uint64_t max_file_bytes_;
};

class PosixProcessService : public ProcessService {
 public:
  void Start(const std::string& command_line, int /*window_style*/) override {
    std::vector<std::string> args = SplitCommandLine(command_line);
    if (args.empty() || args[0].empty()) throw Error(vberr::kFileNotFound);
    for (std::string& a : args) a = NativePath(a);
    if (const int err = SpawnDetached(args); err != 0) ThrowStartError(static_cast<unsigned>(err));
  }

  void ChangeDrive(const std::string& /*drive*/) override {}

  void ChangeDirectory(const std::string& directory) override {
    if (directory.empty() || ::chdir(NativePath(directory).c_str()) != 0) {
      throw Error(vberr::kPathNotFound);
    }
  }

  void OpenWithDefaultProgram(const std::string& file, std::int32_t /*parent_window*/) override {
    // The desktop reports its own failures; only an opener that cannot start is ours to tell.
    if (const int err = SpawnDetached({"xdg-open", NativePath(file)}); err != 0) {
      throw Error(vberr::kFileNotFound,
                  "xdg-open cannot be run: " + std::string(std::strerror(err)));
    }
  }
};

}  // namespace

ProcessService& SystemProcessService() {
  static PosixProcessService service;
  return service;
}

ToolProcessService& SystemToolProcessService() {
  static PosixToolProcessService service(kToolMaxFileBytes);
  return service;
}

std::unique_ptr<ToolProcessService> MakeToolProcessService(std::uint64_t max_file_bytes) {
  return std::make_unique<PosixToolProcessService>(max_file_bytes);
}

}  // namespace hv::platform
