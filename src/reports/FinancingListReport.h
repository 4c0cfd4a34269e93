#pragma once
// The vehicles with their price and public contributions, grouped by the
// regional act that financed them, each act on pages of its own. Vehicles
// already de-registered are listed too, with their radiation date.

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "db/DatabaseConnection.h"
#include "reports/SituationListReport.h"

namespace veltra::reports {

class FinancingListReport : public SituationListReport {
 public:
  explicit FinancingListReport(const VehicleListChoice& choice,
                               std::time_t createdAt = std::time(nullptr));

  // The chosen vehicles by act, company name and plate; false when reading failed.
  bool load(db::DatabaseConnection& connection, ui::Prompter& prompter);

 protected:
  std::vector<std::string> cells(std::size_t row) const override;
  HeaderLines headerLines(std::size_t firstRow) const override;
  bool opensGroup(std::size_t row) const override;

 private:
  const std::string& actOf(std::size_t index) const { return row(index).vehicle.atto; }
  // The first row of the act's group the row belongs to.
  std::size_t groupStart(std::size_t row) const;
};

}  // namespace veltra::reports
