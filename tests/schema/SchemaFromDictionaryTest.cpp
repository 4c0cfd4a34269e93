#include <gtest/gtest.h>

#include <algorithm>

#include "SchemaTestSupport.h"
#include "schema/ApplicationSchema.h"
#include "schema/DictionaryWriters.h"
#include "schema/SchemaFromDictionary.h"

namespace veltra::schema {
namespace {

using db::FieldType;
using testing::columnNames;
using testing::DictionaryDatabase;
using testing::hasTable;
using testing::tableInfo;

// Runs on every test engine.
class SchemaFromDictionaryTest : public ::testing::TestWithParam<testing::TestEngine> {};

INSTANTIATE_TEST_SUITE_P(Engines, SchemaFromDictionaryTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(SchemaFromDictionaryTest, FieldsTakeTheOrderOfTheSchema) {
  DictionaryDatabase database(GetParam());
  EXPECT_TRUE(
      CreateTablesFromDictionary(database.prompter, database.connection(), database.engine()));
  EXPECT_TRUE(database.prompter.messages.empty());
  EXPECT_EQ(database.prompter.busyCalls, std::vector<bool>{false});
  const std::vector<std::string> vehicleFields = {
      "telaio", "data",    "azienda",  "ambito", "prop",    "interno", "libretto",
      "targa",  "prima",   "tipo",     "dtimm",  "dest",    "carroz",  "aliment",
      "sedere", "piedi",   "handicap", "lung",   "altezza", "aria",    "pedana",
      "prezzo", "contrib", "contrib2", "atto",   "datini",  "datfin",  "datrad"};
  EXPECT_EQ(columnNames(tableInfo(database.connection(), "bus")), vehicleFields);
  EXPECT_EQ(columnNames(tableInfo(database.connection(), "storia")), vehicleFields);
  EXPECT_EQ(columnNames(tableInfo(database.connection(), "regazi")),
            (std::vector<std::string>{"codice", "denom", "attiva"}));
}

TEST_P(SchemaFromDictionaryTest, FieldNameTheEngineRefusesStopsAtItsTable) {
  DictionaryDatabase database(GetParam());
  {
    DictionaryCursors cursors(database.connection());
    AddFieldEntry(cursors.campi, "storia", "n.ro", 'I', 0, true, "Numero", "", "", "");
  }
  EXPECT_FALSE(
      CreateTablesFromDictionary(database.prompter, database.connection(), database.engine()));
  ASSERT_EQ(database.prompter.messages.size(), 1u);
  EXPECT_EQ(database.prompter.messages[0].text.rfind(
                "Errore in fase di inserimento campo \"n.ro\"\n\n", 0),
            0u);
  EXPECT_EQ(database.prompter.messages[0].caption, "Creazione Tavola \"storia\"");
  for (const auto* table : {"bus", "comunica", "regazi", "regprv"})
    EXPECT_TRUE(hasTable(database.connection(), table)) << table;
  EXPECT_FALSE(hasTable(database.connection(), "storia"));
}

// A dictionary of one table, prova, written by each test; on every test engine.
class OneTableTest : public ::testing::TestWithParam<testing::TestEngine> {
 protected:
  OneTableTest() : database(GetParam(), false), cursors(database.connection()) {}

  void field(const char* name, char letter, int size, bool obligatory) {
    AddFieldEntry(cursors.campi, "prova", name, letter, size, obligatory, "", "", "", "");
  }
  void index(const char* name, bool primary, std::vector<std::pair<int, std::string>> fields) {
    AddIndexEntry(cursors.indici, "prova", name, primary, "", "");
    for (const auto& [position, fieldName] : fields)
      AddIndexFieldEntry(cursors.indici2, "prova", name, position, fieldName);
  }
  bool create() {
    return CreateTableFromDictionary(database.prompter, "prova", database.connection(),
                                     database.engine());
  }

  DictionaryDatabase database;
  DictionaryCursors cursors;
};

INSTANTIATE_TEST_SUITE_P(Engines, OneTableTest, ::testing::ValuesIn(testing::testEngines()),
                         testing::engineName);

TEST_P(OneTableTest, TypeLettersSizesAndObligatoryFlagsBecomeFieldProperties) {
  field("testo", 'A', 12, false);
  field("nota", 'A', 5, true);
  field("flag", 'B', 0, true);
  field("giorno", 'D', 0, false);
  field("valore", 'F', 0, false);
  field("numero", 'I', 7, true);
  field("lungo", 'L', 0, false);
  field("memo", 'M', 0, false);
  field("importo", 'N', 0, false);
  field("dati", 'O', 0, false);
  ASSERT_TRUE(create());
  EXPECT_TRUE(database.prompter.messages.empty());

  const auto info = tableInfo(database.connection(), "prova");
  ASSERT_EQ(info.columns.size(), 10u);
  const std::vector<FieldType> types = {
      FieldType::Text,     FieldType::Text,      FieldType::Boolean, FieldType::Date,
      FieldType::Double,   FieldType::Integer,   FieldType::Long,    FieldType::Memo,
      FieldType::Currency, FieldType::LongBinary};
  for (size_t i = 0; i < types.size(); ++i) EXPECT_EQ(info.columns[i].type, types[i]) << i;
  EXPECT_EQ(info.columns[0].size, 12);
  EXPECT_EQ(info.columns[1].size, 5);
  EXPECT_TRUE(info.columns[0].allowZeroLength);  // text, not obligatory
  EXPECT_FALSE(info.columns[0].required);
  EXPECT_FALSE(info.columns[1].allowZeroLength);  // text, obligatory
  EXPECT_TRUE(info.columns[1].required);
  EXPECT_TRUE(info.columns[2].required);
  EXPECT_TRUE(info.columns[5].required);
  EXPECT_FALSE(info.columns[6].required);
}

TEST_P(OneTableTest, UnknownTypeLetterIsRefusedAndTheTableLeftOut) {
  field("primo", 'I', 0, false);
  field("strano", 'Z', 0, false);
  EXPECT_FALSE(create());
  ASSERT_EQ(database.prompter.messages.size(), 1u);
  EXPECT_EQ(database.prompter.messages[0].text.rfind(
                "Errore in fase di inserimento campo \"strano\"\n\n", 0),
            0u);
  EXPECT_EQ(database.prompter.messages[0].icon, ui::Icon::Exclamation);
  EXPECT_FALSE(hasTable(database.connection(), "prova"));
}

TEST_P(OneTableTest, IndexFieldsFollowTheirPositionsWhateverTheRowOrder) {
  field("a", 'I', 0, true);
  field("b", 'A', 10, true);
  index("chiave", true, {{1, "b"}, {0, "a"}});
  index("altro", false, {{0, "b"}});
  ASSERT_TRUE(create());
  const auto info = tableInfo(database.connection(), "prova");
  const auto* key = info.index("chiave");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->fields, (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(key->primary);
  EXPECT_TRUE(key->unique);
  const auto* other = info.index("altro");
  ASSERT_NE(other, nullptr);
  EXPECT_FALSE(other->unique);
}

TEST_P(OneTableTest, IndexThatFailsLeavesTheTableAndItsOtherIndexes) {
  field("a", 'I', 0, true);
  field("b", 'I', 0, true);
  index("buco", false, {{0, "a"}, {2, "b"}});
  index("oltre", false, {{10, "a"}});
  index("ignoto", false, {{0, "zeta"}});
  index("buono", false, {{0, "b"}});
  EXPECT_FALSE(create());
  std::vector<std::string> failed;
  for (const auto& message : database.prompter.messages) {
    const auto end = message.text.find("\n\n");
    ASSERT_NE(end, std::string::npos);
    failed.push_back(message.text.substr(0, end));
    EXPECT_EQ(message.caption, "Creazione Tavola \"prova\"");
  }
  std::sort(failed.begin(), failed.end());
  EXPECT_EQ(failed,
            (std::vector<std::string>{"Tavola \"prova\": errore creazione indice \"buco\"",
                                      "Tavola \"prova\": errore creazione indice \"ignoto\"",
                                      "Tavola \"prova\": errore creazione indice \"oltre\""}));
  const auto info = tableInfo(database.connection(), "prova");
  ASSERT_EQ(info.indexes.size(), 1u);
  EXPECT_EQ(info.indexes[0].name, "buono");
}

TEST_P(SchemaFromDictionaryTest, QuoteInATableNameCannotBreakTheQueries) {
  DictionaryDatabase database(GetParam(), false);
  {
    DictionaryCursors cursors(database.connection());
    AddFieldEntry(cursors.campi, "pro\"va", "a", 'I', 0, false, "", "", "", "");
  }
  EXPECT_FALSE(CreateTableFromDictionary(database.prompter, "pro\"va", database.connection(),
                                         database.engine()));
  // The field row was found; the engine then refuses the name itself.
  ASSERT_EQ(database.prompter.messages.size(), 1u);
  EXPECT_EQ(database.prompter.messages[0].text.rfind(
                "Errore in fase di inserimento tavola \"pro\"va\"\n\n", 0),
            0u);
}

TEST_P(SchemaFromDictionaryTest, RelationPairsFollowTheirPositionsWhateverTheRowOrder) {
  DictionaryDatabase database(GetParam(), false);
  {
    DictionaryCursors cursors(database.connection());
    for (const auto* table : {"padre", "figlio"}) {
      AddFieldEntry(cursors.campi, table, "a", 'I', 0, true, "", "", "", "");
      AddFieldEntry(cursors.campi, table, "b", 'A', 8, true, "", "", "", "");
      AddTableEntry(cursors.tavole, table, "", "");
    }
    AddIndexEntry(cursors.indici, "padre", "codice", true, "", "");
    AddIndexFieldEntry(cursors.indici2, "padre", "codice", 0, "a");
    AddIndexFieldEntry(cursors.indici2, "padre", "codice", 1, "b");
    AddRelationEntry(cursors.relaz, "figlio_padre", "padre", "figlio");
    AddRelationFieldEntry(cursors.relaz2, "figlio_padre", 1, "b", "b");
    AddRelationFieldEntry(cursors.relaz2, "figlio_padre", 0, "a", "a");
  }
  ASSERT_TRUE(
      CreateTablesFromDictionary(database.prompter, database.connection(), database.engine()));
  EXPECT_TRUE(
      CreateRelationsFromDictionary(database.prompter, database.connection(), database.engine()));
  EXPECT_TRUE(database.prompter.messages.empty());
  const auto relations = tableInfo(database.connection(), "figlio").relations;
  ASSERT_EQ(relations.size(), 1u);
  EXPECT_EQ(relations[0].name, "figlio_padre");
  EXPECT_EQ(relations[0].table, "padre");
  ASSERT_EQ(relations[0].fields.size(), 2u);
  EXPECT_EQ(relations[0].fields[0].field, "a");
  EXPECT_EQ(relations[0].fields[1].field, "b");
}

}  // namespace
}  // namespace veltra::schema
