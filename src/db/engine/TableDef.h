#pragma once
// A table definition being built: fields are collected and checked here,
// the table is created in the register on append, indexes go in after (or
// are kept until) append. Each engine writes its own statements.

#include <string>
#include <vector>

#include "db/engine/EngineStatus.h"
#include "db/engine/SchemaTypes.h"

namespace veltra::db::engine {

class EngineDatabase;

class TableDef {
 public:
  TableDef(EngineDatabase& db, std::string name) : db_(db), name_(std::move(name)) {}
  virtual ~TableDef() = default;
  TableDef(const TableDef&) = delete;
  TableDef& operator=(const TableDef&) = delete;

  const std::string& name() const { return name_; }
  EngineStatus createField(const FieldDef& field);
  EngineStatus append();
  EngineStatus createIndex(const IndexDef& index);

  // The CREATE TABLE statement append would run.
  virtual std::string createTableSql() const = 0;

 protected:
  const std::vector<FieldDef>& fields() const { return fields_; }
  // The CREATE INDEX statement of an index on this table, the same on every engine.
  std::string createIndexSql(const IndexDef& index) const;

 private:
  // The engine's part of append: refuses a table that exists, then creates
  // it with the given indexes, all or nothing.
  virtual EngineStatus appendToDatabase(const std::vector<IndexDef>& indexes) = 0;
  // An index on the table already in the register; refused when its name or
  // a second primary key is taken.
  EngineStatus createIndexInDatabase(const IndexDef& index);

  EngineDatabase& db_;
  std::string name_;
  std::vector<FieldDef> fields_;
  std::vector<IndexDef> pendingIndexes_;
  bool appended_ = false;
};

// Names the register gives an index: unique per database, mapped back to the table-local name.
std::string physicalIndexName(const std::string& table, const std::string& index, bool primary);
std::string quoteIdentifier(std::string_view name);
// A text as an SQL string literal.
std::string quoteLiteral(std::string_view text);
// An index already in the table with that name, or a second primary key: the refusal, else success.
EngineStatus indexNameFree(const TableInfo& table, const IndexDef& index);

}  // namespace veltra::db::engine
