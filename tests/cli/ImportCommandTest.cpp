#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cli/CommandLine.h"
#include "comms/TaggedFileWriter.h"
#include "db/DatabaseConnection.h"
#include "db/QueryCursor.h"
#include "schema/DatabaseCreation.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::cli {
namespace {

class ImportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // No association of the user's own installation leaks into the test.
    setenv("VELTRA_SETTINGS", dir.file("veltra.ini").c_str(), 1);
    database = dir.file("VELTRA.MDB");
    testing::RecordingPrompter quiet;
    ASSERT_EQ(schema::BuildNewDatabase(quiet, database, "").outcome, ui::Outcome::Done);
    file = dir.file("VariazioniBusQz.txt");
    std::ofstream(file, std::ios::binary)
        << comms::CommunicationFileText(testing::SyntheticCommunication(7, "15/03/2024", 2))
               .value();
  }

  int run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    return runCommandLine(args, out, err);
  }

  int busRows() {
    testing::RecordingPrompter quiet;
    db::DatabaseConnection connection(quiet, database);
    db::QueryCursor query(&connection);
    query.SetSelect("telaio");
    query.SetFrom("bus");
    int count = 0;
    for (bool row = query.Execute(); row; row = query.NextRow()) ++count;
    return count;
  }

  testing::TempDir dir;
  std::string database;
  std::string file;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(ImportCommandTest, WithoutYesChecksTheFileAndStopsAfterTheQuestion) {
  EXPECT_EQ(run({"--db", database, "import", file}), ExitOk);
  EXPECT_EQ(out.str(),
            "Il file proposto presenta un contenuto valido per l'importazione.\n\n"
            "Si intende procedere oltre?\n");
  EXPECT_EQ(busRows(), 0);
}

TEST_F(ImportCommandTest, WithYesAppliesTheFile) {
  EXPECT_EQ(run({"--db", database, "import", file, "--yes"}), ExitOk);
  EXPECT_NE(out.str().find(" con successo.\nSono state inserite 2 schede Bus\n"), std::string::npos)
      << out.str();
  EXPECT_EQ(busRows(), 2);
  // The same file again: the duplicate refusal on standard error, exit 1.
  EXPECT_EQ(run({"--db", database, "import", file, "--yes"}), ExitFailed);
  EXPECT_NE(err.str().find("ATTENZIONE: Esiste già una comunicazione"), std::string::npos);
  EXPECT_NE(out.str().find(" con errori.\n"), std::string::npos);
}

TEST_F(ImportCommandTest, ACorruptFileIsRefusedOnStandardError) {
  std::ofstream(file, std::ios::binary) << "<VariazioniBusQz>1\r\n";
  EXPECT_EQ(run({"--db", database, "import", file, "--yes"}), ExitFailed);
  EXPECT_TRUE(err.str().starts_with("ATTENZIONE: Il file proposto per l'importazione è corrotto"));
  EXPECT_EQ(busRows(), 0);
}

TEST_F(ImportCommandTest, UsesTheAssociatedDatabaseWhenNoneIsGiven) {
  ASSERT_EQ(run({"connect", database}), ExitOk);
  EXPECT_EQ(run({"import", file, "--yes"}), ExitOk) << err.str();
  EXPECT_EQ(busRows(), 2);
}

TEST_F(ImportCommandTest, RefusesToRunWithoutADatabaseOrAFile) {
  EXPECT_EQ(run({"import", file, "--yes"}), ExitFailed);
  EXPECT_FALSE(err.str().empty());
  EXPECT_EQ(run({"--db", database, "import"}), ExitUsage);
  EXPECT_EQ(run({"--db", database, "import", file, file}), ExitUsage);
  EXPECT_TRUE(err.str().find("veltra-cli: import importa un file per volta: 2 file indicati\n") !=
              std::string::npos)
      << err.str();
  EXPECT_EQ(run({"--db", dir.file("absent.mdb"), "import", file, "--yes"}), ExitFailed);
}

}  // namespace
}  // namespace veltra::cli
