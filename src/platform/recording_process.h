#pragma once
// A ProcessService that starts nothing: it records what a caller would have started, and where.
// Tests use it to see the command lines, and the command-line tool for its dry runs.

#include <functional>
#include <string>
#include <vector>

#include "common/error.h"
#include "platform/process.h"

namespace hv::platform {

class RecordingProcessService : public ProcessService {
 public:
  struct Started {
    std::string command_line;
    int window_style = 0;
    std::string directory;  // the current directory when it was started ("" if never changed)
    std::string drive;
  };
  struct Opened {
    std::string file;
    std::int32_t parent_window = 0;
  };

  void Start(const std::string& command_line, int window_style) override {
    if (fail_start) throw Error(vberr::kFileNotFound);
    started.push_back({command_line, window_style, directory, drive});
  }
  void ChangeDrive(const std::string& d) override {
    if (fail_drive) throw Error(vberr::kDeviceUnavailable);
    if (!d.empty()) drive = d.substr(0, 1);
    ++changes;
  }
  void ChangeDirectory(const std::string& d) override {
    if (fail_directory) throw Error(vberr::kPathNotFound);
    directory = d;
    ++changes;
  }
  void OpenWithDefaultProgram(const std::string& file, std::int32_t parent_window) override {
    opened.push_back({file, parent_window});
  }

  // What happened.
  std::vector<Started> started;
  std::vector<Opened> opened;
  std::string directory;
  std::string drive;
  int changes = 0;  // drive and directory changes, successful ones

  // Failures to act out.
  bool fail_start = false;
  bool fail_drive = false;
  bool fail_directory = false;
};

// A ToolProcessService that records each run and, when given, acts out the tool's effect.
class RecordingToolProcessService : public ToolProcessService {
 public:
  struct Run {
    std::string command_line;
    int window_style = 0;
    // Set for RunToolAndWait: what was asked for before it became a line.
    std::string program;
    std::vector<std::string> arguments;
  };
  void RunAndWait(const std::string& command_line, int window_style) override {
    runs.push_back({command_line, window_style, {}, {}});
    if (act) act(command_line);
  }
  void RunToolAndWait(const ToolCommand& command, int window_style) override {
    const std::string line = ToolCommandLine(command);
    std::vector<std::string> arguments;
    for (const ToolArgument& a : command.arguments) arguments.push_back(a.text);
    runs.push_back({line, window_style, command.program, arguments});
    if (act) act(line);
  }
  bool Finds(const std::string& /*program*/) override { return finds; }

  std::vector<Run> runs;
  std::function<void(const std::string& command_line)> act;
  bool finds = true;  // what Finds answers
};

}  // namespace hv::platform
