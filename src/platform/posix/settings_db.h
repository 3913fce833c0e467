#pragma once
// The per-user settings database that stands in for the registry: where it lives, how it is
// opened, and how its failures read as registry status numbers.
//
// Tables:
//   reg_keys(id, parent, name, fold)  one row per key; the four roots have parent 0 and ids
//                                     1 to 4; `fold` is the upper-cased name, unique among
//                                     siblings, so names compare without regard to case.
//   reg_values(key, name, fold, type, data)  one row per named value; `type` is the registry
//                                     type number as written, `data` the bytes.
// Names are stored as UTF-8 so the file reads well in any SQLite tool.

#include <cstdint>
#include <string>

#include "platform/posix/sqlite_handle.h"

namespace hv::platform {

// $HV_SETTINGS_DB when set, else $XDG_CONFIG_HOME/hv/settings.db, else
// ~/.config/hv/settings.db.
std::string SettingsDbPath();

// Why the database named by HV_SETTINGS_DB cannot be opened: its folder is missing or no
// folder. "" when nothing speaks against it, or the default location is used. In the file
// system's own text (UTF-8).
std::string SettingsDbProblem();

// Opens the database, creating the file and the tables as needed, and the folder of the
// default location (never one that HV_SETTINGS_DB names). Returns a registry status (0 on
// success).
std::int32_t OpenSettingsDb(SqliteDb& db);

// A SQLite result code as a registry status.
std::int32_t StatusFromSqlite(int rc);

// The form of a Windows-1252 key or value name under which the database finds it: upper-case
// as the registry compares names, in UTF-8.
std::string FoldName(const std::string& name);

}  // namespace hv::platform
