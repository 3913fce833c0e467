// The game database on Windows needs the ODBC binding, which is not here yet: every open
// reports that, and the extraction turns it into its failure report.

#include "platform/game_database.h"
#include "common/error.h"

namespace hv::platform {

namespace {
[[noreturn]] void Unavailable(const std::string& file) {
  throw Error(kDbFileNotFound, "The game database '" + file +
                                   "' cannot be opened: no database "
                                   "driver is available in this build.");
}
}  // namespace

std::unique_ptr<GameDatabase> OpenGameDatabase(const std::string& file) {
  Unavailable(file);
}

void CreateGameDatabase(const std::string& file) {
  Unavailable(file);
}

}  // namespace hv::platform
