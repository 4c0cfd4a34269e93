#include <gtest/gtest.h>

#include "SchemaTestSupport.h"
#include "db/engine/TableDef.h"
#include "schema/SpecialTables.h"

namespace veltra::schema {
namespace {

using db::FieldType;
using testing::columnNames;
using testing::hasTable;
using testing::RecordingPrompter;
using testing::tableInfo;
using testing::TempDir;

// Runs on every test engine.
class SpecialTablesTest : public ::testing::TestWithParam<testing::TestEngine> {
 protected:
  SpecialTablesTest() {
    db::engine::EngineStatus status;
    engine = db::engine::EngineDatabase::create(
        testing::newRegisterLocator(GetParam(), dir, "speciali.mdb"), status);
  }
  db::DatabaseConnection& connection() {
    if (!connection_) connection_ = std::make_unique<db::DatabaseConnection>(readers, *engine);
    return *connection_;
  }

  TempDir dir;
  RecordingPrompter prompter;
  RecordingPrompter readers;
  std::unique_ptr<db::engine::EngineDatabase> engine;

 private:
  std::unique_ptr<db::DatabaseConnection> connection_;
};

INSTANTIATE_TEST_SUITE_P(Engines, SpecialTablesTest, ::testing::ValuesIn(testing::testEngines()),
                         testing::engineName);

TEST_P(SpecialTablesTest, CreatesTheSevenTablesWithTheirFieldsAndIndexes) {
  ASSERT_TRUE(CreateSpecialTables(prompter, *engine));
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(prompter.busyCalls, std::vector<bool>{false});

  const auto campi = tableInfo(connection(), "campi");
  EXPECT_EQ(columnNames(campi),
            (std::vector<std::string>{"tavola", "nome", "tipo", "size", "obblig", "denom", "note",
                                      "regola", "mess"}));
  EXPECT_EQ(campi.columns[2].type, FieldType::Text);
  EXPECT_EQ(campi.columns[2].size, 1);
  EXPECT_EQ(campi.columns[3].type, FieldType::Integer);
  EXPECT_EQ(campi.columns[4].type, FieldType::Boolean);
  EXPECT_EQ(campi.columns[8].size, 240);
  for (const auto& column : campi.columns) {
    EXPECT_FALSE(column.required) << column.name;
    if (column.type == FieldType::Text) {
      EXPECT_TRUE(column.allowZeroLength) << column.name;
    }
  }

  const auto expectIndex = [&](const std::string& table, const std::string& index,
                               const std::vector<std::string>& fields) {
    const auto info = tableInfo(connection(), table);
    ASSERT_EQ(info.indexes.size(), 1u) << table;
    EXPECT_EQ(info.indexes[0].name, index) << table;
    EXPECT_EQ(info.indexes[0].fields, fields) << table;
    EXPECT_FALSE(info.indexes[0].unique) << table;
    EXPECT_FALSE(info.indexes[0].primary) << table;
  };
  expectIndex("tavole", "nome", {"nome"});
  expectIndex("campi", "nome", {"tavola", "nome"});
  expectIndex("indici", "nome", {"tavola", "nome"});
  expectIndex("indici2", "elemento", {"tavola", "nome", "progr"});
  expectIndex("relaz", "nome", {"nome"});
  expectIndex("relaz2", "elemento", {"nome", "progr"});
  expectIndex("utenti", "nome", {"nome"});

  EXPECT_EQ(columnNames(tableInfo(connection(), "utenti")),
            (std::vector<std::string>{"nome", "denom", "passwd", "potere", "progetto"}));
  EXPECT_EQ(tableInfo(connection(), "relaz").columns[0].size, 16);
}

TEST_P(SpecialTablesTest, FieldFailureStopsAtItsTableWithOneMessage) {
  auto tables = SpecialTableDefinitions();
  ASSERT_EQ(tables[1].name, "campi");
  tables[1].fields[1].name = "no.me";  // a name the engine refuses
  EXPECT_FALSE(CreateSpecialTables(prompter, *engine, tables));

  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text.rfind("Errore in fase di inserimento campo \"no.me\"\n\n", 0),
            0u);
  EXPECT_EQ(prompter.messages[0].caption, "Creazione Tavole Speciali");
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Exclamation);
  EXPECT_EQ(columnNames(tableInfo(connection(), "tavole")),
            (std::vector<std::string>{"nome", "denom", "note"}));
  EXPECT_NE(tableInfo(connection(), "tavole").index("nome"), nullptr);
  for (const auto* table : {"campi", "indici", "utenti"})
    EXPECT_FALSE(hasTable(connection(), table)) << table;
}

TEST_P(SpecialTablesTest, TableTheFileAlreadyHoldsEndsCreationAfterIt) {
  auto existing = engine->createTableDef("indici");
  db::engine::FieldDef field;
  field.name = "x";
  field.type = FieldType::Long;
  ASSERT_TRUE(existing->createField(field).ok);
  ASSERT_TRUE(existing->append().ok);

  EXPECT_FALSE(CreateSpecialTables(prompter, *engine));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(
      prompter.messages[0].text.rfind("Errore in fase di inserimento tavola \"indici\"\n\n", 0),
      0u);
  EXPECT_TRUE(hasTable(connection(), "campi"));
  EXPECT_FALSE(hasTable(connection(), "indici2"));
}

}  // namespace
}  // namespace veltra::schema
