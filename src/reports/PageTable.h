#pragma once
// Where each printed page starts: entry n holds the index of the first row
// of page n. The table has a fixed size; the pages beyond it are found again
// by the report when they are drawn.

#include <array>
#include <cstddef>

namespace veltra::reports {

inline constexpr int PageTableSize = 8192;

class PageTable {
 public:
  // Pages are counted from 1; a page beyond the table is not recorded.
  void set(int page, long firstRow) {
    if (holds(page)) entries_[static_cast<std::size_t>(page - 1)] = firstRow;
  }
  // -1 for a page the table does not hold.
  long firstRow(int page) const {
    return holds(page) ? entries_[static_cast<std::size_t>(page - 1)] : -1;
  }

 private:
  static bool holds(int page) { return page >= 1 && page <= PageTableSize; }

  std::array<long, PageTableSize> entries_{};
};

}  // namespace veltra::reports
