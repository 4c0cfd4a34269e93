// The rows of the data dictionary as the writers leave them and as creation
// reads them back.

#include <gtest/gtest.h>

#include "SchemaTestSupport.h"
#include "schema/ApplicationSchema.h"
#include "schema/DictionaryWriters.h"

namespace veltra::schema {
namespace {

using testing::columnTexts;
using testing::DictionaryDatabase;
using testing::rowCount;

// Runs on every test engine.
class DictionaryWriters : public ::testing::TestWithParam<testing::TestEngine> {};

INSTANTIATE_TEST_SUITE_P(Engines, DictionaryWriters, ::testing::ValuesIn(testing::testEngines()),
                         testing::engineName);

TEST_P(DictionaryWriters, ValuesReadBackAsTheTextsCreationTests) {
  DictionaryDatabase database(GetParam(), false);
  auto& connection = database.connection();
  const std::string written = connection.EngineDatabase()->insertionOrder();
  {
    DictionaryCursors cursors(connection);
    EXPECT_TRUE(AddFieldEntry(cursors.campi, "prova", "a", 'A', 12, true, "A", "Campo a", "", ""));
    EXPECT_TRUE(AddFieldEntry(cursors.campi, "prova", "b", 'I', 0, false, "B", "Campo b", "b > 0",
                              "Deve essere positivo"));
    EXPECT_TRUE(AddIndexEntry(cursors.indici, "prova", "chiave", true, "Chiave", ""));
  }
  EXPECT_EQ(columnTexts(connection, "tipo", "campi", {}, written),
            (std::vector<std::string>{"A", "I"}));
  EXPECT_EQ(columnTexts(connection, "size", "campi", {}, written),
            (std::vector<std::string>{"12", "0"}));
  EXPECT_EQ(columnTexts(connection, "obblig", "campi", {}, written),
            (std::vector<std::string>{"1", "0"}));
  EXPECT_EQ(columnTexts(connection, "primkey", "indici"), std::vector<std::string>{"1"});
  // An absent rule is stored as null and reads back as the empty text.
  EXPECT_EQ(columnTexts(connection, "regola", "campi", {}, written),
            (std::vector<std::string>{"", "b > 0"}));
  EXPECT_EQ(rowCount(connection, "campi", "regola IS NULL AND mess IS NULL"), 1);
  EXPECT_TRUE(database.prompter.messages.empty());
}

// Runs on every test engine.
class ApplicationDictionaryTest : public ::testing::TestWithParam<testing::TestEngine> {
 protected:
  std::vector<std::string> campi(const std::string& column, const std::string& table) {
    return columnTexts(database.connection(), column, "campi", "tavola = \"" + table + "\"",
                       written);
  }
  DictionaryDatabase database{GetParam()};
  const std::string written = database.connection().EngineDatabase()->insertionOrder();
};

INSTANTIATE_TEST_SUITE_P(Engines, ApplicationDictionaryTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(ApplicationDictionaryTest, HoldsEveryRowOfTheSchema) {
  auto& connection = database.connection();
  EXPECT_EQ(rowCount(connection, "tavole"), 5);
  EXPECT_EQ(rowCount(connection, "campi"), 63);
  EXPECT_EQ(rowCount(connection, "indici"), 5);
  EXPECT_EQ(rowCount(connection, "indici2"), 7);
  EXPECT_EQ(rowCount(connection, "relaz"), 6);
  EXPECT_EQ(rowCount(connection, "relaz2"), 8);
  EXPECT_EQ(rowCount(connection, "campi", "regola IS NULL AND mess IS NULL"), 63);
  EXPECT_EQ(rowCount(connection, "campi", "obblig = FALSE"), 8);
  EXPECT_EQ(rowCount(connection, "indici", "primkey = TRUE AND nome = \"codice\""), 5);
  EXPECT_EQ(columnTexts(connection, "nome", "tavole", {}, written),
            (std::vector<std::string>{"regazi", "regprv", "comunica", "bus", "storia"}));
  EXPECT_EQ(columnTexts(connection, "nome", "relaz", {}, written),
            (std::vector<std::string>{"comunica_azi", "bus_com", "bus_prv", "storia_com",
                                      "storia_prv", "storia_bus"}));
  EXPECT_TRUE(database.prompter.messages.empty());
}

TEST_P(ApplicationDictionaryTest, PositionsCountFromZero) {
  auto& connection = database.connection();
  EXPECT_EQ(columnTexts(connection, "campo", "indici2", "tavola = \"storia\"", "progr"),
            (std::vector<std::string>{"telaio", "data"}));
  EXPECT_EQ(columnTexts(connection, "progr", "indici2", "tavola = \"comunica\"", "progr"),
            (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(columnTexts(connection, "progr", "relaz2", "nome = \"bus_com\"", "progr"),
            (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(columnTexts(connection, "interno", "relaz2", "nome = \"storia_prv\""),
            std::vector<std::string>{"codice"});
  EXPECT_EQ(columnTexts(connection, "esterno", "relaz2", "nome = \"storia_prv\""),
            std::vector<std::string>{"ambito"});
}

TEST_P(ApplicationDictionaryTest, StoriaRepeatsBusExceptTheDescriptionOfData) {
  for (const auto* column : {"nome", "tipo", "size", "obblig", "denom"})
    EXPECT_EQ(campi(column, "storia"), campi(column, "bus")) << column;
  const auto busNotes = campi("note", "bus");
  const auto storiaNotes = campi("note", "storia");
  ASSERT_EQ(busNotes.size(), 28u);
  ASSERT_EQ(storiaNotes.size(), 28u);
  for (size_t i = 0; i < busNotes.size(); ++i) {
    if (i == 1) continue;  // data
    EXPECT_EQ(storiaNotes[i], busNotes[i]) << i;
  }
  EXPECT_EQ(busNotes[1], "Contiene la data dell'ultima comunicazione cha ha aggiornato i dati");
  EXPECT_EQ(storiaNotes[1], "Contiene la data della comunicazione");
  // Every text field's width, the chassis and the owner's 40 included; 0 for the others.
  EXPECT_EQ(campi("size", "bus"),
            (std::vector<std::string>{"40", "0",  "0",  "0",  "40", "10", "20", "10", "0", "20",
                                      "0",  "15", "15", "15", "0",  "0",  "0",  "0",  "0", "0",
                                      "0",  "0",  "0",  "0",  "15", "0",  "0",  "0"}));
  EXPECT_EQ(campi("tipo", "regazi"), (std::vector<std::string>{"I", "A", "B"}));
}

}  // namespace
}  // namespace veltra::schema
