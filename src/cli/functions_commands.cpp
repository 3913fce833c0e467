// hv config / sid / find / path: the general functions from the command line.

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "common/error.h"
#include "common/text.h"
#include "halvane/functions/hvFunctions.h"
#include "platform/filesystem.h"

namespace hv::cli {
namespace {

using halvane::hvFunctions;
using nlohmann::json;

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

void PrintJson(const json& j) {
  std::printf("%s\n", j.dump().c_str());
}

// An error of the method on `path`: as JSON when asked for, and always on stderr.
void ReportError(const char* command, const std::string& path, const Error& e, bool as_json) {
  if (as_json) PrintJson({{"Number", e.Number()}, {"Description", Out(e.Description())}});
  std::fprintf(stderr, "hv %s: %s: Error %d: %s\n", command, path.c_str(), e.Number(),
               Out(e.Description()).c_str());
  ResultCode() = kExitFailed;
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
        std::fprintf(stderr, "hv config set: '%s' is not KEY=VALUE%s\n", s.c_str(),
                     eq == 0 ? " (the key is empty)" : "");
        ResultCode() = kExitUsage;
        return;
      }
      entries.items.push_back({In(s.substr(0, eq)), In(s.substr(eq + 1))});
    }
    try {
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
      PrintJson({{"ConfigFile", a.file}, {"ChArray", items}});
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
  auto* info = sid->add_subcommand("info", "Name, author, copyright and songs");
  info->add_option("FILE", a.file, "The SID file")->required();
  info->add_flag("--json", a.json, "Print the result as JSON");
  info->callback([] {
    std::string name, author, copyright;
    std::int16_t total = 0, start = 0;
    const bool ok = hvFunctions().GetSidInfo(In(a.file), name, author, copyright, total, start);
    if (a.json) {
      json j = {{"strSidFile", a.file}, {"GetSidInfo", ok}};
      if (ok) {
        j["strName"] = OutText(name);
        j["strAuthor"] = OutText(author);
        j["strCopyright"] = OutText(copyright);
        j["intTotalSongs"] = total;
        j["intDefaultSong"] = start;
      }
      PrintJson(j);
    } else if (ok) {
      std::printf("Name:      %s\nAuthor:    %s\nCopyright: %s\nSongs:     %d\nDefault:   %d\n",
                  OutText(name).c_str(), OutText(author).c_str(), OutText(copyright).c_str(), total,
                  start);
    } else {
      std::fprintf(stderr, "hv sid info: %s is not a readable PSID tune\n", a.file.c_str());
    }
    Finish(ok);
  });
  auto* set_default = sid->add_subcommand("set-default", "Store the song that plays first");
  set_default->add_option("FILE", a.file, "The SID file")->required();
  set_default->add_option("N", a.song, "Start song, 0 to 256")->required();
  set_default->add_flag("--json", a.json, "Print the result as JSON");
  set_default->callback([] {
    bool ok = false;
    if (a.song >= -32768 && a.song <= 32767) {
      auto song = static_cast<std::int16_t>(a.song);
      ok = hvFunctions().SaveDefaultSidSong(In(a.file), song);
    }
    if (a.json) {
      PrintJson({{"strSidFile", a.file}, {"intDefaultSong", a.song}, {"SaveDefaultSidSong", ok}});
    } else if (!ok) {
      std::fprintf(stderr, "hv sid set-default: %s was not changed\n", a.file.c_str());
    }
    Finish(ok);
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
  find->add_flag("--json", a.json, "Print JSON lines: one per match, then the total");
  find->callback([] {
    // A search of a folder that is not there finds nothing, which the method cannot tell
    // from an empty folder.
    const std::uint32_t attributes = platform::FileAttributes(In(a.dir));
    if (attributes == platform::attr::kInvalid || (attributes & platform::attr::kDirectory) == 0) {
      std::fprintf(stderr, "hv find: %s: %s\n", a.dir.c_str(),
                   attributes == platform::attr::kInvalid ? "no such folder" : "not a folder");
      ResultCode() = kExitFailed;
      return;
    }
    hvFunctions f;
    f.SetFoundFileHandler([](const std::string& hit) {
      if (a.json) {
        PrintJson({{"FoundFile", {{"strPathAndFile", Out(hit)}}}});
      } else {
        std::printf("%s\n", Out(hit).c_str());
      }
    });
    std::string path = In(a.dir);
    std::string pattern = In(a.pattern);
    const Variant total = f.FindFiles(path, pattern);
    const json bytes = VariantJson(total);
    if (a.json) {
      PrintJson({{"path", Out(path)}, {"FindFiles", bytes}});
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
    PrintJson({{"path", a.path}, {name, value}});
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
    PrintAnswer(a, "Long2Short", Out(s), !s.empty());
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
  AddPathCommand(path, "drive-type", "Whether the path lies on a CD-ROM (or does not exist)",
                 is_cdrom);
  path->get_subcommand("drive-type")->alias("is-cdrom");
  AddPathCommand(path, "volume", "The label of the volume holding the path", [](const PathArgs& a) {
    PrintAnswer(a, "GetVolumeName", Out(hvFunctions().GetVolumeName(In(a.path))), true);
  });
}

}  // namespace hv::cli
