#include <gtest/gtest.h>

#include <cctype>

#include "comms/ExportDatabase.h"
#include "comms/FleetFileFormat.h"
#include "comms/FleetSituation.h"
#include "comms/VehicleFields.h"
#include "comms/VehicleQuery.h"
#include "db/FieldValueText.h"
#include "db/PlainText.h"
#include "db/QueryCursor.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::comms {
namespace {

// The first way of loading the states, kept as the reference: every history
// row up to the day in chassis and date order, the last one of each chassis
// kept, under the spelling of its first.
std::vector<SituationRow> referenceStates(db::DatabaseConnection& connection,
                                          const std::string& day) {
  QueryColumns<SituationRow> columns = {TextColumn("storia.telaio", &SituationRow::telaio),
                                        TextColumn("storia.data", &SituationRow::data),
                                        WholeColumn("storia.azienda", &SituationRow::azienda),
                                        TextColumn("regazi.denom", &SituationRow::companyName),
                                        TextColumn("regprv.denom", &SituationRow::ambitName)};
  AppendVehicleColumns(columns, "storia", &SituationRow::vehicle);
  db::QueryCursor query(&connection);
  query.SetSelect(SelectList(columns));
  query.SetFrom("storia, regazi, regprv");
  query.SetWhere("storia.data <= #" + day.substr(3, 2) + "/" + day.substr(0, 2) + "/" +
                 day.substr(6) +
                 "# AND storia.azienda = regazi.codice AND storia.ambito = regprv.codice");
  query.SetOrderBy("storia.telaio, storia.data");
  std::vector<SituationRow> states;
  SituationRow row;
  for (bool found = query.Execute(); found; found = query.NextRow()) {
    ReadColumns(query, columns, row);
    db::TrimTrailingBlanks(row.telaio);
    if (!states.empty() && db::EqualsIgnoringCase(row.telaio, states.back().telaio)) {
      row.telaio = states.back().telaio;
      states.back() = row;
    } else {
      states.push_back(row);
    }
  }
  return states;
}

// The file's line of a state made field by field from the row: the chassis,
// the date, the owner, the company and the ambit with their names, the other
// fields in their order.
void referenceLines(const std::vector<SituationRow>& states, FleetLines& lines) {
  const VehicleField& ambito = VehicleFieldNamed("ambito");
  const VehicleField& prop = VehicleFieldNamed("prop");
  for (const SituationRow& row : states) {
    lines.begin(row.telaio);
    for (const std::string& field :
         {row.data, FileText(prop, row.vehicle), std::to_string(row.azienda), row.companyName,
          FileText(ambito, row.vehicle), row.ambitName}) {
      lines.next();
      lines.text() += field;
    }
    for (const VehicleField& field : VehicleFields) {
      if (&field == &ambito || &field == &prop) continue;
      lines.next();
      lines.text() += FileText(field, row.vehicle);
    }
    if (!lines.end(row.azienda, row.vehicle.ambito)) lines.keep(row);
  }
}

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Company 9's vehicles over many dates: some skip a communication, some are
// sent in lower case, some come and go between companies 9 and 3, some are
// de-registered; an older communication arrives after newer ones.
Communication round(std::int32_t azienda, const std::string& date, int revision) {
  const Communication generated = testing::SyntheticCommunication(9, date, 24, revision);
  Communication communication(azienda, date);
  int i = 0;
  for (VehicleEntry entry : generated.entries()) {
    ++i;
    if ((i + revision) % 4 == 0 || (azienda == 3) != (i % 5 == revision % 5)) continue;
    if ((i + revision) % 3 == 0) entry.telaio = lowered(entry.telaio);
    if ((i * revision) % 7 == 1) entry.vehicle.datrad = date;
    communication.append(entry);
  }
  return communication;
}

class FleetSituationTest : public testing::ExportDatabaseTest {};

INSTANTIATE_TEST_SUITE_P(Engines, FleetSituationTest, ::testing::ValuesIn(testing::testEngines()),
                         testing::engineName);

TEST_P(FleetSituationTest, EveryDayAndFilterGivesTheFileOfTheFullHistoryWalk) {
  const std::pair<const char*, int> rounds[] = {
      {"15/06/2023", 1}, {"15/01/2023", 2}, {"15/03/2024", 3}, {"20/03/2024", 4},
      {"15/11/2024", 5}, {"02/02/2025", 6}, {"15/01/2024", 7}};
  for (const auto& [date, revision] : rounds) {
    importCommunication(round(9, date, revision));
    importCommunication(round(3, date, revision));
  }
  prompter.clear();
  std::vector<FleetExportChoice> choices(5);
  choices[1].filter = {false, 9, true, -1, false};
  choices[2].filter = {false, 3, true, -1, false};
  choices[3].filter = {true, -1, false, 2, false};
  choices[4].filter.activeOnly = true;
  for (const char* day : {"01/01/2023", "15/01/2023", "30/06/2023", "31/12/2023", "15/03/2024",
                          "19/03/2024", "31/12/2024", "31/12/2030"}) {
    FleetLines expected;
    referenceLines(referenceStates(*connection, day), expected);
    FleetLines loaded;
    ASSERT_TRUE(LoadFleetLines(*connection, day, loaded));
    ASSERT_EQ(loaded.size(), expected.size()) << day;
    for (auto& choice : choices) {
      choice.date = day;
      EXPECT_EQ(FleetFileText(choice, loaded), FleetFileText(choice, expected)) << day;
    }
  }
  EXPECT_TRUE(prompter.messages.empty());
}

}  // namespace
}  // namespace veltra::comms
