#include <gtest/gtest.h>

#include "comms/ApplyCommunication.h"
#include "comms/CommsDatabase.h"
#include "comms/FleetStatistics.h"
#include "comms/FleetStatisticsTables.h"

namespace veltra::comms {
namespace {

struct Bus {
  const char* telaio;
  std::int32_t ambito;
  const char* prima;
  const char* aliment;
  int sedere, piedi, handicap, aria, pedana;
  double contrib;
  const char* datini;
  const char* datfin = "";
  const char* datrad = "";
};

// A register where each figure is known: company 3 sends A1-A3 in 2021, then
// withdraws A3 and adds A4 (the no-date text for its first registration, a blank fuel, the no-date
// entry into service, de-registered only in 2025); company 7 sends B1 (an unlisted fuel) and B2 in
// 2023; in 2025 B2 moves to company 3 and C1 arrives.
class FleetStatisticsTest : public testing::CommsDatabaseTest {
 protected:
  void SetUp() override {
    CommsDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    const Bus a1{"A1", 3, "01/06/2020", "Gasolio", 30, 50, 1, 1, 1, 1000, "01/07/2020"};
    const Bus a2{"A2", 4, "15/01/2010", "Metano", 20, 10, 0, 0, 1, 500, "01/02/2010"};
    const Bus a3{"A3", 4, "01/01/2000", "Gasolio", 15, 0, 0, 0, 0, 0, "01/01/2000"};
    Bus withdrawn = a3;
    withdrawn.datfin = "01/06/2024";
    const Bus a4{"A4", 3, "00/00/0000", "  ", 10, 0, 0, 0, 0, 300, "00/00/0000", "", "01/03/2025"};
    const Bus b1{"B1", 5, "31/12/2004", "Idrogeno", 25, 30, 1, 1, 0, 2000, "01/01/2005"};
    const Bus b2{"B2", 3, "01/01/2019", "Gasolio", 40, 0, 2, 1, 1, 0, "01/03/2019"};
    const Bus c1{"C1", 3, "01/01/2025", "Gasolio", 40, 0, 2, 1, 1, 0, "01/01/2025"};
    send(3, "15/03/2021", {a1, a2, a3});
    send(7, "20/05/2023", {b1, b2});
    send(3, "10/06/2024", {withdrawn, a4});
    send(3, "10/01/2025", {b2, c1});
  }

  void send(std::int32_t azienda, const std::string& date, std::initializer_list<Bus> buses) {
    Communication communication(azienda, date);
    for (const Bus& bus : buses) {
      VehicleEntry& entry = communication.append();
      entry.telaio = bus.telaio;
      VehicleData& v = entry.vehicle;
      v.prop = v.interno = v.libretto = v.targa = v.tipo = v.dest = v.carroz = v.atto = "x";
      v.dtimm = "01/01/2000";
      v.ambito = bus.ambito;
      v.prima = bus.prima;
      v.aliment = bus.aliment;
      v.sedere = bus.sedere;
      v.piedi = bus.piedi;
      v.handicap = bus.handicap;
      v.aria = bus.aria;
      v.pedana = bus.pedana;
      v.contrib = bus.contrib;
      v.datini = bus.datini;
      v.datfin = bus.datfin;
      v.datrad = bus.datrad;
    }
    ASSERT_EQ(ApplyCommunication(*connection, communication).outcome, ui::Outcome::Done)
        << ::testing::PrintToString(prompter.texts());
  }

  FleetFigures figuresOn(const std::string& date, FleetGrouping grouping = FleetGrouping::Company,
                         std::int32_t company = -1) {
    FleetStatisticsChoice choice;
    choice.grouping = grouping;
    choice.company = company;
    choice.companyName = "Scelta";
    FleetFigures figures;
    EXPECT_TRUE(ComputeFleetFigures(*connection, choice, date, figures));
    return figures;
  }
};

TEST_P(FleetStatisticsTest, CountsTheVehiclesInServiceWithTheirLatestStateUpToTheDay) {
  const FleetFigures figures = figuresOn("31/12/2024");
  const GroupFigures& region = figures.region;
  // A3 was withdrawn before the day, A4 de-registered after it, C1 came later.
  EXPECT_EQ(region.vehicles, 5);
  EXPECT_EQ(figures.registerVehicles, 5);
  EXPECT_EQ(region.sedere, 125);
  EXPECT_EQ(region.piedi, 90);
  EXPECT_EQ(region.handicap, 4);
  // B2 is 5 the day before its sixth anniversary, B1 20 on its own.
  EXPECT_EQ(region.ageClasses, (std::array<int, AgeClassCount>{2, 0, 1, 1, 1}));
  // Ages of 1674, 2191, 5464 and 7305 days.
  EXPECT_NEAR(*region.meanAge(), 16634 / 4.0 / 365.2425, 1e-9);
  EXPECT_NEAR(*region.medianAge(), (2191 + 5464) / 2.0 / 365.2425, 1e-9);
  EXPECT_EQ(region.fuels,
            (std::map<std::string, int>{{"", 1}, {"Gasolio", 2}, {"Idrogeno", 1}, {"Metano", 1}}));
  EXPECT_EQ(region.withAria, 3);
  EXPECT_EQ(region.withPedana, 3);
  EXPECT_EQ(
      region.contribByYear,
      (std::map<int, ContributionYear>{
          {0, {1, 300}}, {2005, {1, 2000}}, {2010, {1, 500}}, {2019, {1, 0}}, {2020, {1, 1000}}}));
  ASSERT_EQ(figures.groups.size(), 2u);
  EXPECT_EQ(figures.groups[0].code, 3);
  EXPECT_EQ(figures.groups[0].vehicles, 3);  // B2 is still company 7's
  EXPECT_NEAR(*figures.groups[0].medianAge(), (1674 + 5464) / 2.0 / 365.2425, 1e-9);
  EXPECT_EQ(figures.groups[1].code, 7);
  EXPECT_EQ(figures.groups[1].vehicles, 2);
}

TEST_P(FleetStatisticsTest, GroupsByAmbitAndKeepsAChosenCompanyWithoutVehicles) {
  const FleetFigures byAmbit = figuresOn("31/12/2024", FleetGrouping::Ambit);
  ASSERT_EQ(byAmbit.groups.size(), 3u);
  EXPECT_EQ(byAmbit.groups[0].vehicles, 3);  // ambit 3: A1, A4, B2
  EXPECT_EQ(byAmbit.groups[1].vehicles, 1);
  EXPECT_EQ(byAmbit.groups[2].vehicles, 1);

  const FleetFigures chosen = figuresOn("31/12/2024", FleetGrouping::Company, 12);
  EXPECT_EQ(chosen.region.vehicles, 0);
  EXPECT_EQ(chosen.registerVehicles, 5);
  ASSERT_EQ(chosen.groups.size(), 1u);
  EXPECT_FALSE(chosen.groups[0].meanAge());
  const auto tables = FigureTables(chosen, FleetGrouping::Company);
  EXPECT_EQ(RowTexts(tables[0], tables[0].rows[1]),
            (std::vector<std::string>{"0012 - Scelta", "nessun mezzo in servizio al 31/12/2024", "",
                                      "", ""}));
  EXPECT_TRUE(tables[1].rows.empty());

  EXPECT_EQ(figuresOn("31/12/2020").registerVehicles, 0);
}

TEST_P(FleetStatisticsTest, ComparesEachFigureWithAnEarlierDay) {
  const auto now = FigureTables(figuresOn("31/12/2024"), FleetGrouping::Company);
  const auto before = FigureTables(figuresOn("31/12/2023"), FleetGrouping::Company);
  const auto tables = ComparedTables(now, before, "31/12/2024", "31/12/2023");
  const FigureTable& seats = tables[0];
  EXPECT_EQ(ColumnHeading(seats.columns[1]), "Mezzi 31/12/2023");
  EXPECT_EQ(ColumnHeading(seats.columns[2]), "Mezzi variazione");
  // A3 counted in 2023 with 15 seats, A4 in 2024 with 10.
  EXPECT_EQ(RowTexts(seats, seats.rows[0]),
            (std::vector<std::string>{"Totale", "5", "5", "0", "125", "130", "-5", "90", "90", "0",
                                      "4", "4", "0"}));
  // A fuel met at one date only has no value at the other, and no change.
  const FigureTable& fuels = tables[3];
  const auto unstated = std::find_if(fuels.rows.begin(), fuels.rows.end(), [](const auto& row) {
    return row.labels == std::vector<std::string>{"Totale", "non indicato"};
  });
  ASSERT_NE(unstated, fuels.rows.end());
  EXPECT_EQ(RowTexts(fuels, *unstated),
            (std::vector<std::string>{"Totale", "non indicato", "1", "", "", "20,0", "", ""}));
}

INSTANTIATE_TEST_SUITE_P(Engines, FleetStatisticsTest, ::testing::ValuesIn(testing::testEngines()),
                         testing::engineName);

TEST(FleetStatisticsRules, DatesThatAreNoDatesEndNothing) {
  VehicleData vehicle;
  vehicle.datfin = "00/00/0000";
  vehicle.datrad = "99/99/9999";
  EXPECT_TRUE(InServiceOn(vehicle, "31/12/2024"));
  vehicle.datfin = "31/12/2024";
  EXPECT_FALSE(InServiceOn(vehicle, "31/12/2024"));
  EXPECT_TRUE(InServiceOn(vehicle, "30/12/2024"));
}

TEST(FleetStatisticsRules, CsvIsForItalianSpreadsheets) {
  FigureTable table{"Età; e \"note\"",
                    {"Azienda"},
                    {{"Mezzi"}, {"Contributo", FigureKind::Amount}},
                    {{{"0003 - Beta"}, {1234.0, 104400.5}, {}}}};
  EXPECT_EQ(FigureTablesCsv({table}),
            "\xEF\xBB\xBF\"Età; e \"\"note\"\"\"\r\nAzienda;Mezzi;Contributo\r\n"
            "0003 - Beta;1234;104400,50\r\n\r\n");
  EXPECT_EQ(FigureText(-0.04, {"x", FigureKind::Percent, true}), "0,0");
  EXPECT_EQ(FigureText(2.25, {"x", FigureKind::Years, true}), "+2,2");
}

// Columns line up by characters, not bytes, and a note runs on from the
// first value column without widening it.
TEST(FleetStatisticsRules, PlainTableAlignsAccentedLabelsAndNotes) {
  FigureTable table{
      "Mezzi e posti",
      {"Azienda"},
      {{"Mezzi"}, {"Età media", FigureKind::Years}},
      {{{"0001 - Città"}, {12.0, 6.25}, {}},
       {{"0002 - Altra"}, {0.0, std::nullopt}, "nessun mezzo in servizio al 01/01/2024"}}};
  EXPECT_EQ(FigureTablesText({table}),
            "Mezzi e posti\n"
            "Azienda       Mezzi  Età media\n"
            "0001 - Città     12        6,2\n"
            "0002 - Altra  nessun mezzo in servizio al 01/01/2024\n\n");
}

}  // namespace
}  // namespace veltra::comms
