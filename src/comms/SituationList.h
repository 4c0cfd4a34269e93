#pragma once
// A list of vehicle states in the order they were added, and the filters of
// the fleet export.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>

#include "comms/SituationRow.h"

namespace veltra::comms {

// Which rows an export or a count takes; -1 codes go with the "all" choices.
struct SituationFilter {
  bool allCompanies = true;
  std::int32_t azienda = -1;
  bool allAmbits = true;
  std::int32_t ambito = -1;
  bool activeOnly = false;  // only rows with no datrad, whatever date it holds

  bool matches(const SituationRow& row) const {
    return matches(row.azienda, row.vehicle.ambito, row.vehicle.datrad.empty());
  }
  bool matches(std::int32_t rowAzienda, std::int32_t rowAmbito, bool active) const {
    return (allCompanies || rowAzienda == azienda) && (allAmbits || rowAmbito == ambito) &&
           (!activeOnly || active);
  }
};

class SituationList {
 public:
  void clear() { rows_.clear(); }
  void appendFinancingRow(SituationRow supplied) {
    KeepFinancingFields(rows_.emplace_back(std::move(supplied)));
  }

  std::size_t size() const { return rows_.size(); }
  const std::deque<SituationRow>& rows() const { return rows_; }

 private:
  std::deque<SituationRow> rows_;
};

}  // namespace veltra::comms
