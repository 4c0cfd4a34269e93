#pragma once
// The lists of the vehicles in service, one wide table per (company, ambit)
// group, each group on pages of its own: grouped by company then ambit, or
// by ambit then company.

#include <cstddef>
#include <cstdint>
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

  std::size_t rowCount() const override { return groups_.size(); }
  std::vector<std::string> cells(std::size_t row) const override;

 protected:
  const PackedTexts* keptCells() const override { return &texts_; }
  HeaderLines headerLines(std::size_t firstRow) const override;
  bool opensGroup(std::size_t row) const override;

 private:
  struct Group {
    std::int32_t azienda = 0;
    std::int32_t ambito = 0;
  };

  std::string condition() const;

  VehicleListOrder order_;
  // What the list prints of each row: its group, and its texts packed. A row
  // takes some hundred bytes where the vehicle's whole state would take seven
  // hundred, for lists of tens of thousands of vehicles.
  std::vector<Group> groups_;
  PackedTexts texts_;
};

}  // namespace veltra::reports
