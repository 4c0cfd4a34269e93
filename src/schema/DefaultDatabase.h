#pragma once
// The installation's own folder and the database the first start creates in
// it, and the warning for an installation whose settings key is missing.

#include <optional>
#include <string>
#include <string_view>

#include "schema/DatabaseCreation.h"
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

struct DefaultDatabase {
  BuildOutcome build;
  std::string path;
  // The file and its special tables exist, whatever happened afterwards.
  bool created() const { return build.payload.exists; }
  // Only a complete database becomes the current one.
  bool becomesCurrent() const { return build.done(); }
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
