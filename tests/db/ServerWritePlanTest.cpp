// Which queued writes the server engine sends early or together: the plan
// itself, without a server, as a server given a wrong plan refuses it and the
// attempt is redone one write at a time, right but slow.

#include <gtest/gtest.h>

#include "db/server/ServerWritePlan.h"

namespace veltra::db::engine {
namespace {

TableInfo table(const std::string& name, FieldType keyType, std::vector<std::string> columns) {
  TableInfo info;
  info.name = name;
  for (const std::string& column : columns)
    info.columns.push_back({.name = column, .type = keyType, .size = 0});
  return info;
}

RelationDef relation(const std::string& referenced, const std::string& field,
                     const std::string& referencing, const std::string& foreignField) {
  return {.name = referenced + "_" + referencing,
          .table = referenced,
          .foreignTable = referencing,
          .attributes = 0,
          .fields = {{.field = field, .foreignField = foreignField}}};
}

class ServerWritePlanTest : public ::testing::Test {
 protected:
  // Companies and their vehicles; price lists by day, whose dates are not
  // compared here, and the prices of each day.
  TableInfo ditte = table("ditte", FieldType::Text, {"codice", "nome"});
  TableInfo mezzi = table("mezzi", FieldType::Text, {"targa", "ditta"});
  TableInfo listini = table("listini", FieldType::Date, {"giorno"});
  TableInfo prezzi = table("prezzi", FieldType::Date, {"giorno"});
  ServerWritePlan plan{{relation("ditte", "codice", "mezzi", "ditta"),
                        relation("listini", "giorno", "prezzi", "giorno")}};
  std::int64_t lastStandIn = 0;

  std::int64_t insert(const TableInfo& into, const std::vector<std::string>& values) {
    std::vector<FieldValue> row;
    for (size_t i = 0; i < values.size(); ++i)
      row.push_back(FieldValue::ofText(into.columns[i].type, values[i]));
    const auto keys =
        plan.relationKeys(into, [&](size_t column) -> const FieldValue& { return row[column]; });
    plan.insert(into.name, statement("insert " + into.name), parameters(values), keys,
                --lastStandIn);
    return lastStandIn;
  }
  void update(const TableInfo& of, std::int64_t rowid, const std::vector<bool>& assigned) {
    plan.update(of.name, statement("update " + of.name + (assigned[0] ? " key" : "")),
                parameters({"x", std::to_string(rowid)}), plan.changedRelations(of, assigned),
                rowid);
  }
  static RowsStatement statement(std::string oneRow) {
    RowsStatement rows;
    rows.oneRow = std::move(oneRow);
    return rows;
  }
  static ServerParameters parameters(const std::vector<std::string>& texts) {
    ServerParameters row;
    row.texts = texts;
    row.nulls.assign(texts.size(), false);
    return row;
  }
  // The plan as "table:rows" a batch, in the order they go.
  std::string batches() {
    std::string text;
    for (const auto& batch : plan.take())
      text += (text.empty() ? "" : " ") + batch.table + ":" + std::to_string(batch.standIns.size());
    return text;
  }
};

TEST_F(ServerWritePlanTest, InsertsOfUnrelatedRowsJoinAcrossOtherTablesInOrder) {
  const auto first = insert(ditte, {"A", "Alfa"});
  insert(mezzi, {"AA000AA", "B"});
  const auto second = insert(ditte, {"C", "Gamma"});
  insert(mezzi, {"BB000BB", "D"});
  const auto plan = this->plan.take();
  ASSERT_EQ(plan.size(), 2u);
  EXPECT_EQ(plan[0].table, "ditte");
  EXPECT_EQ(plan[0].standIns, (std::vector<std::int64_t>{first, second}));
  EXPECT_EQ(plan[0].parameters.texts, (std::vector<std::string>{"A", "Alfa", "C", "Gamma"}));
  EXPECT_EQ(plan[1].standIns.size(), 2u);
  EXPECT_TRUE(this->plan.empty());
}

TEST_F(ServerWritePlanTest, AnInsertNeverPassesARowOfTheSameKeyInARelatedTable) {
  // A vehicle of a company passed over: the company's row must stay after it.
  insert(ditte, {"B", "Beta"});
  insert(mezzi, {"AA000AA", "A"});
  insert(ditte, {"A", "Alfa"});
  EXPECT_EQ(batches(), "ditte:1 mezzi:1 ditte:1");
  // And the other way: a vehicle never goes before its company's row.
  insert(mezzi, {"AA000AA", "B"});
  insert(ditte, {"A", "Alfa"});
  insert(mezzi, {"BB000BB", "A"});
  EXPECT_EQ(batches(), "mezzi:1 ditte:1 mezzi:1");
}

TEST_F(ServerWritePlanTest, AKeyThatCannotBeComparedHereMeetsEveryOther) {
  insert(listini, {"1"});
  insert(prezzi, {"2"});
  insert(listini, {"3"});
  EXPECT_EQ(batches(), "listini:1 prezzi:1 listini:1");
}

TEST_F(ServerWritePlanTest, AnUpdateOfARelationsKeyIsPassedByNoRelatedWrite) {
  // A vehicle moved to another company: no company is written past it.
  insert(ditte, {"A", "Alfa"});
  update(mezzi, 5, {false, true});
  insert(ditte, {"B", "Beta"});
  EXPECT_EQ(batches(), "ditte:1 mezzi:1 ditte:1");
  // Its number plate is nothing to the companies.
  insert(ditte, {"A", "Alfa"});
  update(mezzi, 5, {true, false});
  insert(ditte, {"B", "Beta"});
  EXPECT_EQ(batches(), "ditte:2 mezzi:1");
  // Nor may an update of a company's code pass a vehicle.
  update(ditte, 1, {true, false});
  insert(mezzi, {"AA000AA", "Z"});
  update(ditte, 2, {true, false});
  EXPECT_EQ(batches(), "ditte:1 mezzi:1 ditte:1");
  // While one of its name joins the one before.
  update(ditte, 1, {false, true});
  insert(mezzi, {"AA000AA", "Z"});
  update(ditte, 2, {false, true});
  EXPECT_EQ(batches(), "ditte:2 mezzi:1");
}

TEST_F(ServerWritePlanTest, ARowUpdatedTwiceKeepsItsUpdatesApartInOrder) {
  update(ditte, 1, {false, true});
  update(ditte, 2, {false, true});
  update(ditte, 1, {false, true});
  const auto plan = this->plan.take();
  ASSERT_EQ(plan.size(), 2u);
  EXPECT_EQ(plan[0].parameters.texts, (std::vector<std::string>{"x", "1", "x", "2"}));
  EXPECT_EQ(plan[1].parameters.texts, (std::vector<std::string>{"x", "1"}));
}

}  // namespace
}  // namespace veltra::db::engine
