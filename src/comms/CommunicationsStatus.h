#pragma once
// The communications status ("Situazione Comunicazioni Aziendali"): which
// companies have communicated, on which dates, and whether each
// communication carried vehicles. It only reads the database.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "comms/CodeChoice.h"
#include "db/DatabaseConnection.h"

namespace veltra::comms {

// readFailed, where given, is set when a query failed; the failure was shown
// and what it returned may lack rows.

// The companies with at least one communication, by name.
std::vector<CodeItem> CommunicatingCompanies(db::DatabaseConnection& connection,
                                             bool* readFailed = nullptr);

// The dates ("GG/MM/AAAA") of the company's communications, ascending.
std::vector<std::string> CommunicationDates(db::DatabaseConnection& connection,
                                            std::int32_t azienda, bool* readFailed = nullptr);

// Whether the company's communication of that date wrote any history row.
bool CommunicationHasVehicles(db::DatabaseConnection& connection, std::int32_t azienda,
                              const std::string& date, bool* readFailed = nullptr);

// "Comunicazione del <date>\n\n" and the verdict.
std::string CommunicationVerdictText(const std::string& date, bool hasVehicles);

// A typed date that names one of the company's communication dates, as
// "GG/MM/AAAA"; none after the refusal of a date that is not valid or that
// none of them has (stop icon).
std::optional<std::string> AcceptCommunicationDate(std::string_view typed, std::int32_t azienda,
                                                   const std::vector<std::string>& dates,
                                                   ui::Prompter& prompter);

// Reads the verdict and shows it with the information icon; false, with no
// verdict, when the reading failed.
bool ShowCommunicationVerdict(db::DatabaseConnection& connection, std::int32_t azienda,
                              const std::string& date);

}  // namespace veltra::comms
