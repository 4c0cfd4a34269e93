#include "db/engine/SchemaTypes.h"

#include <algorithm>
#include <cctype>

namespace veltra::db::engine {

bool sameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

int TableInfo::columnIndex(std::string_view column) const {
  // Callers nearly always spell names as the table does: try that first, it
  // is on the path of every field written.
  for (size_t i = 0; i < columns.size(); ++i)
    if (columns[i].name == column) return static_cast<int>(i);
  for (size_t i = 0; i < columns.size(); ++i)
    if (sameName(columns[i].name, column)) return static_cast<int>(i);
  return -1;
}

const IndexInfo* TableInfo::index(std::string_view indexName) const {
  for (const auto& candidate : indexes)
    if (sameName(candidate.name, indexName)) return &candidate;
  return nullptr;
}

}  // namespace veltra::db::engine
