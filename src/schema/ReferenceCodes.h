#pragma once
// The regional code lists every new database starts with: the companies
// (regazi) and the ambits (regprv). Communications, vehicles and reports refer
// to these codes, so they are the same in every database the program creates.

#include <cstdint>
#include <span>
#include <string_view>

namespace veltra::db {
class DatabaseConnection;
}

namespace veltra::schema {

struct CodeRecord {
  std::int32_t code;
  std::string_view name;  // at most 40 characters, the size of denom
};

// Codes 0 to 203, ascending. Code 0 and a few retired codes are placeholders
// whose text says what they stand for.
std::span<const CodeRecord> CompanyCodes();
// Codes 0 to 11, ascending; code 0 is the placeholder for no ambit body.
std::span<const CodeRecord> AmbitCodes();

// Companies, then ambits. A row that cannot be written is reported by its
// cursor and the seeding goes on.
void SeedReferenceTables(db::DatabaseConnection& connection);
void SeedCompanyCodes(db::DatabaseConnection& connection);
void SeedAmbitCodes(db::DatabaseConnection& connection);

}  // namespace veltra::schema
