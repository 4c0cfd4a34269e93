#pragma once
// The vehicles with their price and public contributions, grouped by the
// regional act that financed them, each act on pages of its own. Vehicles
// already de-registered are listed too, with their radiation date.

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "comms/SituationList.h"
#include "db/DatabaseConnection.h"
#include "reports/PrintReport.h"
#include "reports/VehicleListChoice.h"
#include "ui/Prompter.h"

namespace veltra::reports {

class FinancingListReport : public PrintReport {
 public:
  explicit FinancingListReport(const VehicleListChoice& choice,
                               std::time_t createdAt = std::time(nullptr));

  // The chosen vehicles by act, company name and plate, replacing any loaded
  // before. False when reading failed (the failure was shown): the rows may
  // then be incomplete and are not fit to print.
  bool load(db::DatabaseConnection& connection, ui::Prompter& prompter);

  std::size_t rowCount() const override { return rows_.size(); }
  const comms::SituationList& rows() const { return rows_; }

 protected:
  std::vector<std::string> cells(std::size_t row) const override;
  HeaderLines headerLines(std::size_t firstRow) const override;
  bool opensGroup(std::size_t row) const override;

 private:
  const std::string& actOf(std::size_t row) const { return rows_.rows()[row].vehicle.atto; }

  VehicleListChoice choice_;
  comms::SituationList rows_;
};

}  // namespace veltra::reports
