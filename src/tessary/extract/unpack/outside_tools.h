#pragma once
// The outside tools an archive kind may hand its archive to, and whether it should: where
// callers may have put their own tools on the PATH (Windows) a tool that is found runs, and the
// built-in unpacker serves when it is missing; elsewhere the built-in unpackers always serve.

#include <string>

#include "halvane/functions/functions_ops.h"
#include "platform/process.h"

namespace hv::tessary {

class OutsideTools {
 public:
  OutsideTools(platform::ProcessService& process, platform::ToolProcessService& tools,
               halvane::FunctionsOps& functions, bool run_found_tools)
      : process_(process), tools_(tools), functions_(functions), run_found_(run_found_tools) {}

  // True when the tool `name` ("lha.exe") is to unpack: found tools are wanted, FileExists
  // finds the name, and the tool service would start a program for it. The service never looks
  // in the current directory, so a tool that only an archive brought along is not taken.
  bool Use(const std::string& name) const {
    return run_found_ && functions_.FileExists(name, halvane::kVbFalse, "") && tools_.Finds(name);
  }

  // Makes `folder` the current drive and directory, starts `command` directly (never through
  // the command interpreter) and waits for it. The tool's outcome is judged by what it leaves.
  void Run(const std::string& folder, const platform::ToolCommand& command, int window_style) {
    process_.ChangeDrive(folder);
    process_.ChangeDirectory(folder);
    tools_.RunToolAndWait(command, window_style);
  }

 private:
  platform::ProcessService& process_;
  platform::ToolProcessService& tools_;
  halvane::FunctionsOps& functions_;
  bool run_found_;
};

}  // namespace hv::tessary
