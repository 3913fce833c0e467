// hv generate bash|zsh|man: shell completion and the manual page, written from the same
// command definitions that parse the command line, so that they cannot drift apart. The build
// runs it; `cmake --install` puts the results in place.

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/console_text.h"

namespace hv::cli {
namespace {

// One command as the generators see it: its path ("hv reg get"), description, usage
// words, visible options and visible subcommands.
struct Node {
  std::string path;
  std::string description;
  std::vector<std::string> subcommands;
  std::vector<const CLI::Option*> options;  // named ones
  std::vector<const CLI::Option*> positionals;
};

bool Visible(const CLI::App* app) {
  return !app->get_name().empty() && !app->get_group().empty();
}

void Collect(const CLI::App* app, const std::string& path, std::vector<Node>& nodes) {
  Node node{path, app->get_description(), {}, {}, {}};
  for (const CLI::Option* opt : app->get_options()) {
    if (opt->get_group().empty()) continue;  // hidden aliases
    (opt->get_positional() && opt->get_lnames().empty() ? node.positionals : node.options)
        .push_back(opt);
  }
  std::vector<const CLI::App*> subs;
  for (const CLI::App* sub : app->get_subcommands([](const CLI::App*) { return true; })) {
    if (Visible(sub)) {
      node.subcommands.push_back(sub->get_name());
      subs.push_back(sub);
    }
  }
  nodes.push_back(node);
  for (const CLI::App* sub : subs) Collect(sub, path + " " + sub->get_name(), nodes);
}

std::vector<std::string> OptionNames(const Node& node) {
  std::vector<std::string> names;
  for (const CLI::Option* opt : node.options) {
    for (const std::string& s : opt->get_snames()) names.push_back("-" + s);
    for (const std::string& l : opt->get_lnames()) names.push_back("--" + l);
  }
  return names;
}

std::string Words(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
  return out;
}

// Paths of every command that has subcommands: the words that step down into them.
std::string Steps(const std::vector<Node>& nodes, const char* separator) {
  std::string cases;
  for (const Node& n : nodes) {
    for (const std::string& sub : n.subcommands) {
      cases += std::string(cases.empty() ? "" : separator) + "\"" + n.path + " " + sub + "\"";
    }
  }
  return cases;
}

std::string Bash(const std::vector<Node>& nodes) {
  std::string out =
      "# bash completion for hv, written by `hv generate bash` from its command definitions.\n"
      "_hv() {\n"
      "  local cur=\"${COMP_WORDS[COMP_CWORD]}\" cmdpath=hv i words subs\n"
      "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
      "    case \"$cmdpath ${COMP_WORDS[i]}\" in\n"
      "      " +
      Steps(nodes, "|") +
      ") cmdpath=\"$cmdpath ${COMP_WORDS[i]}\" ;;\n"
      "    esac\n"
      "  done\n"
      "  case \"$cmdpath\" in\n";
  for (const Node& n : nodes) {
    out += "    \"" + n.path + "\") subs=\"" + Words(n.subcommands) + "\"; words=\"" +
           Words(OptionNames(n)) + "\" ;;\n";
  }
  out +=
      "  esac\n"
      "  if [[ \"$cur\" == -* ]]; then\n"
      "    COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
      "  elif [[ -n \"$subs\" ]]; then\n"
      "    COMPREPLY=($(compgen -W \"$subs\" -- \"$cur\"))\n"
      "  else\n"
      "    COMPREPLY=($(compgen -f -- \"$cur\"))\n"
      "  fi\n"
      "}\n"
      "complete -o filenames -F _hv hv\n";
  return out;
}

std::string Zsh(const std::vector<Node>& nodes) {
  // `path` is PATH's array in zsh: the walk keeps its own name.
  std::string out =
      "#compdef hv\n"
      "# zsh completion for hv, written by `hv generate zsh` from its command definitions.\n"
      "_hv() {\n"
      "  local cmdpath=hv w\n"
      "  local -a subs opts\n"
      "  for w in ${words[2,CURRENT-1]}; do\n"
      "    case \"$cmdpath $w\" in\n"
      "      (" +
      Steps(nodes, "|") +
      ") cmdpath=\"$cmdpath $w\" ;;\n"
      "    esac\n"
      "  done\n"
      "  case \"$cmdpath\" in\n";
  for (const Node& n : nodes) {
    out += "    (\"" + n.path + "\") subs=(" + Words(n.subcommands) + "); opts=(" +
           Words(OptionNames(n)) + ") ;;\n";
  }
  out +=
      "  esac\n"
      "  if [[ $PREFIX == -* ]]; then\n"
      "    compadd -- $opts\n"
      "  elif (( $#subs )); then\n"
      "    compadd -- $subs\n"
      "  else\n"
      "    _files\n"
      "  fi\n"
      "}\n"
      "_hv \"$@\"\n";
  return out;
}

// Text for troff: a leading dot or quote would start a request, a backslash an escape.
std::string Roff(std::string text) {
  std::string out;
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
  return out;
}

std::string Man(const std::vector<Node>& nodes, const std::string& version) {
  std::string out = ".TH HV 1 \"\" \"" + Roff(version) +
                    "\" \"User Commands\"\n"
                    ".SH NAME\nhv \\- " +
                    Roff(nodes.front().description) +
                    "\n.SH SYNOPSIS\n.B hv\n.I COMMAND\n[\\fIOPTIONS\\fR] [\\fIARGUMENTS\\fR]\n"
                    ".SH DESCRIPTION\nEach command below does one job of the automation servers "
                    "from the command line.\n\\fBhv COMMAND \\-\\-help\\fR describes one command.\n"
                    ".SH COMMANDS\n";
  for (const Node& n : nodes) {
    if (n.path == "hv" || !n.subcommands.empty()) continue;  // only the commands that run
    out += ".SS \"" + Roff(n.path) + "\"\n" + Roff(n.description) + "\n";
    std::string usage = ".PP\n.B " + Roff(n.path) + "\n";
    for (const CLI::Option* p : n.positionals) {
      usage += ".I " + Roff(p->get_name()) + (p->get_items_expected_max() > 1 ? " ..." : "") + "\n";
    }
    if (!n.options.empty()) usage += "[\\fIOPTIONS\\fR]\n";
    out += usage;
    for (const CLI::Option* opt : n.positionals) {
      out += ".TP\n.I " + Roff(opt->get_name()) + "\n" + Roff(opt->get_description()) + "\n";
    }
    for (const CLI::Option* opt : n.options) {
      if (opt->get_lnames().size() == 1 && opt->get_lnames()[0] == "help") continue;
      std::string names;
      for (const std::string& l : opt->get_lnames())
        names += (names.empty() ? "" : ", ") + ("--" + l);
      // The type without the table of names a control value also takes.
      const std::string type_name = opt->get_type_name();
      const std::string type =
          opt->get_type_size() == 0 ? "" : " " + type_name.substr(0, type_name.find(':'));
      out += ".TP\n.B " + Roff(names + type) + "\n" + Roff(opt->get_description()) + "\n";
    }
  }
  out +=
      ".SH EXIT STATUS\n0 when the command did its job, 1 when it could not (the reason on "
      "standard error, each message starting with the command that ran), 2 for a usage error.\n"
      ".SH FILES\n.TP\n.I ~/.config/hv/settings.db\nThe settings of \\fBhv reg\\fR "
      "(\\fB$HV_SETTINGS_DB\\fR names another).\n.TP\n.I ~/.cache/hv/work\nThe working folder "
      "of \\fBhv extract\\fR and \\fBhv play\\fR.\n";
  return out;
}

}  // namespace

void RegisterGenerate(CLI::App& app) {
  static std::string kind;
  static std::string file;
  auto* cmd = app.add_subcommand("generate", "Write shell completion or the manual page");
  cmd->group("");  // for the build, not for users
  cmd->add_option("KIND", kind, "bash, zsh or man")
      ->required()
      ->check(CLI::IsMember({"bash", "zsh", "man"}));
  cmd->add_option("FILE", file, "Where to write it (default: standard output)");
  cmd->callback([&app] {
    std::vector<Node> nodes;
    Collect(&app, "hv", nodes);
    const std::string text = kind == "bash"  ? Bash(nodes)
                             : kind == "zsh" ? Zsh(nodes)
                                             : Man(nodes, app.version());
    if (file.empty()) {
      UseBinaryStdout();
      WriteOut(text);
      return;
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      PrintMessage("hv generate", file + ": cannot be written");
      ResultCode() = kExitFailed;
    }
  });
}

}  // namespace hv::cli
