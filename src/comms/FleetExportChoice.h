#pragma once
// What the fleet export dialog ("Estrazione in formato TXT / TAB") holds and
// how its "OK" checks the user's choices: the company and ambit lists, the
// typed codes, the date.

#include <optional>
#include <string>
#include <vector>

#include "comms/CodeChoice.h"
#include "comms/SituationList.h"
#include "db/DatabaseConnection.h"
#include "ui/Prompter.h"

namespace veltra::comms {

// The companies and the ambits that occur in the vehicles' history, by name.
std::vector<CodeItem> FleetCompanyItems(db::DatabaseConnection& connection);
std::vector<CodeItem> FleetAmbitItems(db::DatabaseConnection& connection);

// The dialog's controls as the user left them.
struct FleetExportForm {
  bool allCompanies = true;
  std::string companyText;  // the company list's edit text
  bool allAmbits = true;
  std::string ambitText;
  bool activeOnly = false;
  std::string dateText;
};

struct FleetExportChoice {
  SituationFilter filter;
  std::string date;  // "GG/MM/AAAA"
};

// "OK": the company, then the ambit, then the date; the first one refused
// shows its message (stop icon) and nothing is returned, the dialog stays open.
std::optional<FleetExportChoice> AcceptFleetExportForm(const FleetExportForm& form,
                                                       const std::vector<CodeItem>& companies,
                                                       const std::vector<CodeItem>& ambits,
                                                       ui::Prompter& prompter);

}  // namespace veltra::comms
