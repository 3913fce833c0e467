// hv reg get|set: one setting in the settings tree, through hvRegistry.

#include <cstdint>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/commands.h"
#include "cli/console_text.h"
#include "common/error.h"
#include "common/text.h"
#include "halvane/functions/hvRegistry.h"
#ifndef _WIN32
#include "platform/posix/settings_db.h"
#endif

namespace hv::cli {
namespace {

// Command-line text to core text and back: UTF-8 on Linux; the ANSI code page (the core's own
// Windows-1252) on Windows.
std::string FromArg(const std::string& arg) {
#ifdef _WIN32
  return arg;
#else
  return Utf8ToCp1252(arg);
#endif
}

std::string ToConsole(const std::string& text) {
#ifdef _WIN32
  return text;
#else
  return Cp1252ToUtf8(text);
#endif
}

nlohmann::json ToJson(const Variant& v) {
  if (v.IsEmpty() || v.IsNull()) return nullptr;
  if (const auto* i = std::get_if<std::int32_t>(&v.value())) return *i;
  if (const auto* i = std::get_if<std::int16_t>(&v.value())) return *i;
  return Cp1252ToUtf8(v.ToText());
}

struct RegArgs {
  std::string root, key, name, value, default_value;
  bool as_dword = false;
  bool as_string = false;
  bool json = false;
  bool has_default = false;

  std::int16_t StringType() const { return as_dword ? 0 : hvRegistry::kStringType; }
};

void AddCommon(CLI::App* cmd, RegArgs& a) {
  cmd->add_option("ROOT", a.root,
                  "HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE "
                  "or HKEY_USERS (any case)")
      ->required();
  cmd->add_option("KEY", a.key, "Key path below the root, backslash-separated")->required();
  cmd->add_option("NAME", a.name, "Value name (\"\" for the key's default value)")->required();
}

void AddTypeFlags(CLI::App* cmd, RegArgs& a) {
  auto* s = cmd->add_flag("--string", a.as_string, "The value is a string (the default)");
  auto* d = cmd->add_flag("--dword", a.as_dword, "The value is a 32-bit integer");
  s->excludes(d);
  cmd->add_flag("--json", a.json, "Print arguments and results as JSON");
}

nlohmann::json BaseJson(const RegArgs& a) {
  return {{"sRootKey", Cp1252ToUtf8(FromArg(a.root))},
          {"sKeyName", Cp1252ToUtf8(FromArg(a.key))},
          {"sValueName", Cp1252ToUtf8(FromArg(a.name))},
          {"bStringType", a.StringType()}};
}

// An error that reached the caller: the conversion of a value to the type asked for.
void ReportError(const char* command, const RegArgs& a, const Error& e) {
  if (a.json) {
    nlohmann::json out = BaseJson(a);
    out["Error"] = {{"Number", e.Number()}, {"Description", Cp1252ToUtf8(e.Description())}};
    PrintJson(out);
  }
  PrintMessage(std::string("hv reg ") + command,
               "error " + std::to_string(e.Number()) + ": " + ToConsole(e.Description()));
  ResultCode() = kExitFailed;
}

// Says why the settings cannot be reached at all, where that can be told beforehand (the
// registry is always there; a settings database named by HV_SETTINGS_DB may not be).
bool ReportUnreachable(const char* command) {
#ifndef _WIN32
  if (const std::string problem = platform::SettingsDbProblem(); !problem.empty()) {
    PrintMessage(std::string("hv reg ") + command, problem);
    ResultCode() = kExitFailed;
    return true;
  }
#else
  (void)command;
#endif
  return false;
}

void RunGet(const RegArgs& a) {
  if (ReportUnreachable("get")) return;
  std::string root = FromArg(a.root), key = FromArg(a.key), name = FromArg(a.name);
  std::int16_t string_type = a.StringType();
  Variant value;
  Variant def(FromArg(a.default_value));
  bool result = false;
  try {
    hvRegistry reg;
    result = a.has_default ? reg.GetSetting(root, key, name, value, string_type, def)
                           : reg.GetSetting(root, key, name, value, string_type);
  } catch (const Error& e) {
    ReportError("get", a, e);
    return;
  }
  // The method answers a missing value with this text; for a script that is a failure.
  const bool missing =
      result && !a.has_default && !value.IsNull() && value.ToText() == hvRegistry::kNotFound;
  if (a.json) {
    nlohmann::json out = BaseJson(a);
    if (a.has_default) out["vDefault"] = Cp1252ToUtf8(FromArg(a.default_value));
    out["vValue"] = ToJson(value);
    out["Result"] = result;
    PrintJson(out);
  } else if (result && !missing) {
    std::printf("%s\n", ToConsole(value.IsNull() ? std::string() : value.ToText()).c_str());
  }
  if (missing) {
    PrintMessage("hv reg get", a.root + "\\" + a.key + "\\" + a.name +
                                   ": no such value (--default VALUE stores one)");
  } else if (!result) {
    PrintMessage("hv reg get",
                 a.root + "\\" + a.key + ": unknown root key or the key cannot be opened");
  }
  ResultCode() = result && !missing ? kExitOk : kExitFailed;
}

void RunSet(const RegArgs& a) {
  if (ReportUnreachable("set")) return;
  std::string root = FromArg(a.root), key = FromArg(a.key), name = FromArg(a.name);
  std::int16_t string_type = a.StringType();
  Variant value(FromArg(a.value));
  bool result = false;
  try {
    hvRegistry reg;
    result = reg.SaveSetting(root, key, name, value, string_type);
  } catch (const Error& e) {
    ReportError("set", a, e);
    return;
  }
  if (a.json) {
    nlohmann::json out = BaseJson(a);
    out["vValueSetting"] = Cp1252ToUtf8(FromArg(a.value));
    out["Result"] = result;
    PrintJson(out);
  } else if (!result) {
    PrintMessage("hv reg set", a.root + "\\" + a.key +
                                   ": unknown root key, or the key or value cannot be written");
  }
  ResultCode() = result ? kExitOk : kExitFailed;
}

}  // namespace

void RegisterReg(CLI::App& app) {
  auto* reg = app.add_subcommand("reg", "Read or write one setting (registry value)");
  reg->require_subcommand(1);
  static RegArgs get_args;
  static RegArgs set_args;

  auto* get = reg->add_subcommand(
      "get",
      "Print a setting; a missing one without --default exits 1 (\"--NOT-FOUND--\" in JSON)");
  AddCommon(get, get_args);
  AddTypeFlags(get, get_args);
  static CLI::Option* default_option =
      get->add_option("--default", get_args.default_value,
                      "Store this value when the setting is missing, then print it");
  get->callback([] {
    get_args.has_default = default_option->count() > 0;
    RunGet(get_args);
  });

  auto* set = reg->add_subcommand("set", "Write a setting");
  AddCommon(set, set_args);
  set->add_option("VALUE", set_args.value, "The value to store")->required();
  AddTypeFlags(set, set_args);
  set->callback([] { RunSet(set_args); });
}

}  // namespace hv::cli
