#pragma once
// The company situation export ("Esportazione Situazione Mezzi Aziendali"):
// for a generation date, one file per company with active vehicles, in the
// tagged format the companies answer with, written into one chosen folder.

#include <cstdint>
#include <optional>
#include <string>

#include "comms/Communication.h"
#include "db/DatabaseConnection.h"
#include "ui/Outcome.h"

namespace veltra::comms {

inline constexpr std::string_view SituationFileTag = "ComunicazioneBusQz";

inline constexpr std::string_view SituationsWrittenMessage =
    "Le situazioni dei mezzi Aziendali è stata generata con successo\n"
    "e può essere inoltrata alle Aziende T.P.L.";

// The vehicles with no de-registration date, one communication per company
// (ascending code), each dated generationDate and holding its vehicles by
// chassis. False when reading failed (the failure was shown): the list may
// then lack vehicles.
bool LoadCompanySituations(db::DatabaseConnection& connection, const std::string& generationDate,
                           CommunicationList& situations);

// "<folder>/ComunicazioneBusQz_<code>.txt".
std::string SituationFilePath(const std::string& folder, std::int32_t azienda);

// The file's bytes (Windows-1252, CR LF, checksum trailer); none when a text
// has a character Windows-1252 cannot hold.
std::optional<std::string> SituationFileText(const Communication& situation);

// After the date was accepted (AcceptInputDate): loads the situations, asks
// for the folder (a save-file choice whose file name is not used), writes the
// files in ascending company order and shows the final message. Cancelled: no
// folder chosen, nothing written. Failed: the vehicles could not be read, or
// a file could not be written; no file in the folder changed unless the
// failure came while the finished files were being renamed into place.
ui::Outcome ExportCompanySituations(db::DatabaseConnection& connection,
                                    const std::string& generationDate);

}  // namespace veltra::comms
