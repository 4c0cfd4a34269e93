#pragma once
// The vehicle card (dialog 117, "Scheda Informativa Mezzo"): the current data
// of one vehicle of bus, with the names of its company and ambit, as one text
// whose lines end with CR LF.

#include <string>
#include <string_view>

#include "db/DatabaseConnection.h"

namespace veltra::reports {

inline constexpr std::string_view VehicleNotAvailableText = "\r\n\r\nInformazioni non disponibili";
inline constexpr std::string_view UnknownCompanyName = "*** Azienda Sconosciuta ***";
inline constexpr std::string_view UnknownAmbitName = "*** Ambito Sconosciuto ***";

// The card of the vehicle whose chassis is chassisKey; VehicleNotAvailableText
// when bus has no such vehicle.
std::string VehicleCardText(db::DatabaseConnection& connection, std::string_view chassisKey);

// The card or the history text of the vehicle whose chassis is the key.
using ComposeCard = std::string (*)(db::DatabaseConnection& connection,
                                    std::string_view chassisKey);

}  // namespace veltra::reports
