// Two workstations importing into the same server register at the same time.

#include <gtest/gtest.h>

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

TEST(ServerImportTest, TwoImportsStartedAtOnceBothLand) {
  if (testing::testServer().empty()) GTEST_SKIP() << "no test server";
  testing::TempDir dir;
  const std::string database = testing::newRegisterLocator(testing::TestEngine::Server, dir);
  testing::RecordingPrompter quiet;
  ASSERT_EQ(schema::BuildNewDatabase(quiet, database, "").outcome, ui::Outcome::Done);
  const auto import = [&](int company) {
    const std::string file = dir.file("VariazioniBusQz_" + std::to_string(company) + ".txt");
    std::ofstream(file, std::ios::binary)
        << comms::CommunicationFileText(
               testing::SyntheticCommunication(company, "15/03/2024", Vehicles))
               .value();
    const std::string settings = "VELTRA_SETTINGS=" + dir.file("veltra.ini");
    return std::async(std::launch::async, [=, &database] {
      return testing::runProgram(VELTRA_CLI_PATH, {"--db", database, "import", file, "--yes"},
                                 {settings});
    });
  };
  auto first = import(7);
  auto second = import(8);
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

}  // namespace
}  // namespace veltra::cli
