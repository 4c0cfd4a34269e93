#include "db/sqlite/repair/PageRows.h"

#include <algorithm>
#include <iterator>
#include <set>

#include "db/PlainText.h"

namespace veltra::db::engine {

namespace {

using Kind = StoredValue::Kind;

// Whether a value of that kind can stand in a column of the declared type,
// by SQLite's rules of column affinity: an integer column never holds a
// text, a text column never a number.
bool fits(const std::string& declared, Kind kind) {
  if (kind == Kind::Null) return true;
  std::string type = declared;
  std::transform(type.begin(), type.end(), type.begin(), AsciiLower);
  const auto has = [&](const char* part) { return type.find(part) != std::string::npos; };
  if (has("int")) return kind == Kind::Integer || kind == Kind::Real;
  if (has("char") || has("clob") || has("text")) return kind == Kind::Text;
  if (has("blob") || type.empty()) return true;
  return kind != Kind::Blob;
}

bool fitsShape(const StoredRow& row, const TableShape& shape) {
  if (row.values.size() != shape.declaredTypes.size()) return false;
  for (std::size_t i = 0; i < row.values.size(); ++i)
    if (!fits(shape.declaredTypes[i], row.values[i].kind)) return false;
  return true;
}

using RowIds = std::set<std::int64_t>;

// The table whose tree most lacks the leaf's rows, when there is exactly one.
const TableShape* ownerOf(const std::vector<StoredRow>& rows, const std::vector<TableShape>& shapes,
                          const std::map<std::string, PageRows>& found,
                          const std::map<std::string, RowIds>& reached,
                          const IndexWitness& witness) {
  std::vector<const TableShape*> best;
  std::size_t bestScore = 0;
  for (const TableShape& shape : shapes) {
    const auto inTree = reached.find(shape.name);
    const auto belongs = [&](const StoredRow& row) {
      return fitsShape(row, shape) &&
             (inTree == reached.end() || inTree->second.count(row.rowid) == 0) &&
             witness(shape, row);
    };
    const auto score = static_cast<std::size_t>(std::count_if(rows.begin(), rows.end(), belongs));
    if (score == 0 || score < bestScore) continue;
    if (score > bestScore) best.clear();
    bestScore = score;
    best.push_back(&shape);
  }
  if (best.size() == 1) return best.front();
  const auto treeless = [&](const TableShape* shape) {
    const auto table = found.find(shape->name);
    return table == found.end() || !table->second.treeFound;
  };
  return std::count_if(best.begin(), best.end(), treeless) == 1
             ? *std::find_if(best.begin(), best.end(), treeless)
             : nullptr;
}

void addLeaf(const FilePages& pages, PageNumber leaf, PageRows& into) {
  auto rows = pages.rowsOn(leaf, into.damagedCells);
  std::move(rows.begin(), rows.end(), std::back_inserter(into.rows));
}

}  // namespace

std::map<std::string, PageRows> rowsOnPages(const FilePages& pages,
                                            const std::vector<TableShape>& shapes,
                                            const IndexWitness& witness) {
  std::map<std::string, PageRows> found;
  std::set<PageNumber> seen;
  // The schema table's own leaves, then every table's tree the schema still names.
  static_cast<void>(pages.leavesUnder(1, seen));
  for (const StoredTable& table : pages.tables()) {
    const auto shape = std::find_if(shapes.begin(), shapes.end(),
                                    [&](const TableShape& s) { return s.name == table.name; });
    const auto leaves = pages.leavesUnder(table.root, seen);
    if (shape == shapes.end()) continue;
    found[table.name].treeFound = true;
    for (const PageNumber leaf : leaves) addLeaf(pages, leaf, found[table.name]);
  }
  std::map<std::string, RowIds> reached;
  for (const auto& [table, rows] : found)
    for (const StoredRow& row : rows.rows) reached[table].insert(row.rowid);
  // Leaves cut off from their tree: their records tell whose they are.
  for (const PageNumber leaf : pages.tableLeaves()) {
    if (seen.count(leaf) != 0) continue;
    std::int64_t damaged = 0;
    const auto rows = pages.rowsOn(leaf, damaged);
    const TableShape* owner = ownerOf(rows, shapes, found, reached, witness);
    if (!owner) continue;
    addLeaf(pages, leaf, found[owner->name]);
    for (const StoredRow& row : rows) reached[owner->name].insert(row.rowid);
  }
  return found;
}

}  // namespace veltra::db::engine
