#pragma once
// The seven tables every new database starts with: the six of the data
// dictionary, which describe the application schema as rows, and utenti.

#include <string>
#include <vector>

#include "db/FieldValue.h"
#include "ui/Prompter.h"

namespace veltra::db::engine {
class EngineDatabase;
}

namespace veltra::schema {

struct SpecialField {
  std::string name;
  db::FieldType type;
  int size;  // characters, for Text only
};

struct SpecialTable {
  std::string name;
  std::vector<SpecialField> fields;
  std::string indexName;
  std::vector<std::string> indexFields;
};

// tavole, campi, indici, indici2, relaz, relaz2, utenti, in the order they are created.
std::vector<SpecialTable> SpecialTableDefinitions();

// Creates the special tables in a new, empty database. A failure is shown
// (caption "Creazione Tavole Speciali") and stops at the table where it
// happened; the tables already made stay in the file.
bool CreateSpecialTables(ui::Prompter& prompter, db::engine::EngineDatabase& database);
bool CreateSpecialTables(ui::Prompter& prompter, db::engine::EngineDatabase& database,
                         const std::vector<SpecialTable>& tables);

}  // namespace veltra::schema
