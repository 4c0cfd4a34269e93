#include <gtest/gtest.h>

#include <set>

#include "SchemaTestSupport.h"
#include "schema/ReferenceCodes.h"
#include "schema/SchemaFromDictionary.h"

namespace veltra::schema {
namespace {

using testing::columnTexts;
using testing::rowCount;

size_t characters(std::string_view utf8) {
  size_t count = 0;
  for (unsigned char c : utf8) count += (c & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

// Codes without gaps from 0, each name given once and fitting denom (40 characters).
void expectCodesFromZero(std::span<const CodeRecord> records, size_t count) {
  ASSERT_EQ(records.size(), count);
  std::set<std::string_view> names;
  for (size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(records[i].code, static_cast<int>(i));
    EXPECT_FALSE(records[i].name.empty()) << i;
    EXPECT_LE(characters(records[i].name), 40u) << records[i].name;
    EXPECT_TRUE(names.insert(records[i].name).second) << "twice: " << records[i].name;
  }
}

TEST(ReferenceCodes, CompaniesRunFrom0To203WithThePlaceholdersInPlace) {
  const auto companies = CompanyCodes();
  expectCodesFromZero(companies, 204);
  EXPECT_EQ(companies[0].name, "*** azienda non assegnata ***");
  EXPECT_EQ(companies[127].name, "sostituire con codice azienda = 115");
  EXPECT_EQ(companies[132].name, "sostituire con  codice azienda= 98");
  EXPECT_EQ(companies[161].name, "vuoto");
  EXPECT_EQ(companies[162].name, "sostituire con il codice = 145");
  // The codes to use instead are real companies.
  for (int code : {115, 98, 145}) {
    EXPECT_NE(companies[code].name.rfind("sostituire con", 0), 0u) << code;
    EXPECT_NE(companies[code].name, "vuoto");
  }
}

TEST(ReferenceCodes, AmbitsRunFrom0To11) {
  const auto ambits = AmbitCodes();
  expectCodesFromZero(ambits, 12);
  EXPECT_EQ(ambits[0].name, "*** ente non assegnato ***");
  for (const auto& ambit : ambits.subspan(1)) EXPECT_LE(characters(ambit.name), 25u) << ambit.name;
}

// Runs on every test engine.
class ReferenceCodesInRegister : public ::testing::TestWithParam<testing::TestEngine> {};

INSTANTIATE_TEST_SUITE_P(Engines, ReferenceCodesInRegister,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(ReferenceCodesInRegister, NewDatabaseHoldsBothListsWithNoActiveCompany) {
  testing::CreatedDatabase created(GetParam());
  auto connection = created.connect();
  const auto codes = columnTexts(*connection, "codice", "regazi", {}, "codice");
  ASSERT_EQ(codes.size(), 204u);
  EXPECT_EQ(codes.front(), "0");
  EXPECT_EQ(codes.back(), "203");
  EXPECT_EQ(columnTexts(*connection, "denom", "regazi", "codice = 132"),
            std::vector<std::string>{"sostituire con  codice azienda= 98"});
  EXPECT_EQ(columnTexts(*connection, "denom", "regprv", "codice = 0"),
            std::vector<std::string>{"*** ente non assegnato ***"});
  EXPECT_EQ(rowCount(*connection, "regprv"), 12);
  EXPECT_EQ(columnTexts(*connection, "DISTINCT attiva", "regazi"), std::vector<std::string>{"0"});
}

TEST_P(ReferenceCodesInRegister, SeedingGoesOnPastARowThatCannotBeWritten) {
  testing::DictionaryDatabase database(GetParam());
  ASSERT_TRUE(
      CreateTablesFromDictionary(database.prompter, database.connection(), database.engine()));
  ASSERT_TRUE(testing::addRow(database.connection(), "regazi",
                              {{"codice", "5"}, {"denom", "Già presente"}}));
  database.prompter.clear();
  SeedReferenceTables(database.connection());
  ASSERT_EQ(database.prompter.messages.size(), 1u);
  EXPECT_EQ(database.prompter.messages[0].text.rfind("Errore aggiornamento tavola (regazi)\n\n", 0),
            0u);
  EXPECT_EQ(rowCount(database.connection(), "regazi"), 204);
  EXPECT_EQ(columnTexts(database.connection(), "denom", "regazi", "codice = 5"),
            std::vector<std::string>{"Già presente"});
  EXPECT_EQ(rowCount(database.connection(), "regprv"), 12);
}

}  // namespace
}  // namespace veltra::schema
