#pragma once
// The database associated with the installation: which one the program
// starts with, the questions asked before it is let go, and how the about box
// names it. Both front ends ask through their own Prompter; the settings store
// that keeps the association is theirs.

#include <optional>
#include <string>
#include <string_view>

#include "ui/Prompter.h"

namespace veltra::schema {

// The installation's settings key as start-up reads it: a value that is
// missing or cannot be read is none.
struct AssociationKey {
  std::optional<std::string> database;
  std::optional<std::string> directory;
};

struct StartupDatabase {
  // False when no valid database could be associated: the user has been told
  // and the program must end at once.
  bool canRun = true;
  // The database to open; empty for none.
  std::string path;
};

// The database the program starts with. key is none when the settings key
// cannot be opened (the user is warned). Without an associated database the
// user is offered the default database; declining runs without one.
StartupDatabase associateAtStartup(ui::Prompter& prompter,
                                   const std::optional<AssociationKey>& key);

// "Confermi sconnessione database ?": true when the user answered OK.
bool confirmDisconnect(ui::Prompter& prompter);
// The exit question: true when the user answered OK.
bool confirmExit(ui::Prompter& prompter);

// The about box. engineVersion is none without a database open.
std::string aboutText(std::string_view databasePath, std::string_view operatingSystem,
                      const std::optional<std::string>& engineVersion);

}  // namespace veltra::schema
