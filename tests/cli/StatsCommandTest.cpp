// stats as a script calls it: the plain table, the CSV file, the PDF read
// back with pdftotext, and the refusals.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "comms/ApplyCommunication.h"
#include "db/DatabaseConnection.h"
#include "schema/DatabaseCreation.h"
#include "support/PdfText.h"
#include "support/RecordingPrompter.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::testing {
namespace {

class StatsCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingPrompter quiet;
    ASSERT_EQ(schema::BuildNewDatabase(quiet, database, "").outcome, ui::Outcome::Done);
    db::DatabaseConnection connection(quiet, database);
    for (std::int32_t company : {3, 7})
      ASSERT_TRUE(
          comms::ApplyCommunication(connection, SyntheticCommunication(company, "15/01/2024", 4))
              .done());
  }

  ProgramRun cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--db", database, "stats"});
    return runProgram(VELTRA_CLI_PATH, args, {"VELTRA_SETTINGS=" + dir.file("veltra.ini")});
  }

  TempDir dir;
  std::string database = dir.file("VELTRA.MDB");
};

TEST_F(StatsCommandTest, WritesTheTableTheCsvAndThePdf) {
  const auto table = cli({"--date", "31/12/24"});
  ASSERT_EQ(table.exitStatus, 0) << table.err;
  // The first table's total: the vehicles right-aligned under their heading.
  std::istringstream lines(table.out);
  std::string title, headings, total;
  std::getline(lines, title);
  std::getline(lines, headings);
  std::getline(lines, total);
  EXPECT_EQ(title, "Mezzi e posti");
  EXPECT_EQ(total.rfind("Totale ", 0), 0u);
  EXPECT_EQ(total.find(" 8 ") + 1, headings.find("Mezzi") + 4) << table.out;

  const std::string csv = dir.file("stats.csv");
  const std::string pdf = dir.file("stats.pdf");
  const auto files = cli({"--date", "31/12/2024", "--compare", "01/01/2024", "--by", "ambit",
                          "--csv", csv, "--pdf", pdf});
  ASSERT_EQ(files.exitStatus, 0) << files.err;
  EXPECT_TRUE(files.out.empty());
  std::ifstream in(csv, std::ios::binary);
  std::getline(in, title);
  std::getline(in, headings);
  std::getline(in, total);
  EXPECT_EQ(title, "\xEF\xBB\xBFMezzi e posti\r");
  EXPECT_EQ(headings.substr(0, 51), "Ambito;Mezzi 31/12/2024;Mezzi 01/01/2024;Mezzi vari");
  EXPECT_EQ(total.substr(0, 14), "Totale;8;0;+8;");
  const auto text = pdfText(pdf);
  EXPECT_NE(text.out.find("Statistiche Parco al 31/12/2024 confrontate con il 01/01/2024"),
            std::string::npos);
  EXPECT_NE(text.out.find("Accessibilità per ambito"), std::string::npos);
}

TEST_F(StatsCommandTest, RefusesBadInputWithTheProgramsMessages) {
  const auto badDate = cli({"--date", "31/02/2024"});
  EXPECT_EQ(badDate.exitStatus, 1);
  EXPECT_EQ(badDate.err.rfind("ATTENZIONE: la data di generazione", 0), 0u) << badDate.err;
  const auto empty = cli({"--date", "31/12/2023"});
  EXPECT_EQ(empty.exitStatus, 1);
  EXPECT_EQ(empty.out, "Non ci sono dati da stampare !!!\n");
  const auto unknownCompany = cli({"--company", "12"});
  EXPECT_EQ(unknownCompany.exitStatus, 1);
  EXPECT_EQ(unknownCompany.err.rfind("ATTENZIONE: Il Codice Azienda", 0), 0u);
  EXPECT_EQ(cli({"--by", "provincia"}).exitStatus, 2);
}

}  // namespace
}  // namespace veltra::testing
