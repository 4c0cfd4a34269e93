#pragma once
// The lists of the vehicles in service, one wide table per (company, ambit)
// group, each group on pages of its own: grouped by company then ambit, or
// by ambit then company.

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "db/DatabaseConnection.h"
#include "reports/SituationListReport.h"

namespace veltra::reports {

enum class VehicleListOrder { ByCompany, ByAmbit };

class VehicleListReport : public SituationListReport {
 public:
  VehicleListReport(VehicleListOrder order, const VehicleListChoice& choice,
                    std::time_t createdAt = std::time(nullptr));

  // The chosen vehicles without a radiation date, in group order; false when
  // reading failed.
  bool load(db::DatabaseConnection& connection, ui::Prompter& prompter);

 protected:
  std::vector<std::string> cells(std::size_t row) const override;
  HeaderLines headerLines(std::size_t firstRow) const override;
  bool opensGroup(std::size_t row) const override;

 private:
  std::string condition() const;

  VehicleListOrder order_;
};

}  // namespace veltra::reports
