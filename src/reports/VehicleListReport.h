#pragma once
// The lists of the vehicles in service, one wide table per (company, ambit)
// group, each group on pages of its own: grouped by company then ambit, or
// by ambit then company.

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

enum class VehicleListOrder { ByCompany, ByAmbit };

class VehicleListReport : public PrintReport {
 public:
  VehicleListReport(VehicleListOrder order, const VehicleListChoice& choice,
                    std::time_t createdAt = std::time(nullptr));

  // The chosen vehicles without a radiation date, in group order, replacing
  // any loaded before. False when reading failed (the failure was shown):
  // the rows may then be incomplete and are not fit to print.
  bool load(db::DatabaseConnection& connection, ui::Prompter& prompter);

  std::size_t rowCount() const override { return rows_.size(); }
  const comms::SituationList& rows() const { return rows_; }

 protected:
  std::vector<std::string> cells(std::size_t row) const override;
  HeaderLines headerLines(std::size_t firstRow) const override;
  bool opensGroup(std::size_t row) const override;

 private:
  std::string condition() const;

  VehicleListOrder order_;
  VehicleListChoice choice_;
  comms::SituationList rows_;
};

}  // namespace veltra::reports
