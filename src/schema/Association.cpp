#include "schema/Association.h"

#include "schema/DefaultDatabase.h"

namespace veltra::schema {

namespace {

constexpr char CreateQuestion[] =
    "L'applicazione Veltra non è associata ad un database.\n\n"
    "Prima di iniziare ad operare con Veltra è necessario\n"
    "creare un database vuoto oppure occorre associare un\n"
    "database già esistente.\n\n"
    "Intendi procedere alla creazione di un nuovo database ?";

constexpr char NoValidDatabase[] =
    "Non è stato possibile associare un database valido.\n\n"
    "Non è pertanto possibile procedere oltre !!!\n\n";

bool confirm(ui::Prompter& prompter, std::string_view question, std::string_view caption = {}) {
  return prompter.message(question, ui::Icon::Question, ui::Buttons::OkCancel, caption) ==
         ui::Answer::Ok;
}

// The first start's offer. Declining still lets the program run: the user
// may connect or create a database later.
StartupDatabase offerDefaultDatabase(ui::Prompter& prompter,
                                     const std::optional<AssociationKey>& key) {
  if (!confirm(prompter, CreateQuestion)) return {};
  // The creation warns again when the key cannot be opened; a missing or
  // unreadable "Directory" is just no directory.
  const auto directory =
      key ? std::optional<std::string>(key->directory.value_or("")) : std::nullopt;
  const DefaultDatabase created = CreateDefaultDatabase(prompter, directory);
  if (!created.created()) {
    prompter.message(NoValidDatabase, ui::Icon::Stop);
    return {.canRun = false, .path = {}};
  }
  return {.path = created.becomesCurrent() ? created.path : std::string()};
}

}  // namespace

StartupDatabase associateAtStartup(ui::Prompter& prompter,
                                   const std::optional<AssociationKey>& key) {
  if (!key) prompter.message(InstallationWarning, ui::Icon::Stop);
  const std::string associated = key ? key->database.value_or("") : std::string();
  if (!associated.empty()) return {.path = associated};
  return offerDefaultDatabase(prompter, key);
}

bool confirmDisconnect(ui::Prompter& prompter) {
  return confirm(prompter, "Confermi sconnessione database ?", "Sconnessione Database");
}

bool confirmExit(ui::Prompter& prompter) {
  return confirm(prompter,
                 "E' stata richiesta l'uscita da Veltra.\n\n"
                 "Intendi veramente uscire dal programma ?");
}

std::string aboutText(std::string_view databasePath, std::string_view operatingSystem,
                      const std::optional<std::string>& engineVersion) {
  std::string text =
      "INFORMAZIONI SUL PROGRAMMA\n\n"
      "Veltra - \"DataBase Parco Bus - Regione Ombrena\"\n"
      "Versione " VELTRA_VERSION
      "\n"
      "Registro dei bus delle aziende di trasporto pubblico locale\n"
      "Ufficio Trasporti della Regione Ombrena\n\n";
  text += "Sistema operativo ";
  text += operatingSystem;
  text += "\n\nDatabase: ";
  text += databasePath.empty() ? std::string_view("Nessuno") : databasePath;
  if (engineVersion) text += " (Jet " + *engineVersion + ")";
  return text;
}

}  // namespace veltra::schema
