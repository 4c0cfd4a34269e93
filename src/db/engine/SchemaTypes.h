#pragma once
// Descriptions of fields, indexes and relations as the schema operations take
// them, and what the adapter reads back from an existing table.

#include <string>
#include <string_view>
#include <vector>

#include "db/FieldValue.h"
#include "db/PlainText.h"

namespace veltra::db::engine {

// Object names compare without regard to case (EqualsIgnoringCase), as the
// engine compares them.

struct FieldDef {
  std::string name;
  FieldType type = FieldType::Text;
  int size = 0;  // characters, for Text only
  int ordinalPosition = 0;
  bool required = false;
  bool allowZeroLength = false;
  std::string validationRule;  // kept in the dictionary; the engine enforces none
  std::string validationText;
  std::string defaultValue;
};

struct IndexField {
  std::string name;
  bool descending = false;
};

struct IndexDef {
  std::string name;
  std::vector<IndexField> fields;
  bool primary = false;
  bool unique = false;
  bool clustered = true;
  bool ignoreNulls = true;
  bool required = false;
};

struct RelationFieldPair {
  std::string field;         // in the referenced table
  std::string foreignField;  // in the referencing table
};

struct RelationDef {
  std::string name;
  std::string table;         // referenced
  std::string foreignTable;  // referencing
  int attributes = 0;
  std::vector<RelationFieldPair> fields;
};

struct ColumnInfo {
  std::string name;
  FieldType type = FieldType::Text;
  int size = 0;
  bool required = false;
  bool allowZeroLength = true;
};

struct IndexInfo {
  std::string name;          // the table-local name the program uses
  std::string physicalName;  // the name in the file, unique per database
  std::vector<std::string> fields;
  bool primary = false;
  bool unique = false;
};

struct TableInfo {
  std::string name;
  std::vector<ColumnInfo> columns;
  std::vector<IndexInfo> indexes;
  std::vector<RelationDef> relations;  // those in which this table is the referencing one

  // Position of a column by name (case-insensitive, as the engine compares names), or -1.
  int columnIndex(std::string_view column) const;
  const IndexInfo* index(std::string_view indexName) const;
};

}  // namespace veltra::db::engine
