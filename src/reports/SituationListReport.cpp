#include "reports/SituationListReport.h"

namespace veltra::reports {

SituationListReport::SituationListReport(std::string title, std::vector<ColumnSpec> columns,
                                         const VehicleListChoice& choice, std::time_t createdAt)
    : PrintReport(std::move(title), std::move(columns), createdAt), choice_(choice) {}

bool SituationListReport::loadRows(
    db::QueryCursor& query, ui::Prompter& prompter,
    const std::function<void(db::QueryCursor&, comms::SituationList&)>& append) {
  prompter.beginBusy(true);
  rows_.clear();
  for (bool found = query.Execute(); found; found = query.NextRow()) append(query, rows_);
  return !query.Failed();
}

}  // namespace veltra::reports
