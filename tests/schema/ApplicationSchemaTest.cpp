// The rules of the application schema, checked on a created register by writing
// rows the way the program writes them.

#include <gtest/gtest.h>

#include <algorithm>

#include "SchemaTestSupport.h"
#include "db/TableCursor.h"
#include "db/engine/EngineDatabase.h"
#include "db/engine/TableRecordset.h"

namespace veltra::schema {
namespace {

using testing::addRow;
using testing::CreatedDatabase;
using testing::FieldValues;
using testing::rowCount;

const std::vector<std::string> OptionalVehicleFields = {"interno", "atto", "datfin", "datrad"};

FieldValues communication(const std::string& company, const std::string& date) {
  return {{"azienda", company}, {"data", date}};
}

FieldValues vehicle(const std::string& chassis, const std::string& date = "15/03/2004") {
  return {{"telaio", chassis},     {"data", date},
          {"azienda", "12"},       {"ambito", "3"},
          {"prop", "Comune"},      {"interno", "114"},
          {"libretto", "LB998"},   {"targa", "AB123CD"},
          {"prima", "01/02/2000"}, {"tipo", "Iveco 491"},
          {"dtimm", "01/02/2000"}, {"dest", "Linea"},
          {"carroz", "Urbano"},    {"aliment", "Gasolio"},
          {"sedere", "30"},        {"piedi", "50"},
          {"handicap", "1"},       {"lung", "12000"},
          {"altezza", "3200"},     {"aria", "1"},
          {"pedana", "0"},         {"prezzo", "200000"},
          {"contrib", "50000"},    {"contrib2", "0"},
          {"atto", "DGR 12/2000"}, {"datini", "01/03/2000"},
          {"datfin", ""},          {"datrad", ""}};
}

FieldValues with(FieldValues values, const std::string& field, const std::string& value) {
  for (auto& [name, text] : values)
    if (name == field) text = value;
  return values;
}

// Runs on every test engine.
class ApplicationSchemaTest : public ::testing::TestWithParam<testing::TestEngine> {
 protected:
  ApplicationSchemaTest() : created(GetParam()), connection(created.connect()) {
    EXPECT_TRUE(addRow(*connection, "comunica", communication("12", "15/03/2004")));
    EXPECT_TRUE(addRow(*connection, "comunica", communication("12", "20/04/2005")));
  }
  // The message the last refused write showed.
  std::string lastMessage() const {
    return created.prompter.messages.empty() ? "" : created.prompter.messages.back().text;
  }

  CreatedDatabase created;
  std::unique_ptr<db::DatabaseConnection> connection;
};

INSTANTIATE_TEST_SUITE_P(Engines, ApplicationSchemaTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

bool isOptional(const std::string& field) {
  return std::count(OptionalVehicleFields.begin(), OptionalVehicleFields.end(), field) > 0;
}

FieldValues withoutOptionalFields(FieldValues values) {
  for (const auto& field : OptionalVehicleFields) values = with(values, field, "");
  return values;
}

TEST_P(ApplicationSchemaTest, VehicleFieldsRefuseNullExceptTheFourOptionalOnes) {
  ASSERT_TRUE(addRow(*connection, "bus", withoutOptionalFields(vehicle("ZCF001"))));
  ASSERT_TRUE(addRow(*connection, "storia", withoutOptionalFields(vehicle("ZCF001"))));
  // A new chassis for bus, a new date for storia: only the missing value is wrong.
  const std::pair<std::string, FieldValues> attempts[] = {
      {"bus", vehicle("ZCF002")}, {"storia", vehicle("ZCF001", "20/04/2005")}};
  for (const auto& [table, valid] : attempts) {
    for (const auto& [field, value] : valid) {
      if (isOptional(field)) continue;
      EXPECT_FALSE(addRow(*connection, table, with(valid, field, ""))) << table << "." << field;
      EXPECT_NE(lastMessage().find("\"" + table + "." + field + "\""), std::string::npos)
          << lastMessage();
    }
  }
  EXPECT_EQ(rowCount(*connection, "bus"), 1);
  EXPECT_EQ(rowCount(*connection, "storia"), 1);
}

TEST_P(ApplicationSchemaTest, OnlyInternoAndAttoAcceptTheEmptyText) {
  db::engine::EngineStatus status;
  auto recordset =
      connection->EngineDatabase()->openTable(testing::tableInfo(*connection, "bus"), status);
  ASSERT_TRUE(status.ok);
  // The recordset sets an empty text as it is; the cursor would have made it null.
  const auto emptyText = [&](const std::string& chassis, const std::string& field) {
    EXPECT_TRUE(recordset->addNew().ok);
    for (const auto& [name, value] : vehicle(chassis)) {
      if (!value.empty() && name != field) {
        EXPECT_TRUE(recordset->setFieldText(name, value).ok) << name;
      }
    }
    EXPECT_TRUE(recordset->setFieldText(field, "").ok);
    return recordset->update().ok;
  };
  EXPECT_TRUE(emptyText("ZCF010", "interno"));
  EXPECT_TRUE(emptyText("ZCF011", "atto"));
  for (const auto* field :
       {"telaio", "prop", "libretto", "targa", "tipo", "dest", "carroz", "aliment"})
    EXPECT_FALSE(emptyText("ZCF012", field)) << field;
  EXPECT_EQ(rowCount(*connection, "bus"), 2);
}

TEST_P(ApplicationSchemaTest, KeysRefuseDuplicates) {
  ASSERT_TRUE(addRow(*connection, "bus", vehicle("ZCF001")));
  EXPECT_FALSE(addRow(*connection, "bus", vehicle("zcf001")));  // keys ignore case
  ASSERT_TRUE(addRow(*connection, "storia", vehicle("ZCF001", "15/03/2004")));
  EXPECT_TRUE(addRow(*connection, "storia", vehicle("ZCF001", "20/04/2005")));
  EXPECT_FALSE(addRow(*connection, "storia", vehicle("ZCF001", "15/03/2004")));
  EXPECT_NE(lastMessage().find("codice"), std::string::npos) << lastMessage();
  EXPECT_FALSE(addRow(*connection, "comunica", communication("12", "15/03/2004")));
  EXPECT_FALSE(addRow(*connection, "regazi", {{"codice", "5"}, {"denom", "Doppione"}}));
  EXPECT_EQ(rowCount(*connection, "storia"), 2);
}

TEST_P(ApplicationSchemaTest, EachRelationRefusesARowWithoutItsCounterpart) {
  const auto refusedBy = [&](const std::string& table, const FieldValues& values,
                             const std::string& relation) {
    EXPECT_FALSE(addRow(*connection, table, values)) << relation;
    EXPECT_NE(lastMessage().find(relation), std::string::npos) << lastMessage();
  };
  refusedBy("comunica", communication("999", "15/03/2004"), "comunica_azi");
  refusedBy("bus", vehicle("ZCF001", "01/01/2001"), "bus_com");
  refusedBy("bus", with(vehicle("ZCF001"), "ambito", "99"), "bus_prv");
  ASSERT_TRUE(addRow(*connection, "bus", vehicle("ZCF001")));
  refusedBy("storia", vehicle("ZCF001", "01/01/2001"), "storia_com");
  refusedBy("storia", with(vehicle("ZCF001"), "ambito", "99"), "storia_prv");
  refusedBy("storia", vehicle("ZCF999"), "storia_bus");
  EXPECT_EQ(rowCount(*connection, "storia"), 0);
}

TEST_P(ApplicationSchemaTest, PlaceholderCodesSatisfyTheRelations) {
  EXPECT_TRUE(addRow(*connection, "comunica", communication("0", "01/01/2001")));
  EXPECT_TRUE(addRow(*connection, "bus",
                     with(with(vehicle("ZCF002", "01/01/2001"), "azienda", "0"), "ambito", "0")));
}

TEST_P(ApplicationSchemaTest, ReferencedKeyCannotChangeWhileRowsReferToIt) {
  ASSERT_TRUE(addRow(*connection, "bus", vehicle("ZCF001")));
  db::TableCursor communications(connection.get(), "comunica");
  ASSERT_TRUE(communications.SelectIndex("codice"));
  const std::string key[] = {"12", "15/03/2004"};
  ASSERT_TRUE(communications.Seek(key));
  ASSERT_TRUE(communications.Edit());
  communications.SetField("data", "16/03/2004");
  EXPECT_FALSE(communications.Update());
}

}  // namespace
}  // namespace veltra::schema
