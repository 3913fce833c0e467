#pragma once
// The system's process service with a note of the first start that failed: the launchers turn
// a failed start into an "Error N: text" or nothing at all, and hv wants to say which program
// could not be run.

#include <optional>
#include <string>
#include <vector>

#include "common/error.h"
#include "platform/process.h"

namespace hv::cli {

class WatchedProcessService : public platform::ProcessService {
 public:
  struct Failure {
    std::string command_line;  // what was to be started or opened, core text
    Error error;
  };

  explicit WatchedProcessService(platform::ProcessService& inner) : inner_(inner) {}

  void Start(const std::string& command_line, int window_style) override {
    Watch(command_line, [&] { inner_.Start(command_line, window_style); });
    started_.push_back(command_line);
  }
  void ChangeDrive(const std::string& drive) override { inner_.ChangeDrive(drive); }
  void ChangeDirectory(const std::string& directory) override { inner_.ChangeDirectory(directory); }
  void OpenWithDefaultProgram(const std::string& file, std::int32_t parent_window) override {
    Watch(file, [&] { inner_.OpenWithDefaultProgram(file, parent_window); });
  }

  const std::optional<Failure>& failure() const noexcept { return failure_; }
  // The command lines started, in order.
  const std::vector<std::string>& started() const noexcept { return started_; }

 private:
  template <class Call>
  void Watch(const std::string& what, Call call) {
    try {
      call();
    } catch (const Error& e) {
      if (!failure_) failure_ = Failure{what, e};
      throw;
    }
  }

  platform::ProcessService& inner_;
  std::optional<Failure> failure_;
  std::vector<std::string> started_;
};

}  // namespace hv::cli
