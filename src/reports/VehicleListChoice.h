#pragma once
// The selection dialog of the vehicle lists (by company, by ambit, and the
// financing list): the companies and ambits it offers, and how its "OK"
// checks the user's choices.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "comms/CodeChoice.h"
#include "db/DatabaseConnection.h"
#include "ui/Prompter.h"

namespace veltra::reports {

// The dialog's three uses, by their resource numbers.
enum class VehicleListDialog { ByCompany = 120, ByAmbit = 121, Financing = 122 };

std::string_view VehicleListDialogTitle(VehicleListDialog dialog);

// The companies and the ambits that have vehicles in the register, by name.
std::vector<comms::CodeItem> VehicleListCompanyItems(db::DatabaseConnection& connection);
std::vector<comms::CodeItem> VehicleListAmbitItems(db::DatabaseConnection& connection);

// The dialog's controls as the user left them; the defaults are how it opens.
struct VehicleListForm {
  bool allCompanies = true;
  std::string companyText;  // the company list's edit text
  bool allAmbits = true;
  std::string ambitText;
  bool preview = true;  // "Anteprima di stampa"; false for "Stampa"
};

// -1 codes go with the "all" choices.
struct VehicleListChoice {
  bool allCompanies = true;
  std::int32_t azienda = -1;
  bool allAmbits = true;
  std::int32_t ambito = -1;
  bool preview = true;
};

// What the choice adds to a condition on bus: " AND bus.azienda = <code>" for
// one company, likewise for one ambit, nothing for the "all" choices.
std::string ChosenVehiclesCondition(const VehicleListChoice& choice);

// "OK": the company, then the ambit; the first one refused shows its message
// (stop icon) and nothing is returned, the dialog stays open.
std::optional<VehicleListChoice> AcceptVehicleListForm(
    const VehicleListForm& form, const std::vector<comms::CodeItem>& companies,
    const std::vector<comms::CodeItem>& ambits, ui::Prompter& prompter);

}  // namespace veltra::reports
