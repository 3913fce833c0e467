#pragma once
// A user interface that records the boxes shown and answers from a script (Cancel once the
// script runs out), counting message-pump passes.

#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace hv::test {

class ScriptedUi : public platform::UserInterface {
 public:
  struct Box {
    std::string text;
    std::string caption;
    int style = 0;
  };

  int Show(const std::string& text, const std::string& caption, int style) override {
    shown.push_back({text, caption, style});
    if (answers.empty()) return platform::button::kCancel;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void ProcessPendingMessages() override { ++pumps; }

  std::vector<Box> shown;
  std::deque<int> answers;
  int pumps = 0;
};

// Restores the process's current directory, which DirExists changes on purpose.
class CurrentDirGuard {
 public:
  CurrentDirGuard() : saved_(std::filesystem::current_path()) {}
  ~CurrentDirGuard() { std::filesystem::current_path(saved_); }

 private:
  std::filesystem::path saved_;
};

}  // namespace hv::test
