#pragma once
// Builds the application tables, their indexes and the relations by reading
// the data dictionary back: the schema exists as data before it exists as tables.
// Queries run on the connection; the schema objects are made on the engine
// database, which is open on the same file.

#include <string>

#include "ui/Prompter.h"

namespace veltra::db {
class DatabaseConnection;
namespace engine {
class EngineDatabase;
}
}  // namespace veltra::db

namespace veltra::schema {

// Every table of tavole, in name order; stops at the first table that fails.
bool CreateTablesFromDictionary(ui::Prompter& prompter, db::DatabaseConnection& connection,
                                db::engine::EngineDatabase& database);

// One table with its fields (campi) and indexes (indici, indici2). A field
// that fails leaves the table out of the file; a failed index leaves the table
// without it. Either way the result is false.
bool CreateTableFromDictionary(ui::Prompter& prompter, const std::string& table,
                               db::DatabaseConnection& connection,
                               db::engine::EngineDatabase& database);

// Every relation of relaz with its field pairs (relaz2); a failed relation is
// reported and the others are still made.
bool CreateRelationsFromDictionary(ui::Prompter& prompter, db::DatabaseConnection& connection,
                                   db::engine::EngineDatabase& database);

}  // namespace veltra::schema
