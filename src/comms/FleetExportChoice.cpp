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

namespace {

// The code chosen for a list whose "all" box is off; false after the message.
bool acceptCode(bool all, const std::string& typed, const std::vector<CodeItem>& items,
                std::string_view refusal, std::int32_t& code, ui::Prompter& prompter) {
  code = -1;
  if (all) return true;
  const auto typedCode = TypedCode(typed, items);
  if (!typedCode) {
    prompter.message(refusal, ui::Icon::Stop);
    return false;
  }
  code = *typedCode;
  return true;
}

}  // namespace

std::optional<FleetExportChoice> AcceptFleetExportForm(const FleetExportForm& form,
                                                       const std::vector<CodeItem>& companies,
                                                       const std::vector<CodeItem>& ambits,
                                                       ui::Prompter& prompter) {
  FleetExportChoice choice;
  SituationFilter& filter = choice.filter;
  filter.allCompanies = form.allCompanies;
  filter.allAmbits = form.allAmbits;
  filter.activeOnly = form.activeOnly;
  if (!acceptCode(form.allCompanies, form.companyText, companies, InvalidCompanyMessage,
                  filter.azienda, prompter) ||
      !acceptCode(form.allAmbits, form.ambitText, ambits, InvalidAmbitMessage, filter.ambito,
                  prompter))
    return std::nullopt;
  auto date = AcceptInputDate(form.dateText, prompter);
  if (!date) return std::nullopt;
  choice.date = std::move(*date);
  return choice;
}

}  // namespace veltra::comms
