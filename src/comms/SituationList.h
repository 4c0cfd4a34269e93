#pragma once
// A list of vehicle states in the order they were added, with a sort index
// (company code, then chassis) rebuilt on demand.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

#include "comms/SituationRow.h"

namespace veltra::comms {

// Which rows an export or a count takes; -1 codes go with the "all" choices.
struct SituationFilter {
  bool allCompanies = true;
  std::int32_t azienda = -1;
  bool allAmbits = true;
  std::int32_t ambito = -1;
  bool activeOnly = false;  // only rows with no datrad, whatever date it holds

  bool matches(const SituationRow& row) const;
};

class SituationList {
 public:
  void clear();
  // Rows arrive ordered by chassis, then by date: a row of the same chassis
  // as the last one (byte-wise, case-sensitive) replaces its values, so each
  // chassis keeps its latest state.
  void addOrMerge(SituationRow row);
  void appendFinancingRow(SituationRow supplied) {
    KeepFinancingFields(rows_.emplace_back(std::move(supplied)));
  }

  // Builds the index afresh: company code ascending, then chassis by the
  // unsigned bytes of its Windows-1252 text.
  void sort();
  // The index of the last sort.
  const std::vector<const SituationRow*>& sorted() const { return index_; }

  std::size_t size() const { return rows_.size(); }
  const std::deque<SituationRow>& rows() const { return rows_; }
  std::size_t countMatching(const SituationFilter& filter) const;

 private:
  // A deque keeps the index's references valid while rows are appended.
  std::deque<SituationRow> rows_;
  std::vector<const SituationRow*> index_;
};

}  // namespace veltra::comms
