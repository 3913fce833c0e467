#include "cli/play_program.h"

#include <cctype>
#include <cstdint>
#include <optional>
#include <vector>

#include "cli/autostart_name.h"
#include "common/upper_case.h"
#include "tessary/readers/hvD64.h"
#include "tessary/readers/hvT64.h"

namespace hv::cli {

namespace {

bool EndsWith(const std::string& upper, const char* ext) {
  const std::string e = ext;
  return upper.size() >= e.size() && upper.compare(upper.size() - e.size(), e.size(), e) == 0;
}

}  // namespace

StartProgram FirstProgram(const std::string& game) {
  const std::string upper = UpperCase1252(game);
  if (EndsWith(upper, ".D64")) {
    tessary::hvD64 d64;
    if (!d64.Load(game)) return {};
    std::vector<std::string> names;
    std::optional<std::size_t> first_prg;
    for (const auto& e : d64.Entries()->All()) {
      if (!first_prg && e->FileType().find("PRG") != std::string::npos) first_prg = names.size();
      names.push_back(e->NameBytes());
    }
    if (!first_prg) return {};
    const AutostartChoice choice = ViceAutostartChoice(names, *first_prg);
    return {choice.name, choice.exact};
  }
  if (EndsWith(upper, ".T64")) {
    if (const std::string first = tessary::T64FirstRecordName(game); !first.empty()) {
      return {ViceAutostartName(first), true};
    }
    tessary::hvT64 t64;
    if (t64.Load(game) && !t64.Entries()->All().empty()) {
      return {ViceAutostartName(t64.Entries()->All().front()->C64Filename()), true};
    }
  }
  return {};
}

int JoystickPortTag(const std::string& name) {
  // A plain scan: hv play asks this on every launch, and a regex costs more to build than a
  // whole warm launch otherwise spends on names.
  const auto lower = [&name](std::size_t i) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
  };
  for (std::size_t i = 0; i + 2 < name.size(); ++i) {
    const char open = name[i];
    if ((open != '(' && open != '[' && open != '_') || lower(i + 1) != 'j') continue;
    const char port = name[i + 2];
    if (port != '1' && port != '2') continue;
    const bool closed =
        open == '_'
            ? (i + 3 == name.size() || !std::isalnum(static_cast<unsigned char>(name[i + 3])))
            : (i + 3 < name.size() && name[i + 3] == (open == '(' ? ')' : ']'));
    if (closed) return port - '0';
  }
  return 0;
}

}  // namespace hv::cli
