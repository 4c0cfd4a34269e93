#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "comms/SituationList.h"
#include "comms/VehicleFields.h"

namespace veltra::comms {
namespace {

SituationRow row(std::int32_t azienda, const std::string& telaio, const std::string& data = "") {
  SituationRow r;
  r.azienda = azienda;
  r.telaio = telaio;
  r.data = data;
  return r;
}

TEST(SituationList, MergesRowsOfTheSameChassisKeepingTheLast) {
  SituationList list;
  SituationRow older = row(1, "A1", "01/01/2005");
  older.vehicle.targa = "OLD";
  SituationRow newer = row(2, "A1", "01/01/2008");
  newer.vehicle.targa = "NEW";
  list.addOrMerge(older);
  list.addOrMerge(newer);
  list.addOrMerge(row(1, "a1"));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list.rows()[0], newer);
  EXPECT_EQ(list.rows()[1].telaio, "a1");
}

TEST(SituationList, MergesOnlyWithTheLastRow) {
  SituationList list;
  list.addOrMerge(row(1, "A1"));
  list.addOrMerge(row(1, "B2"));
  list.addOrMerge(row(1, "A1"));
  EXPECT_EQ(list.size(), 3u);
}

TEST(SituationList, SortsByCompanyThenChassisBytes) {
  SituationList list;
  list.addOrMerge(row(2, "B"));
  list.addOrMerge(row(1, "Z"));
  list.addOrMerge(row(1, "A"));
  list.addOrMerge(row(1, "AB"));
  list.addOrMerge(row(1, "\xC3\xA0"));  // an accented letter sorts after every ASCII one
  list.addOrMerge(row(-1, "Q"));
  list.sort();
  std::vector<std::pair<std::int32_t, std::string>> order;
  for (const SituationRow* r : list.sorted()) order.emplace_back(r->azienda, r->telaio);
  const std::vector<std::pair<std::int32_t, std::string>> expected{
      {-1, "Q"}, {1, "A"}, {1, "AB"}, {1, "Z"}, {1, "\xC3\xA0"}, {2, "B"}};
  EXPECT_EQ(order, expected);
}

// In UTF-8 "€" (E2 82 AC) would come after "Š" (C5 A0), "À" (C3 80) and "ÿ"
// (C3 BF); in the files' code page it is 0x80, before 0x8A, 0xC0 and 0xFF.
TEST(SituationList, SortsChassisByTheirWindows1252Bytes) {
  SituationList list;
  for (const char* telaio : {"Xÿ", "XÀ", "XŠ", "X€", "XZ"}) list.addOrMerge(row(1, telaio));
  list.sort();
  std::vector<std::string> order;
  for (const SituationRow* r : list.sorted()) order.push_back(r->telaio);
  EXPECT_EQ(order, (std::vector<std::string>{"XZ", "X€", "XŠ", "XÀ", "Xÿ"}));
}

TEST(SituationList, SortRebuildsTheIndexFromScratch) {
  SituationList list;
  list.addOrMerge(row(2, "B"));
  list.sort();
  for (int i = 0; i < 100; ++i) list.addOrMerge(row(1, "C" + std::to_string(i)));
  list.sort();
  ASSERT_EQ(list.sorted().size(), 101u);
  EXPECT_EQ(list.sorted().back()->telaio, "B");
  list.clear();
  EXPECT_EQ(list.size(), 0u);
  EXPECT_TRUE(list.sorted().empty());
}

TEST(SituationList, CountsTheRowsThatPassTheFilter) {
  SituationList list;
  SituationRow a = row(1, "A");
  a.vehicle.ambito = 3;
  SituationRow b = row(1, "B");
  b.vehicle.ambito = 4;
  b.vehicle.datrad = "31/12/2099";  // any date makes it inactive, even a future one
  SituationRow c = row(2, "C");
  c.vehicle.ambito = 3;
  for (const auto& r : {a, b, c}) list.addOrMerge(r);

  EXPECT_EQ(list.countMatching({}), 3u);
  EXPECT_EQ(list.countMatching({.allCompanies = false, .azienda = 1}), 2u);
  EXPECT_EQ(list.countMatching({.allAmbits = false, .ambito = 3}), 2u);
  EXPECT_EQ(
      list.countMatching({.allCompanies = false, .azienda = 1, .allAmbits = false, .ambito = 3}),
      1u);
  EXPECT_EQ(list.countMatching({.activeOnly = true}), 2u);
  EXPECT_EQ(list.countMatching({.allCompanies = false, .azienda = 9}), 0u);
}

// A vehicle whose every field differs from any filling's default.
VehicleData everyFieldSet() {
  VehicleData vehicle;
  for (const VehicleField& field : VehicleFields) {
    if (field.kind == FieldKind::Text)
      VehicleValue<std::string>(field, vehicle) = "x" + std::string(field.name);
    else if (field.kind == FieldKind::Whole || field.kind == FieldKind::Flag)
      VehicleValue<std::int32_t>(field, vehicle) = 1;
    else
      VehicleValue<double>(field, vehicle) = 2.5;
  }
  return vehicle;
}

TEST(SituationList, FillingsKeepTheirFieldsAndDefaultTheRest) {
  VehicleData financingDefaults;
  financingDefaults.ambito = financingDefaults.sedere = -1;
  financingDefaults.piedi = financingDefaults.handicap = -1;
  financingDefaults.lung = financingDefaults.altezza = -1.0;
  const struct {
    void (*fill)(SituationRow&);
    std::set<std::string_view> kept;
    const char* ambitName;
    VehicleData defaults;
  } fillings[] = {
      {KeepFinancingFields,
       {"prop", "libretto", "targa", "tipo", "dtimm", "prezzo", "contrib", "atto", "contrib2",
        "datini", "datfin", "datrad"},
       "",
       financingDefaults},
  };
  const SituationRow supplied{"T1", "02/02/2002", 4, "Azienda", "Ambito", everyFieldSet()};
  for (const auto& filling : fillings) {
    SituationRow row = supplied;
    filling.fill(row);
    EXPECT_EQ(row.telaio, "T1");
    EXPECT_EQ(row.data, "02/02/2002");
    EXPECT_EQ(row.azienda, 4);
    EXPECT_EQ(row.companyName, "Azienda");
    EXPECT_EQ(row.ambitName, filling.ambitName);
    for (const VehicleField& field : VehicleFields) {
      const VehicleData& expected =
          filling.kept.contains(field.name) ? supplied.vehicle : filling.defaults;
      EXPECT_EQ(FileText(field, row.vehicle), FileText(field, expected)) << field.name;
    }
  }
}

}  // namespace
}  // namespace veltra::comms
