#pragma once
// Calling Tessary.hvExtract's Extract as a typed Visual Basic client does: strings by value,
// the two outputs as String variables by reference, GameID as a Long or left out.

#include <initializer_list>
#include <optional>
#include <string>

#include "support/halvane_client.h"

namespace hv::wine {

inline const std::string kCrLf = "\r\n";
inline const std::string kSeparator = "--------------------------------";

struct ExtractCall {
  Outcome outcome;
  std::string filename;
  std::string fail_info;
  bool found() const { return IsTrue(outcome); }
};

// Game files and databases run.sh made below the data folder.
inline std::string Input(const std::string& name) {
  return Data("extract\\" + name);
}

// True when run.sh made every one of these inputs; otherwise the case is skipped, naming the
// first one missing (run.sh makes them with zip and sqlite3 and says so when one is missing).
inline bool InputsMade(std::initializer_list<std::string> names) {
  for (const std::string& name : names) {
    if (!FileThere(Input(name))) {
      HV_SKIP("extract\\" + name + " was not made");
      return false;
    }
  }
  return true;
}

inline ExtractCall RunExtract(const Dispatch& extract, const std::string& file,
                              const std::string& work, const std::string& from_program = "",
                              const std::string& database = "", std::optional<int> game_id = {},
                              const std::string& winzip = "", const std::string& filename_in = "",
                              const std::string& fail_in = "") {
  StringVar filename(W(filename_in));
  StringVar fail(W(fail_in));
  ExtractCall call;
  Arg name_ref = filename.ByRef();
  Arg fail_ref = fail.ByRef();
  if (game_id) {
    call.outcome =
        extract.Call(L"Extract", L"C:\\Zenvora", W(file), W(database), W(work), std::move(name_ref),
                     std::move(fail_ref), W(from_program), W(winzip), *game_id);
  } else {
    call.outcome =
        extract.Call(L"Extract", L"C:\\Zenvora", W(file), W(database), W(work), std::move(name_ref),
                     std::move(fail_ref), W(from_program), W(winzip));
  }
  call.filename = Narrow(filename.Text());
  call.fail_info = Narrow(fail.Text());
  return call;
}

inline std::string FailureReport(const std::string& description, long number) {
  return "An error was encountered while extracting this archive: " + kCrLf + kCrLf + description +
         "  (" + std::to_string(number) + ")";
}

}  // namespace hv::wine
