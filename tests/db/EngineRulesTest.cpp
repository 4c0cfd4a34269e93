// The engine refuses what the schema forbids, with a sentence that names the
// field, index or relation at fault, and gives the schema back as built.

#include <gtest/gtest.h>

#include "db/DbFixture.h"
#include "db/TableCursor.h"
#include "db/engine/EngineDatabase.h"

namespace veltra::db {
namespace {

class EngineRulesTest : public testing::DbWithCompanyTest {
 protected:
  // Writes a vehicle; returns the engine's description of the refusal, or "".
  std::string refusal(std::initializer_list<std::pair<const char*, const char*>> values) {
    prompter.clear();
    TableCursor mezzi(connection.get(), "mezzi");
    mezzi.AddNew();
    for (const auto& [name, value] : values) EXPECT_TRUE(mezzi.SetField(name, value)) << name;
    if (mezzi.Update()) return "";
    EXPECT_EQ(prompter.messages.size(), 1u);
    const std::string& text = prompter.messages.back().text;
    EXPECT_EQ(text.rfind("Errore aggiornamento tavola (mezzi)\n\n", 0), 0u) << text;
    return text.substr(text.find("\n\n") + 2);
  }
};

INSTANTIATE_TEST_SUITE_P(Engines, EngineRulesTest, ::testing::ValuesIn(testing::testEngines()),
                         testing::engineName);

TEST_P(EngineRulesTest, CursorWritesAreRefusedWithTheCulpritNamed) {
  EXPECT_EQ(refusal({{"telaio", "A"}, {"data", "01/01/2004"}, {"azienda", "1"}}), "");
  EXPECT_EQ(refusal({{"telaio", "B"}, {"data", "01/01/2004"}}),
            "Il campo \"mezzi.azienda\" non può contenere un valore nullo: è obbligatorio.");
  EXPECT_EQ(
      refusal({{"telaio", "A"}, {"data", "01/01/2004"}, {"azienda", "1"}}),
      "Il record non è stato salvato perché creerebbe un valore duplicato nell'indice \"codice\" "
      "della tavola \"mezzi\", che non ammette duplicati.");
  EXPECT_EQ(refusal({{"telaio", "a"}, {"data", "01/01/2004"}, {"azienda", "1"}}).empty(), false)
      << "keys compare without case";
  EXPECT_EQ(
      refusal({{"telaio", "C"}, {"data", "01/01/2004"}, {"azienda", "9"}}),
      "Il record non può essere aggiunto o modificato: la relazione \"mezzi_azi\" richiede un "
      "record corrispondente nella tavola \"azi\".");
}

TEST_P(EngineRulesTest, SchemaReadsBackAsBuilt) {
  engine::TableInfo info;
  ASSERT_TRUE(connection->EngineDatabase()->loadTable("MEZZI", info));
  EXPECT_EQ(info.name, "mezzi");
  ASSERT_EQ(info.columns.size(), 11u);
  EXPECT_EQ(info.columns[0].type, FieldType::Text);
  EXPECT_EQ(info.columns[0].size, 10);
  EXPECT_TRUE(info.columns[0].required);
  EXPECT_FALSE(info.columns[0].allowZeroLength);
  EXPECT_TRUE(info.columns[3].allowZeroLength);
  EXPECT_EQ(info.columns[6].type, FieldType::Currency);
  ASSERT_EQ(info.indexes.size(), 1u);
  EXPECT_EQ(info.indexes[0].name, "codice");
  EXPECT_TRUE(info.indexes[0].primary);
  EXPECT_EQ(info.indexes[0].fields, (std::vector<std::string>{"telaio", "data"}));
  ASSERT_EQ(info.relations.size(), 1u);
  EXPECT_EQ(info.relations[0].name, "mezzi_azi");
  EXPECT_EQ(info.relations[0].table, "azi");
  EXPECT_EQ(info.relations[0].fields[0].foreignField, "azienda");
}

TEST_P(EngineRulesTest, RelationsAreCheckedWhenMade) {
  engine::EngineDatabase& db = *connection->EngineDatabase();
  // Referenced fields without a unique index, and a name already taken.
  EXPECT_FALSE(db.createRelation({"r1", "mezzi", "azi", 0, {{"azienda", "codice"}}}));
  EXPECT_FALSE(db.createRelation({"mezzi_azi", "azi", "mezzi", 0, {{"codice", "azienda"}}}));
  EXPECT_FALSE(db.createRelation({"r2", "azi", "mezzi", 0, {{"codice", "nessuno"}}}));
  auto table = db.createTableDef("bad");
  EXPECT_FALSE(table->createField(testing::field("a.b", FieldType::Text, 5)));
  EXPECT_FALSE(table->createField(testing::field("t", FieldType::Text, 0)));
  EXPECT_FALSE(table->createField(testing::field("u", static_cast<FieldType>(99))));
  ASSERT_TRUE(table->createField(testing::field("ok", FieldType::Text, 5)));
  EXPECT_FALSE(table->createField(testing::field("OK", FieldType::Long)));
  EXPECT_FALSE(db.createTableDef("azi")->append()) << "no fields";
}

}  // namespace
}  // namespace veltra::db
