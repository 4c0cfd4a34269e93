#include "db/engine/RepairReport.h"

#include <algorithm>

namespace veltra::db::engine {

bool RepairReport::lostNothing() const {
  return std::all_of(tables.begin(), tables.end(), [](const TableRescue& rescue) {
    return rescue.setAside == 0 && rescue.unreadable == 0 && !rescue.unknownLosses;
  });
}

}  // namespace veltra::db::engine
