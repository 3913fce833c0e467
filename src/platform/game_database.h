#pragma once
// The front-end's game database as the extraction uses it: the table "Archive" remembers, per
// game ("GA_ID"), which of several game files to run ("FileToRun"). Text is core text.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace hv::platform {

// Error numbers of the database engine the front-end's database comes from.
inline constexpr int kDbFileNotFound = 3024;
inline constexpr int kDbTableNotFound = 3078;
inline constexpr int kDbUnrecognized = 3343;

struct ArchiveRow {
  std::int64_t key = 0;  // identifies the row for a later delete
  std::string file_to_run;
};

// One open database; closed when destroyed.
class GameDatabase {
 public:
  virtual ~GameDatabase() = default;
  // The first row of "Archive" whose "GA_ID" is `game_id`, if any. A row whose "FileToRun"
  // holds no value throws hv::Error 94.
  virtual std::optional<ArchiveRow> FirstArchiveRow(std::int32_t game_id) = 0;
  virtual void DeleteArchiveRow(const ArchiveRow& row) = 0;
  virtual void AddArchiveRow(std::int32_t game_id, const std::string& file_to_run) = 0;
};

// Opens an existing database file. Throws hv::Error: 3024 for a missing file, 3343 for a file
// that is no database, 3078 when it has no table "Archive".
std::unique_ptr<GameDatabase> OpenGameDatabase(const std::string& file);

// Makes `file` a database with an empty table "Archive" (an existing table is kept).
void CreateGameDatabase(const std::string& file);

}  // namespace hv::platform
