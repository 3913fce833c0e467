// hv db init: the game database the extraction remembers choices in.

#include <string>

#include "cli/commands.h"
#include "cli/console_text.h"
#include "common/text.h"
#include "platform/game_database.h"

namespace hv::cli {

void RegisterDb(CLI::App& app) {
  static std::string file;
  auto* db = app.add_subcommand("db", "The game database");
  db->require_subcommand(1);
  auto* init = db->add_subcommand("init", "Make a game database with an empty table Archive");
  init->add_option("FILE", file, "The database file")->required();
  init->callback([] { platform::CreateGameDatabase(ArgToCoreText(file)); });
}

}  // namespace hv::cli
