#include <gtest/gtest.h>

#include "comms/SituationList.h"

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
  older.targa = "OLD";
  SituationRow newer = row(2, "A1", "01/01/2008");
  newer.targa = "NEW";
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
  a.ambito = 3;
  SituationRow b = row(1, "B");
  b.ambito = 4;
  b.datrad = "31/12/2099";  // any date makes it inactive, even a future one
  SituationRow c = row(2, "C");
  c.ambito = 3;
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

TEST(SituationList, FillingsSetTheDefaultsOfWhatIsNotSupplied) {
  SituationRow supplied = row(4, "T1", "02/02/2002");
  supplied.companyName = "Azienda";
  supplied.ambito = 5;
  supplied.ambitName = "Ambito";
  supplied.prop = "Owner";
  supplied.interno = "12";
  supplied.libretto = "L1";
  supplied.targa = "OM1";
  supplied.dtimm = "03/03/2003";
  supplied.sedere = 30;
  supplied.lung = 12.0;
  supplied.aria = 1;
  supplied.prezzo = 100.0;
  supplied.contrib = 40.0;
  supplied.contrib2 = 5.0;
  supplied.atto = "DGR";
  supplied.datfin = "04/04/2004";
  supplied.datrad = "05/05/2005";

  SituationList list;
  list.appendListRow(supplied);
  list.appendFinancingRow(supplied);
  const SituationRow& listed = list.rows()[0];
  EXPECT_EQ(listed.ambito, 5);
  EXPECT_EQ(listed.ambitName, "Ambito");
  EXPECT_EQ(listed.interno, "12");
  EXPECT_EQ(listed.sedere, 30);
  EXPECT_EQ(listed.aria, 1);
  EXPECT_EQ(listed.datfin, "04/04/2004");
  EXPECT_EQ(listed.prop, "");
  EXPECT_EQ(listed.libretto, "");
  EXPECT_EQ(listed.dtimm, "");
  EXPECT_EQ(listed.atto, "");
  EXPECT_EQ(listed.datrad, "");
  EXPECT_EQ(listed.prezzo, 0.0);
  EXPECT_EQ(listed.contrib2, 0.0);

  const SituationRow& financed = list.rows()[1];
  EXPECT_EQ(financed.companyName, "Azienda");
  EXPECT_EQ(financed.prop, "Owner");
  EXPECT_EQ(financed.libretto, "L1");
  EXPECT_EQ(financed.dtimm, "03/03/2003");
  EXPECT_EQ(financed.prezzo, 100.0);
  EXPECT_EQ(financed.atto, "DGR");
  EXPECT_EQ(financed.datrad, "05/05/2005");
  EXPECT_EQ(financed.ambito, -1);
  EXPECT_EQ(financed.ambitName, "");
  EXPECT_EQ(financed.interno, "");
  EXPECT_EQ(financed.sedere, -1);
  EXPECT_EQ(financed.lung, -1.0);
  EXPECT_EQ(financed.altezza, -1.0);
  EXPECT_EQ(financed.aria, 0);
}

}  // namespace
}  // namespace veltra::comms
