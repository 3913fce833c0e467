// hv config / sid / find / path: the general functions from the command line.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cli/commands.h"
#include "cli/console_text.h"
#include "common/error.h"
#include "common/text.h"
#include "halvane/functions/config_editor.h"
#include "halvane/functions/hvFunctions.h"
#include "halvane/functions/sid_header.h"
#include "platform/filesystem.h"

namespace hv::cli {
namespace {

using halvane::hvFunctions;
using json = nlohmann::ordered_json;

std::string In(const std::string& utf8) {
  return Utf8ToCp1252(utf8);
}
std::string Out(const std::string& core) {
  return Cp1252ToUtf8(core);
}
// Header texts are padded with NULs; callers show them up to the first one.
std::string OutText(const std::string& core) {
  return Out(core.substr(0, core.find('\0')));
}

// A failure of the command on `path`, on stderr; exit status 1.
void Fail(const char* command, const std::string& path, const std::string& why) {
  PrintMessage(std::string("hv ") + command, path + ": " + why);
  ResultCode() = kExitFailed;
}

// An error of the method on `path`: as JSON when asked for, and always on stderr.
void ReportError(const char* command, const std::string& path, const Error& e, bool as_json) {
  if (as_json) PrintJson(json{{"Number", e.Number()}, {"Description", Out(e.Description())}});
  Fail(command, path, "Error " + std::to_string(e.Number()) + ": " + Out(e.Description()));
}

// Why a path names nothing, as the file system tells: "" when it names something.
std::string MissingPathReason(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  (void)fs::status(fs::path(path), ec);
  if (!ec) return {};
  if (ec == std::errc::no_such_file_or_directory) {
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty() && !fs::exists(parent, ec)) {
      return "not found: its folder " + parent.string() + " does not exist";
    }
    return "not found";
  }
  if (ec == std::errc::not_a_directory) return "not found: a part of the path is a file";
  if (ec == std::errc::permission_denied)
    return "a folder on the way cannot be searched (permission denied)";
  return ec.message();
}

void Finish(bool ok) {
  ResultCode() = ok ? kExitOk : kExitFailed;
}

json VariantJson(const Variant& v) {
  if (v.IsEmpty()) return nullptr;
  const double d = v.ToDouble();
  if (std::floor(d) == d && std::fabs(d) < 9.0e15) return static_cast<std::int64_t>(d);
  return d;
}

struct ConfigArgs {
  std::string file;
  std::vector<std::string> settings;
  bool json = false;
};

}  // namespace

void RegisterConfig(CLI::App& app) {
  static ConfigArgs a;
  auto* config = app.add_subcommand("config", "Edit emulator configuration files");
  config->require_subcommand(1);
  auto* set =
      config->add_subcommand("set", "Replace the lines of KEY (matched by prefix, any case)");
  set->add_option("FILE", a.file, "The configuration file")->required();
  set->add_option("SETTINGS", a.settings, "KEY=VALUE, applied in order")->required();
  set->add_flag("--json", a.json, "Print the result as JSON");
  set->callback([] {
    halvane::ConfigFileArray entries;
    for (const std::string& s : a.settings) {
      const std::size_t eq = s.find('=');
      if (eq == std::string::npos || eq == 0) {
        // The method would let an empty key replace the file's first line: never what a
        // user typing KEY=VALUE means.
        PrintMessage("hv config set",
                     "'" + s + "' is not KEY=VALUE" + (eq == 0 ? " (the key is empty)" : ""));
        ResultCode() = kExitUsage;
        return;
      }
      entries.items.push_back({In(s.substr(0, eq)), In(s.substr(eq + 1))});
    }
    try {
      // A key the file does not hold would be dropped without a word: say so, change nothing.
      const std::string text = platform::ReadFileText(In(a.file));
      std::string missing;
      json unmatched = json::array();
      for (const std::size_t i : halvane::UnmatchedConfigKeys(text, entries.items)) {
        missing += (missing.empty() ? "" : ", ") + Out(entries.items[i].KeyToChange);
        unmatched.push_back(Out(entries.items[i].KeyToChange));
      }
      if (!missing.empty()) {
        if (a.json) PrintJson(json{{"ConfigFile", a.file}, {"Unmatched", unmatched}});
        Fail("config set", a.file, "no line starts with " + missing + "; nothing was changed");
        return;
      }
      hvFunctions().ChangeConfigFile(In(a.file), entries);
    } catch (const Error& e) {
      ReportError("config set", a.file, e, a.json);
      return;
    }
    if (a.json) {
      json items = json::array();
      for (const auto& e : entries.items) {
        items.push_back({{"KeyToChange", Out(e.KeyToChange)}, {"ValueToSet", Out(e.ValueToSet)}});
      }
      PrintJson(json{{"ConfigFile", a.file}, {"ChArray", items}});
    }
    Finish(true);
  });
}

namespace {

struct SidArgs {
  std::string file;
  int song = 0;
  bool json = false;
};

}  // namespace

void RegisterSid(CLI::App& app) {
  static SidArgs a;
  auto* sid = app.add_subcommand("sid", "Read or change the header of a SID tune");
  sid->require_subcommand(1);
  auto* info =
      sid->add_subcommand("info", "Name, author, copyright and songs of a PSID or RSID tune");
  info->add_option("FILE", a.file, "The SID file")->required();
  info->add_flag("--json", a.json, "Print the result as JSON");
  info->callback([] {
    std::optional<halvane::SidTune> tune;
    std::string why;
    try {
      tune = halvane::ReadSidTune(In(a.file));
      if (!tune) why = "not a PSID or RSID tune";
    } catch (const Error&) {
      why = MissingPathReason(a.file);
      if (why.empty()) why = "cannot be read";
    }
    if (a.json) {
      json j = {{"strSidFile", a.file}, {"GetSidInfo", tune.has_value()}};
      if (tune) {
        j["Format"] = tune->magic;
        j["strName"] = OutText(tune->name);
        j["strAuthor"] = OutText(tune->author);
        j["strCopyright"] = OutText(tune->copyright);
        j["intTotalSongs"] = tune->songs;
        j["intDefaultSong"] = tune->start;
      }
      PrintJson(j);
    } else if (tune) {
      std::printf(
          "Name:      %s\nAuthor:    %s\nCopyright: %s\nSongs:     %d\nDefault:   %d\n"
          "Format:    %s\n",
          OutText(tune->name).c_str(), OutText(tune->author).c_str(),
          OutText(tune->copyright).c_str(), tune->songs, tune->start, tune->magic.c_str());
    }
    if (!tune) return Fail("sid info", a.file, why);
    Finish(true);
  });
  auto* set_default = sid->add_subcommand("set-default", "Store the song that plays first");
  set_default->add_option("FILE", a.file, "The SID file (PSID or RSID)")->required();
  set_default->add_option("N", a.song, "Start song, at most the tune's number of songs")
      ->required();
  set_default->add_flag("--json", a.json, "Print the result as JSON");
  set_default->callback([] {
    std::string why;
    try {
      const auto tune = halvane::ReadSidTune(In(a.file));
      if (!tune) {
        why = "not a PSID or RSID tune";
      } else if (a.song < 0 || a.song > tune->songs || a.song > 256) {
        why = "song " + std::to_string(a.song) + " is not one of the tune's " +
              std::to_string(tune->songs) + " songs; nothing was changed";
      }
    } catch (const Error&) {
      why = MissingPathReason(a.file);
      if (why.empty()) why = "cannot be read";
    }
    const bool ok = why.empty() && halvane::SaveSidTuneStartSong(In(a.file), a.song);
    if (why.empty() && !ok) why = "was not changed (read-only, or on a CD-ROM)";
    if (a.json) {
      PrintJson(
          json{{"strSidFile", a.file}, {"intDefaultSong", a.song}, {"SaveDefaultSidSong", ok}});
    }
    if (!ok) return Fail("sid set-default", a.file, why);
    Finish(true);
  });
}

namespace {

struct FindArgs {
  std::string dir;
  std::string pattern;
  bool json = false;
};

}  // namespace

void RegisterFind(CLI::App& app) {
  static FindArgs a;
  auto* find = app.add_subcommand("find", "Search a folder tree, printing each match as found");
  find->add_option("DIR", a.dir, "The folder to search")->required();
  find->add_option("PATTERN", a.pattern, "Wildcard pattern such as *.SID (any case)")->required();
  find->add_flag("--json", a.json,
                 "Print one JSON object: the folder, every match (FoundFile) and the total");
  find->callback([] {
    // A search of a folder that is not there finds nothing, which the method cannot tell
    // from an empty folder.
    const std::uint32_t attributes = platform::FileAttributes(In(a.dir));
    if (attributes == platform::attr::kInvalid || (attributes & platform::attr::kDirectory) == 0) {
      return Fail("find", a.dir,
                  attributes == platform::attr::kInvalid ? "no such folder" : "not a folder");
    }
    hvFunctions f;
    // Plain output shows each hit as it is found; JSON gathers them into one object.
    static json found = json::array();
    f.SetFoundFileHandler([](const std::string& hit) {
      if (a.json) {
        found.push_back({{"strPathAndFile", Out(hit)}});
      } else {
        std::printf("%s\n", Out(hit).c_str());
        std::fflush(stdout);
      }
    });
    std::string path = In(a.dir);
    std::string pattern = In(a.pattern);
    const Variant total = f.FindFiles(path, pattern);
    const json bytes = VariantJson(total);
    if (a.json) {
      PrintJson(json{{"path", Out(path)}, {"FoundFile", found}, {"FindFiles", bytes}});
    } else {
      std::printf("%s bytes\n", bytes.is_null() ? "0" : bytes.dump().c_str());
    }
    Finish(true);
  });
}

namespace {

struct PathArgs {
  std::string path;
  bool json = false;
};

void AddPathCommand(CLI::App* parent, const char* name, const char* help,
                    void (*run)(const PathArgs&)) {
  static PathArgs a;
  auto* cmd = parent->add_subcommand(name, help);
  cmd->add_option("PATH", a.path, "The path or root")->required();
  cmd->add_flag("--json", a.json, "Print the result as JSON");
  cmd->callback([run] { run(a); });
}

void PrintAnswer(const PathArgs& a, const char* name, const json& value, bool ok) {
  if (a.json) {
    PrintJson(json{{"path", a.path}, {name, value}});
  } else if (value.is_string()) {
    std::printf("%s\n", value.get<std::string>().c_str());
  } else {
    std::printf("%s\n", value.dump().c_str());
  }
  Finish(ok);
}

}  // namespace

void RegisterPath(CLI::App& app) {
  auto* path = app.add_subcommand("path", "Questions about paths, files and volumes");
  path->require_subcommand(1);
  AddPathCommand(path, "short", "The short form of an existing path", [](const PathArgs& a) {
    const std::string s = hvFunctions().Long2Short(In(a.path));
    if (a.json || !s.empty()) PrintAnswer(a, "Long2Short", Out(s), !s.empty());
    if (s.empty()) {
      const std::string why = MissingPathReason(a.path);
      Fail("path short", a.path, why.empty() ? "has no short form" : why);
    }
  });
  AddPathCommand(path, "exists", "Whether a file exists (bare names along PATH)",
                 [](const PathArgs& a) {
                   const bool ok = hvFunctions().FileExists(In(a.path), halvane::kVbFalse, "");
                   PrintAnswer(a, "FileExists", ok, ok);
                 });
  auto is_cdrom = [](const PathArgs& a) {
    const bool cd = hvFunctions().DriveTypeIsCDRom(In(a.path));
    PrintAnswer(a, "DriveTypeIsCDRom", cd, cd);
  };
  AddPathCommand(path, "is-cdrom", "Whether the path lies on a CD-ROM (or does not exist)",
                 is_cdrom);
  // The method's name, kept for scripts; a command of its own so that its help names it.
  AddPathCommand(path, "drive-type", "Whether the path lies on a CD-ROM (or does not exist)",
                 is_cdrom);
  path->get_subcommand("drive-type")->group("");
  AddPathCommand(path, "volume", "The label of the volume holding the path", [](const PathArgs& a) {
    PrintAnswer(a, "GetVolumeName", Out(hvFunctions().GetVolumeName(In(a.path))), true);
  });
}

}  // namespace hv::cli
