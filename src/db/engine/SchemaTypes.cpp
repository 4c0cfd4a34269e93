#include "db/engine/SchemaTypes.h"

namespace veltra::db::engine {

int TableInfo::columnIndex(std::string_view column) const {
  // Callers nearly always spell names as the table does: try that first, it
  // is on the path of every field written.
  for (size_t i = 0; i < columns.size(); ++i)
    if (columns[i].name == column) return static_cast<int>(i);
  for (size_t i = 0; i < columns.size(); ++i)
    if (EqualsIgnoringCase(columns[i].name, column)) return static_cast<int>(i);
  return -1;
}

const IndexInfo* TableInfo::index(std::string_view indexName) const {
  for (const auto& candidate : indexes)
    if (EqualsIgnoringCase(candidate.name, indexName)) return &candidate;
  return nullptr;
}

}  // namespace veltra::db::engine
