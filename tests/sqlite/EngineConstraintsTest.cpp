// The file itself refuses what the schema forbids, whoever writes to it: the
// cursor gets a sentence that names the field, index or relation at fault,
// and a plain SQLite client is refused too.

#include <gtest/gtest.h>

#include "RawSqliteFile.h"
#include "db/DbFixture.h"
#include "db/TableCursor.h"
#include "db/engine/EngineDatabase.h"

namespace veltra::db {
namespace {

class EngineConstraintsTest : public testing::DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    TableCursor azi(connection.get(), "azi");
    azi.AddNew();
    azi.SetField("codice", "1");
    azi.SetField("denom", "Una");
    ASSERT_TRUE(azi.Update());
  }

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

  // Runs a statement on the file with a plain SQLite client; returns its result code.
  int rawExecute(const std::string& sql) { return testing::executeOnFile(path, sql); }
};

// These read the file itself.
INSTANTIATE_TEST_SUITE_P(File, EngineConstraintsTest, ::testing::Values(testing::TestEngine::File),
                         testing::engineName);

TEST_P(EngineConstraintsTest, CursorWritesAreRefusedWithTheCulpritNamed) {
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

TEST_P(EngineConstraintsTest, ZeroLengthTextIsRefusedWhereNotAllowed) {
  // The cursor turns "" into NULL; a zero-length text can only come from elsewhere.
  EXPECT_NE(rawExecute("INSERT INTO azi (codice, denom) VALUES (3, '')"), SQLITE_OK);
  EXPECT_EQ(
      rawExecute(
          "INSERT INTO mezzi (telaio, data, azienda, interno) VALUES ('Z', '2004-01-01', 1, '')"),
      SQLITE_OK);
}

TEST_P(EngineConstraintsTest, TheFileRefusesWhatTheTypesCannotHold) {
  const std::string insert = "INSERT INTO mezzi (telaio, data, azienda";
  EXPECT_EQ(rawExecute(insert + ") VALUES ('R1', '2004-02-29', 1)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ") VALUES ('R2', '2004-02-30', 1)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ") VALUES ('R3', '05/03/2004', 1)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ") VALUES ('R4', '2004-01-01', 40000)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ") VALUES ('R5', '2004-01-01', 'uno')"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ") VALUES ('ABCDEFGHIJK', '2004-01-01', 1)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ", aria) VALUES ('R6', '2004-01-01', 1, 2)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ", posti) VALUES ('R7', '2004-01-01', 1, 3000000000)"), SQLITE_OK);
  EXPECT_NE(rawExecute(insert + ") VALUES ('R8', '2004-01-01', 5)"), SQLITE_OK);
  EXPECT_NE(rawExecute("DELETE FROM azi WHERE codice = 1"), SQLITE_OK)
      << "a referenced row cannot go while rows refer to it";
}

TEST_P(EngineConstraintsTest, SchemaReadsBackAsBuilt) {
  engine::TableInfo info;
  ASSERT_TRUE(connection->engineDatabase()->loadTable("MEZZI", info));
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

TEST_P(EngineConstraintsTest, RelationsAreCheckedWhenMade) {
  engine::EngineDatabase& db = *connection->engineDatabase();
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
