#include "reports/VehicleListChoice.h"

namespace veltra::reports {

std::string_view VehicleListDialogTitle(VehicleListDialog dialog) {
  switch (dialog) {
    case VehicleListDialog::ByCompany:
      return "Rubrica Mezzi x Azienda";
    case VehicleListDialog::ByAmbit:
      return "Rubrica Mezzi x Ambito";
    case VehicleListDialog::Financing:
      return "Rubrica Mezzi x Finanziamento";
  }
  return {};
}

std::vector<comms::CodeItem> VehicleListCompanyItems(db::DatabaseConnection& connection) {
  return comms::ReadCodeItems(
      connection, {"regazi.codice, regazi.denom", "regazi, bus", "regazi.codice = bus.azienda",
                   "regazi.codice, regazi.denom", "regazi.denom"});
}

std::vector<comms::CodeItem> VehicleListAmbitItems(db::DatabaseConnection& connection) {
  return comms::ReadCodeItems(
      connection, {"regprv.codice, regprv.denom", "regprv, bus", "regprv.codice = bus.ambito",
                   "regprv.codice, regprv.denom", "regprv.denom"});
}

std::string ChosenVehiclesCondition(const VehicleListChoice& choice) {
  std::string condition;
  if (!choice.allCompanies) condition += " AND bus.azienda = " + std::to_string(choice.azienda);
  if (!choice.allAmbits) condition += " AND bus.ambito = " + std::to_string(choice.ambito);
  return condition;
}

std::optional<VehicleListChoice> AcceptVehicleListForm(
    const VehicleListForm& form, const std::vector<comms::CodeItem>& companies,
    const std::vector<comms::CodeItem>& ambits, ui::Prompter& prompter) {
  const auto azienda = comms::AcceptCodeChoice(form.allCompanies, form.companyText, companies,
                                               comms::InvalidCompanyMessage, prompter);
  if (!azienda) return std::nullopt;
  const auto ambito = comms::AcceptCodeChoice(form.allAmbits, form.ambitText, ambits,
                                              comms::InvalidAmbitMessage, prompter);
  if (!ambito) return std::nullopt;
  return VehicleListChoice{form.allCompanies, *azienda, form.allAmbits, *ambito, form.preview};
}

}  // namespace veltra::reports
