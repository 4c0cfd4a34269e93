#pragma once
// The application schema (regazi, regprv, comunica, bus, storia, their primary
// keys and the six relations), written as rows of the data dictionary. The
// tables themselves are then built by reading those rows back.

#include "db/TableCursor.h"

namespace veltra::db {
class DatabaseConnection;
}

namespace veltra::schema {

// Cursors on the six dictionary tables, opened in this order.
struct DictionaryCursors {
  explicit DictionaryCursors(db::DatabaseConnection& connection);
  db::TableCursor tavole;
  db::TableCursor campi;
  db::TableCursor indici;
  db::TableCursor indici2;
  db::TableCursor relaz;
  db::TableCursor relaz2;
};

// Writes every row of the application schema. A row that cannot be written
// is reported by its cursor and the writing goes on.
void WriteApplicationDictionary(DictionaryCursors& cursors);

}  // namespace veltra::schema
