#pragma once
// Creating a new database: the file, the special tables, the dictionary of the
// application schema, the tables and relations built from it, and the code lists.

#include <functional>
#include <string>
#include <string_view>

#include "ui/Outcome.h"
#include "ui/Prompter.h"

namespace veltra::schema {

// A build that failed may still have left the file, with its special tables,
// when only some application table or relation could not be created.
struct BuiltFile {
  bool exists = false;
};
using BuildOutcome = ui::Result<BuiltFile>;

// Builds a complete database at path, which must not exist yet, and shows
// successText when every step succeeded. Failures are shown where they happen;
// nothing written is removed. All the work is one transaction on the new file.
BuildOutcome BuildNewDatabase(ui::Prompter& prompter, const std::string& path,
                              std::string_view successText);

struct DictionaryCursors;
using DictionaryWriter = std::function<void(DictionaryCursors&)>;
// The same, with the dictionary written by writeDictionary instead of the
// application schema (a database of another shape, or a dictionary under test).
BuildOutcome BuildNewDatabase(ui::Prompter& prompter, const std::string& path,
                              std::string_view successText,
                              const DictionaryWriter& writeDictionary);

// Database > Crea: asks for the new file and builds it.
BuildOutcome CreateDatabaseCommand(ui::Prompter& prompter);

// What the user is told once a database has been built at path.
std::string createdText(const std::string& path);

}  // namespace veltra::schema
