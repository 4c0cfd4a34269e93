#include "schema/DictionaryWriters.h"

#include <string>

#include "db/TableCursor.h"

namespace veltra::schema {

namespace {

std::string_view flagText(bool flag) {
  return flag ? "1" : "0";
}

}  // namespace

bool AddTableEntry(db::TableCursor& cursor, std::string_view table, std::string_view caption,
                   std::string_view description) {
  cursor.AddNew();
  cursor.SetField("nome", table);
  cursor.SetField("denom", caption);
  cursor.SetField("note", description);
  return cursor.Update();
}

bool AddFieldEntry(db::TableCursor& cursor, std::string_view table, std::string_view field,
                   char typeLetter, int size, bool obligatory, std::string_view caption,
                   std::string_view description, std::string_view rule, std::string_view message) {
  cursor.AddNew();
  cursor.SetField("tavola", table);
  cursor.SetField("nome", field);
  cursor.SetField("tipo", std::string(1, typeLetter));
  cursor.SetField("size", std::to_string(size));
  cursor.SetField("obblig", flagText(obligatory));
  cursor.SetField("denom", caption);
  cursor.SetField("note", description);
  cursor.SetField("regola", rule);
  cursor.SetField("mess", message);
  return cursor.Update();
}

bool AddIndexEntry(db::TableCursor& cursor, std::string_view table, std::string_view index,
                   bool primary, std::string_view caption, std::string_view description) {
  cursor.AddNew();
  cursor.SetField("tavola", table);
  cursor.SetField("nome", index);
  cursor.SetField("primkey", flagText(primary));
  cursor.SetField("denom", caption);
  cursor.SetField("note", description);
  return cursor.Update();
}

bool AddIndexFieldEntry(db::TableCursor& cursor, std::string_view table, std::string_view index,
                        int position, std::string_view field) {
  cursor.AddNew();
  cursor.SetField("tavola", table);
  cursor.SetField("nome", index);
  cursor.SetField("progr", std::to_string(position));
  cursor.SetField("campo", field);
  return cursor.Update();
}

bool AddRelationEntry(db::TableCursor& cursor, std::string_view relation,
                      std::string_view referencedTable, std::string_view referencingTable) {
  cursor.AddNew();
  cursor.SetField("nome", relation);
  cursor.SetField("interna", referencedTable);
  cursor.SetField("esterna", referencingTable);
  return cursor.Update();
}

bool AddRelationFieldEntry(db::TableCursor& cursor, std::string_view relation, int position,
                           std::string_view referencedField, std::string_view referencingField) {
  cursor.AddNew();
  cursor.SetField("nome", relation);
  cursor.SetField("progr", std::to_string(position));
  cursor.SetField("interno", referencedField);
  cursor.SetField("esterno", referencingField);
  return cursor.Update();
}

}  // namespace veltra::schema
