#pragma once
// Creating a new database: the file, the special tables, the dictionary of the
// application schema, the tables and relations built from it, and the code lists.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "ui/Prompter.h"

namespace veltra::schema {

// Shown when the installation's settings key cannot be opened.
inline constexpr std::string_view InstallationWarning =
    "ATTENZIONE: è stata riscontrata una anomalia grave\n"
    "che rende impossibile il corretto funzionamento di\n"
    "questo programma.\n\n"
    "Ipotesi A) Il prodotto non è stato installato nella\n"
    "           maniera corretta, utilizzando Setup.\n\n"
    "Ipotesi B) Il registro di configurazione di Windows\n"
    "           si è corrotto e deve essere ripristinato.\n\n";

enum class BuildOutcome {
  Failed,      // the file or its special tables could not be created
  Incomplete,  // some application table or relation could not be created
  Complete,
};

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

// Database > Crea: asks for the new file and builds it. None when the user cancelled.
std::optional<BuildOutcome> CreateDatabaseCommand(ui::Prompter& prompter);

struct DefaultDatabase {
  BuildOutcome outcome;
  std::string path;
  // The file and its special tables exist, whatever happened afterwards.
  bool created() const { return outcome != BuildOutcome::Failed; }
  // Only a complete database becomes the current one.
  bool becomesCurrent() const { return outcome == BuildOutcome::Complete; }
};

// First start without an associated database: builds VELTRA.MDB in the
// installation directory. directory is the "Directory" setting: none when the
// settings key could not be opened (the user is warned that the installation
// is damaged), empty when the value is missing. Without a directory the
// database goes into the user's data directory.
DefaultDatabase CreateDefaultDatabase(ui::Prompter& prompter,
                                      const std::optional<std::string>& directory);

// $XDG_DATA_HOME/Veltra, else ~/.local/share/Veltra; created when missing.
std::string UserDataDirectory();

}  // namespace veltra::schema
