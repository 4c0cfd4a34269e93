#pragma once
// The import of a company communication file: the user picks the file, it is
// checked whole, the user confirms, it is applied and the counts are shown.

#include <optional>
#include <string>
#include <string_view>

#include "comms/ApplyCommunication.h"
#include "comms/CommunicationReader.h"
#include "db/DatabaseConnection.h"
#include "ui/Outcome.h"

namespace veltra::comms {

using ImportOutcome = ui::Result<ImportCounts>;

// The import's verdicts on a file: refused whole, or accepted.
inline constexpr std::string_view CorruptFileMessage =
    "ATTENZIONE: Il file proposto per l'importazione è corrotto oppure non ha un contenuto\n"
    "compatibile con le specifiche tecniche previste !!!\n\n"
    "L'Acquisizione della Comunicazione Mezzi Aziendale non può essere effettuata.";
inline constexpr std::string_view ValidFileMessage =
    "Il file proposto presenta un contenuto valido per l'importazione.";

// The import's reading of the file at path: a regular file only, checked
// whole. None, after the "Impossibile aprire" message, when it cannot be read.
std::optional<CommunicationCheck> CheckCommunicationFile(const std::string& path,
                                                         ui::Prompter& prompter);

// Runs the whole dialogue through the connection's Prompter. Cancelled: no
// file chosen. Failed: the file could not be opened, was refused whole
// (nothing written), was a duplicate, or some of its rows failed (the counts
// say what was written). Declined: valid, but the user did not confirm.
ImportOutcome ImportCommunication(db::DatabaseConnection& connection);

}  // namespace veltra::comms
