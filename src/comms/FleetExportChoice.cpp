#include "comms/FleetExportChoice.h"

#include "comms/DateInput.h"

namespace veltra::comms {

std::vector<CodeItem> FleetCompanyItems(db::DatabaseConnection& connection) {
  return ReadCodeItems(connection, {"regazi.codice, regazi.denom", "regazi, storia",
                                    "regazi.codice = storia.azienda", "regazi.codice, regazi.denom",
                                    "regazi.denom"});
}

std::vector<CodeItem> FleetAmbitItems(db::DatabaseConnection& connection) {
  return ReadCodeItems(
      connection, {"regprv.codice, regprv.denom", "regprv, storia", "regprv.codice = storia.ambito",
                   "regprv.codice, regprv.denom", "regprv.denom"});
}

std::optional<FleetExportChoice> AcceptFleetExportForm(const FleetExportForm& form,
                                                       const std::vector<CodeItem>& companies,
                                                       const std::vector<CodeItem>& ambits,
                                                       ui::Prompter& prompter) {
  FleetExportChoice choice;
  SituationFilter& filter = choice.filter;
  filter.allCompanies = form.allCompanies;
  filter.allAmbits = form.allAmbits;
  filter.activeOnly = form.activeOnly;
  const auto azienda = AcceptCodeChoice(form.allCompanies, form.companyText, companies,
                                        InvalidCompanyMessage, prompter);
  if (!azienda) return std::nullopt;
  const auto ambito =
      AcceptCodeChoice(form.allAmbits, form.ambitText, ambits, InvalidAmbitMessage, prompter);
  if (!ambito) return std::nullopt;
  filter.azienda = *azienda;
  filter.ambito = *ambito;
  auto date = AcceptInputDate(form.dateText, prompter);
  if (!date) return std::nullopt;
  choice.date = std::move(*date);
  return choice;
}

}  // namespace veltra::comms
