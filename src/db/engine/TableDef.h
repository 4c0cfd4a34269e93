#pragma once
// A table definition being built: fields are collected, the table is
// created in the file on append, indexes go in after (or are kept until) append.

#include <string>
#include <vector>

#include "db/engine/EngineStatus.h"
#include "db/engine/SchemaTypes.h"

namespace veltra::db::engine {

class EngineDatabase;

class TableDef {
 public:
  TableDef(EngineDatabase& db, std::string name);

  const std::string& name() const { return name_; }
  EngineStatus createField(const FieldDef& field);
  EngineStatus append();
  EngineStatus createIndex(const IndexDef& index);

  // The CREATE TABLE statement append would run.
  std::string createTableSql() const;

 private:
  EngineStatus createIndexInFile(const IndexDef& index);

  EngineDatabase& db_;
  std::string name_;
  std::vector<FieldDef> fields_;
  std::vector<IndexDef> pendingIndexes_;
  bool appended_ = false;
};

// Names the file gives an index: unique per database, mapped back to the table-local name.
std::string physicalIndexName(const std::string& table, const std::string& index, bool primary);
std::string quoteIdentifier(std::string_view name);

}  // namespace veltra::db::engine
