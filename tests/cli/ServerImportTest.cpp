// Imports into a register on a server: two workstations at once, and a
// server that goes away midway.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>

#include "comms/TaggedFileWriter.h"
#include "db/DatabaseConnection.h"
#include "db/QueryCursor.h"
#include "schema/DatabaseCreation.h"
#include "support/EngineTestSupport.h"
#include "support/RecordingPrompter.h"
#include "support/RunProgram.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::cli {
namespace {

constexpr int Vehicles = 300;

class ServerImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testing::requireTestServer().empty());
    database = testing::newRegisterLocator(testing::TestEngine::Server, dir);
    ASSERT_EQ(schema::BuildNewDatabase(quiet, database, "").outcome, ui::Outcome::Done);
  }

  // veltra-cli importing a communication of the company, started now.
  std::future<testing::ProgramRun> startImport(int company, int vehicles) {
    const std::string file = dir.file("VariazioniBusQz_" + std::to_string(company) + ".txt");
    std::ofstream(file, std::ios::binary)
        << comms::CommunicationFileText(
               testing::SyntheticCommunication(company, "15/03/2024", vehicles))
               .value();
    const std::string settings = "VELTRA_SETTINGS=" + dir.file("veltra.ini");
    return std::async(std::launch::async, [=, this] {
      return testing::runProgram(VELTRA_CLI_PATH, {"--db", database, "import", file, "--yes"},
                                 {settings});
    });
  }

  testing::TempDir dir;
  std::string database;
  testing::RecordingPrompter quiet;
};

TEST_F(ServerImportTest, TwoImportsStartedAtOnceBothLand) {
  auto first = startImport(7, Vehicles);
  auto second = startImport(8, Vehicles);
  for (auto* run : {&first, &second}) {
    const auto result = run->get();
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("Sono state inserite " + std::to_string(Vehicles) + " schede Bus"),
              std::string::npos)
        << result.out;
  }
  db::DatabaseConnection connection(quiet, database);
  db::QueryCursor query(&connection);
  query.SetSelect("telaio");
  query.SetFrom("bus");
  int rows = 0;
  for (bool row = query.Execute(); row; row = query.NextRow()) ++rows;
  EXPECT_EQ(rows, 2 * Vehicles);
}

// A server restarted, or a network cut, in the middle of an import: the
// command says so and fails, and the register holds nothing of it.
TEST_F(ServerImportTest, AServerThatGoesAwayMidImportIsSaidAndNothingIsWritten) {
  auto import = startImport(7, 5000);
  db::DatabaseConnection watcher(quiet, database);
  // The import's session is ended once it holds the lock of bulk work.
  bool ended = false;
  while (!ended && import.wait_for(std::chrono::milliseconds(2)) != std::future_status::ready) {
    db::QueryCursor query(&watcher);
    query.SetSelect("pg_terminate_backend(pid)");
    query.SetFrom("pg_locks");
    // Only this register's: other tests may be at work on the same server.
    query.SetWhere(
        "locktype = 'advisory' AND granted AND database = "
        "(SELECT oid FROM pg_database WHERE datname = current_database())");
    ended = query.Execute();
  }
  ASSERT_TRUE(ended) << "the import ended before it could be stopped";
  const auto result = import.get();
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_NE(result.err.find("server del database"), std::string::npos) << result.err;
  db::QueryCursor query(&watcher);
  query.SetSelect("azienda");
  query.SetFrom("comunica");
  EXPECT_FALSE(query.Execute());
  EXPECT_FALSE(query.Failed());
}

}  // namespace
}  // namespace veltra::cli
