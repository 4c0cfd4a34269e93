#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comms/RecordLine.h"

namespace veltra::comms {
namespace {

// The 28 fields of a valid record line, each replaceable by a test.
std::vector<std::string> sampleFields() {
  return {"NEW",      "ZCF123",     "7",          "3",          "Città Alta", "12",     "AB1234",
          "OM123AB",  "01/02/2003", "Iveco",      "04/05/2006", "Linea",      "Urbano", "Gasolio",
          "40",       "60",         "2",          "12,5",       "0,34",       "S",      "N",
          "150000,5", "60000",      "DGR 1/2004", "1.5",        "07/08/2009", "",       ""};
}

std::string join(const std::vector<std::string>& fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) line += (i == 0 ? "" : "\t") + fields[i];
  return line;
}

TEST(ParseVariationLine, FillsEveryFieldOfTheEntry) {
  Communication communication(5, "10/10/2010");
  ASSERT_TRUE(ParseVariationLine(communication, join(sampleFields())));
  ASSERT_EQ(communication.entryCount(), 1u);
  const VehicleEntry& e = communication.entries().front();
  EXPECT_EQ(e.kind, EntryKind::New);
  EXPECT_EQ(e.telaio, "ZCF123");
  EXPECT_EQ(e.vehicle.ambito, 3);
  EXPECT_EQ(e.vehicle.prop, "Città Alta");
  EXPECT_EQ(e.vehicle.interno, "12");
  EXPECT_EQ(e.vehicle.libretto, "AB1234");
  EXPECT_EQ(e.vehicle.targa, "OM123AB");
  EXPECT_EQ(e.vehicle.prima, "01/02/2003");
  EXPECT_EQ(e.vehicle.tipo, "Iveco");
  EXPECT_EQ(e.vehicle.dtimm, "04/05/2006");
  EXPECT_EQ(e.vehicle.dest, "Linea");
  EXPECT_EQ(e.vehicle.carroz, "Urbano");
  EXPECT_EQ(e.vehicle.aliment, "Gasolio");
  EXPECT_EQ(e.vehicle.sedere, 40);
  EXPECT_EQ(e.vehicle.piedi, 60);
  EXPECT_EQ(e.vehicle.handicap, 2);
  EXPECT_EQ(e.vehicle.lung, 12.5);
  EXPECT_EQ(e.vehicle.altezza, 0.34);
  EXPECT_EQ(e.vehicle.aria, 1);
  EXPECT_EQ(e.vehicle.pedana, 0);
  EXPECT_EQ(e.vehicle.prezzo, 150000.5);
  EXPECT_EQ(e.vehicle.contrib, 60000.0);
  EXPECT_EQ(e.vehicle.atto, "DGR 1/2004");
  EXPECT_EQ(e.vehicle.contrib2, 1.5);
  EXPECT_EQ(e.vehicle.datini, "07/08/2009");
  EXPECT_EQ(e.vehicle.datfin, "");
  EXPECT_EQ(e.vehicle.datrad, "");
}

TEST(ParseVariationLine, IgnoresTheCompanyColumnAndReadsKindVar) {
  auto fields = sampleFields();
  fields[0] = "VAR";
  fields[2] = "not a code";
  Communication communication(5, "10/10/2010");
  ASSERT_TRUE(ParseVariationLine(communication, join(fields)));
  EXPECT_EQ(communication.entries().front().kind, EntryKind::Var);
}

TEST(ParseVariationLine, ALowerCaseFlagReadsAsNo) {
  auto fields = sampleFields();
  fields[19] = "s";
  Communication communication(5, "10/10/2010");
  ASSERT_TRUE(ParseVariationLine(communication, join(fields)));
  EXPECT_EQ(communication.entries().front().vehicle.aria, 0);
}

TEST(ParseVariationLine, RefusesMalformedLinesAndAppendsNothing) {
  const std::string valid = join(sampleFields());
  auto shortLine = sampleFields();
  shortLine.pop_back();
  auto longLine = sampleFields();
  longLine.push_back("x");
  std::vector<std::string> refused = {
      join(shortLine),  // 27 fields
      join(longLine),   // 29 fields
      valid + "\t",     // a trailing TAB is a 29th field
      "",
      "NEW",
  };
  for (const char* kind : {"new", "var", "NEW ", "", "ADD"}) {
    auto fields = sampleFields();
    fields[0] = kind;
    refused.push_back(join(fields));
  }
  for (const std::string& line : refused) {
    Communication communication(5, "10/10/2010");
    EXPECT_FALSE(ParseVariationLine(communication, line)) << line;
    EXPECT_EQ(communication.entryCount(), 0u);
  }
}

TEST(ParseVariationLine, RefusesNumbersThatDoNotFit) {
  for (std::size_t field : {3u, 14u, 17u, 21u}) {
    auto fields = sampleFields();
    fields[field] = field == 17 || field == 21 ? "1e400" : "4294967296";
    Communication communication(5, "10/10/2010");
    EXPECT_FALSE(ParseVariationLine(communication, join(fields))) << field;
  }
}

TEST(ParseVariationLine, HoldsEachFieldUpToItsCapacityInCharacters) {
  struct Capacity {
    std::size_t field;
    std::size_t characters;
  };
  // telaio, prop 63; libretto, tipo, dest, carroz, aliment, atto 31; interno,
  // targa, dates 15; any other field 1023.
  const Capacity capacities[] = {{1, 63},  {4, 63},  {6, 31},  {9, 31},    {11, 31},   {12, 31},
                                 {13, 31}, {23, 31}, {5, 15},  {7, 15},    {8, 15},    {10, 15},
                                 {25, 15}, {26, 15}, {27, 15}, {14, 1023}, {17, 1023}, {19, 1023}};
  for (const auto& [field, characters] : capacities) {
    auto fields = sampleFields();
    // Accented letters: the capacity counts characters, not UTF-8 bytes.
    const bool numeric = field == 14 || field == 17;
    const std::string filler = numeric ? "0" : "à";
    std::string text;
    for (std::size_t i = 0; i < characters; ++i) text += filler;
    fields[field] = text;
    Communication fits(5, "10/10/2010");
    EXPECT_TRUE(ParseVariationLine(fits, join(fields))) << field;
    fields[field] = text + filler;
    Communication over(5, "10/10/2010");
    EXPECT_FALSE(ParseVariationLine(over, join(fields))) << field;
  }
}

TEST(VariationRecordLine, WritesWhatTheParserReadsBack) {
  Communication read(5, "10/10/2010");
  ASSERT_TRUE(ParseVariationLine(read, join(sampleFields())));
  const VehicleEntry& entry = read.entries().front();
  const std::string line = VariationRecordLine(5, entry);
  EXPECT_EQ(line,
            "NEW\tZCF123\t5\t3\tCittà Alta\t12\tAB1234\tOM123AB\t01/02/2003\tIveco\t04/05/2006\t"
            "Linea\tUrbano\tGasolio\t40\t60\t2\t12,500\t0,3\tS\tN\t150000,50\t60000,00\t"
            "DGR 1/2004\t1,50\t07/08/2009\t\t");
  Communication again(5, "10/10/2010");
  ASSERT_TRUE(ParseVariationLine(again, line));
  VehicleEntry expected = entry;
  expected.vehicle.altezza = 0.3;  // one decimal on the way out
  EXPECT_EQ(again.entries().front(), expected);
}

TEST(SituationRecordFields, HasTwentySevenFieldsAndEndsWithTheEmptyDatrad) {
  VehicleEntry entry;
  entry.telaio = "A1";
  entry.vehicle.ambito = 4;
  entry.vehicle.altezza = 3.0;
  entry.vehicle.prezzo = 1500.0;
  entry.vehicle.aria = 1;
  const std::string line = SituationRecordFields(7, entry);
  EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 26);
  EXPECT_EQ(line.back(), '\t');
  EXPECT_EQ(line.substr(0, 7), "A1\t7\t4\t");
  EXPECT_NE(line.find("\t3,0\tS\tN\t1500,00\t0,00\t\t0,00\t"), std::string::npos) << line;
}

}  // namespace
}  // namespace veltra::comms
