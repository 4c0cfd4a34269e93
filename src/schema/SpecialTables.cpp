#include "schema/SpecialTables.h"

#include "db/engine/EngineDatabase.h"
#include "db/engine/TableDef.h"

namespace veltra::schema {

namespace {

using db::FieldType;
using db::engine::EngineStatus;

constexpr std::string_view Caption = "Creazione Tavole Speciali";

void report(ui::Prompter& prompter, const std::string& sentence, const EngineStatus& status) {
  prompter.message(sentence + "\n\n" + status.text, ui::Icon::Exclamation, ui::Buttons::Ok,
                   Caption);
}

db::engine::FieldDef fieldDefinition(const SpecialField& field, int ordinalPosition) {
  const bool isText = field.type == FieldType::Text;
  return {.name = field.name,
          .type = field.type,
          .size = isText ? field.size : 0,
          .ordinalPosition = ordinalPosition,
          .required = false,
          .allowZeroLength = isText,
          .validationRule = {},
          .validationText = {},
          .defaultValue = {}};
}

// The dictionary allows duplicate keys: its indexes only speed up reading it back.
db::engine::IndexDef indexDefinition(const SpecialTable& table) {
  db::engine::IndexDef index{.name = table.indexName,
                             .fields = {},
                             .primary = false,
                             .unique = false,
                             .clustered = true,
                             .ignoreNulls = true,
                             .required = false};
  for (const auto& field : table.indexFields) index.fields.push_back({field, false});
  return index;
}

bool createSpecialTable(ui::Prompter& prompter, db::engine::EngineDatabase& database,
                        const SpecialTable& table) {
  auto definition = database.createTableDef(table.name);
  int ordinalPosition = 1;
  for (const auto& field : table.fields) {
    const EngineStatus status = definition->createField(fieldDefinition(field, ordinalPosition++));
    if (!status) {
      report(prompter, "Errore in fase di inserimento campo \"" + field.name + "\"", status);
      return false;
    }
  }
  bool ok = true;
  if (const EngineStatus status = definition->append(); !status) {
    report(prompter, "Errore in fase di inserimento tavola \"" + table.name + "\"", status);
    ok = false;
  }
  if (const EngineStatus status = definition->createIndex(indexDefinition(table)); !status) {
    report(prompter,
           "Tavola \"" + table.name + "\": errore creazione indice \"" + table.indexName + "\"",
           status);
    ok = false;
  }
  return ok;
}

}  // namespace

std::vector<SpecialTable> SpecialTableDefinitions() {
  const auto text = [](const char* name, int size) {
    return SpecialField{name, FieldType::Text, size};
  };
  const auto integer = [](const char* name) { return SpecialField{name, FieldType::Integer, 0}; };
  const auto boolean = [](const char* name) { return SpecialField{name, FieldType::Boolean, 0}; };
  return {
      {"tavole", {text("nome", 8), text("denom", 30), text("note", 240)}, "nome", {"nome"}},
      {"campi",
       {text("tavola", 8), text("nome", 8), text("tipo", 1), integer("size"), boolean("obblig"),
        text("denom", 30), text("note", 240), text("regola", 240), text("mess", 240)},
       "nome",
       {"tavola", "nome"}},
      {"indici",
       {text("tavola", 8), text("nome", 8), boolean("primkey"), text("denom", 30),
        text("note", 240)},
       "nome",
       {"tavola", "nome"}},
      {"indici2",
       {text("tavola", 8), text("nome", 8), integer("progr"), text("campo", 8)},
       "elemento",
       {"tavola", "nome", "progr"}},
      {"relaz", {text("nome", 16), text("interna", 8), text("esterna", 8)}, "nome", {"nome"}},
      {"relaz2",
       {text("nome", 16), integer("progr"), text("interno", 8), text("esterno", 8)},
       "elemento",
       {"nome", "progr"}},
      {"utenti",
       {text("nome", 8), text("denom", 30), text("passwd", 9), integer("potere"),
        integer("progetto")},
       "nome",
       {"nome"}},
  };
}

bool CreateSpecialTables(ui::Prompter& prompter, db::engine::EngineDatabase& database) {
  return CreateSpecialTables(prompter, database, SpecialTableDefinitions());
}

bool CreateSpecialTables(ui::Prompter& prompter, db::engine::EngineDatabase& database,
                         const std::vector<SpecialTable>& tables) {
  prompter.beginBusy(false);
  for (const auto& table : tables)
    if (!createSpecialTable(prompter, database, table)) return false;
  return true;
}

}  // namespace veltra::schema
