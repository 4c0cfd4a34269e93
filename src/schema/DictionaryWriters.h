#pragma once
// The writers of the data dictionary: one row each, written as text through a
// TableCursor opened on the dictionary table. AddNew and SetField report their
// own failures; the result is that of Update.

#include <string_view>

namespace veltra::db {
class TableCursor;
}

namespace veltra::schema {

// tavole
bool AddTableEntry(db::TableCursor& cursor, std::string_view table, std::string_view caption,
                   std::string_view description);
// campi; an empty rule or message is stored as null, meaning none.
bool AddFieldEntry(db::TableCursor& cursor, std::string_view table, std::string_view field,
                   char typeLetter, int size, bool obligatory, std::string_view caption,
                   std::string_view description, std::string_view rule, std::string_view message);
// indici
bool AddIndexEntry(db::TableCursor& cursor, std::string_view table, std::string_view index,
                   bool primary, std::string_view caption, std::string_view description);
// indici2; positions count from 0.
bool AddIndexFieldEntry(db::TableCursor& cursor, std::string_view table, std::string_view index,
                        int position, std::string_view field);
// relaz
bool AddRelationEntry(db::TableCursor& cursor, std::string_view relation,
                      std::string_view referencedTable, std::string_view referencingTable);
// relaz2; positions count from 0.
bool AddRelationFieldEntry(db::TableCursor& cursor, std::string_view relation, int position,
                           std::string_view referencedField, std::string_view referencingField);

}  // namespace veltra::schema
