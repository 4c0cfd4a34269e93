#pragma once
// The file dialogs of the database commands: the same filter, extension and
// proposed name for every database file the user picks.

#include <string>

#include "ui/Prompter.h"

namespace veltra::schema {

inline constexpr const char* DatabaseFileFilter =
    "Database JET (*.mdb)|*.mdb|Tutti i files (*.*)|*.*||";

// A file that must already exist, or a register on a server.
inline ui::FileChoice openDatabaseChoice(std::string title) {
  return {.title = std::move(title),
          .filter = DatabaseFileFilter,
          .defaultExtension = "MDB",
          .proposedName = "*.MDB",
          .mustExist = true,
          .confirmOverwrite = false,
          .offersServer = true};
}

// An existing file only, for what works on the file itself (a repair).
inline ui::FileChoice openDatabaseFileChoice(std::string title) {
  ui::FileChoice choice = openDatabaseChoice(std::move(title));
  choice.offersServer = false;
  return choice;
}

// A new file to be written. The commands refuse an existing one with their
// own message, so the dialog must not first offer to replace it.
inline ui::FileChoice saveDatabaseChoice(std::string title) {
  return {.title = std::move(title),
          .filter = DatabaseFileFilter,
          .defaultExtension = "MDB",
          .proposedName = "*.MDB",
          .mustExist = false,
          .confirmOverwrite = false};
}

}  // namespace veltra::schema
