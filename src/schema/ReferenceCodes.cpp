#include "schema/ReferenceCodes.h"

#include <string>

#include "db/DatabaseConnection.h"
#include "db/TableCursor.h"

namespace veltra::schema {

namespace {

void seedCodes(db::DatabaseConnection& connection, const std::string& table,
               std::span<const CodeRecord> records) {
  db::BulkTransaction transaction(connection);
  {
    db::TableCursor cursor(&connection, table);
    cursor.SelectIndex("codice");
    for (const auto& record : records) {
      // A full disk or an I/O error ends the transaction: writing on is useless.
      if (!transaction.Ok()) break;
      cursor.AddNew();
      cursor.SetField("codice", std::to_string(record.code));
      cursor.SetField("denom", record.name);
      cursor.Update();
    }
  }
  transaction.Commit();
}

}  // namespace

void SeedReferenceTables(db::DatabaseConnection& connection) {
  SeedCompanyCodes(connection);
  SeedAmbitCodes(connection);
}

void SeedCompanyCodes(db::DatabaseConnection& connection) {
  seedCodes(connection, "regazi", CompanyCodes());
}

void SeedAmbitCodes(db::DatabaseConnection& connection) {
  seedCodes(connection, "regprv", AmbitCodes());
}

}  // namespace veltra::schema
