#pragma once
// A printed list of vehicle states chosen in the vehicle-list dialog: the
// rows, the choice that selected them, and their loading under the busy
// indicator. The lists by company or ambit and the financing list build on it.

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "comms/SituationList.h"
#include "db/QueryCursor.h"
#include "reports/PrintReport.h"
#include "reports/VehicleListChoice.h"
#include "ui/Prompter.h"

namespace veltra::reports {

class SituationListReport : public PrintReport {
 public:
  std::size_t rowCount() const override { return rows_.size(); }
  const comms::SituationList& rows() const { return rows_; }

 protected:
  SituationListReport(std::string title, std::vector<ColumnSpec> columns,
                      const VehicleListChoice& choice, std::time_t createdAt);

  // Runs the prepared query, replacing the rows loaded before by what append
  // makes of each row read. False when reading failed (the failure was
  // shown): the rows may then be incomplete and are not fit to print.
  bool loadRows(db::QueryCursor& query, ui::Prompter& prompter,
                const std::function<void(db::QueryCursor&, comms::SituationList&)>& append);

  const comms::SituationRow& row(std::size_t index) const { return rows_.rows()[index]; }
  const VehicleListChoice& choice() const { return choice_; }

 private:
  VehicleListChoice choice_;
  comms::SituationList rows_;
};

}  // namespace veltra::reports
