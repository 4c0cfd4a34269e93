// veltra-cli connect and disconnect, run as a script would run them, and the
// association they leave for the desktop program.

#include <gtest/gtest.h>

#include <fstream>

#include "db/engine/EngineDatabase.h"
#include "qt/AssociationSettings.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace veltra::testing {
namespace {

class ConnectCommandTest : public ::testing::Test {
 protected:
  ProgramRun cli(const std::vector<std::string>& args) {
    return runProgram(VELTRA_CLI_PATH, args, {"VELTRA_SETTINGS=" + settingsFile});
  }
  qt::AssociationSettings settings() const {
    return qt::AssociationSettings(QString::fromStdString(settingsFile));
  }
  std::string makeDatabase(const std::string& name) {
    const std::string path = dir.file(name);
    db::engine::EngineStatus status;
    auto database = db::engine::EngineDatabase::create(path, status);
    EXPECT_TRUE(database) << status.text;
    return path;
  }

  TempDir dir;
  std::string settingsFile = dir.file("veltra.ini");
};

TEST_F(ConnectCommandTest, ConnectAssociatesADatabaseThatOpens) {
  const std::string path = makeDatabase("VELTRA.MDB");
  const auto run = cli({"connect", path});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, "Database associato: " + path + "\n");
  EXPECT_EQ(settings().database(), path);
}

TEST_F(ConnectCommandTest, ConnectKeepsTheFullPathOfARelativeName) {
  makeDatabase("VELTRA.MDB");
  const auto run = runProgram("/bin/sh",
                              {"-c", "cd '" + dir.path().string() + "' && exec '" +
                                         std::string(VELTRA_CLI_PATH) + "' connect VELTRA.MDB"},
                              {"VELTRA_SETTINGS=" + settingsFile});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(settings().database(), dir.file("VELTRA.MDB"));
}

TEST_F(ConnectCommandTest, ConnectRefusesAFileThatDoesNotOpenAndKeepsTheAssociation) {
  const std::string good = makeDatabase("VELTRA.MDB");
  ASSERT_EQ(cli({"connect", good}).exitStatus, 0);
  const std::string text = dir.file("testo.mdb");
  std::ofstream(text) << "solo testo\n";
  const auto run = cli({"connect", text});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err.rfind("Errore in fase di apertura del database\n\n", 0), 0u) << run.err;
  EXPECT_TRUE(run.out.empty());
  EXPECT_EQ(settings().database(), good);
}

TEST_F(ConnectCommandTest, ConnectWantsExactlyOnePath) {
  EXPECT_EQ(cli({"connect"}).exitStatus, 2);
  EXPECT_EQ(cli({"connect", "a.mdb", "b.mdb"}).exitStatus, 2);
  EXPECT_FALSE(settings().keyExists());
}

TEST_F(ConnectCommandTest, DisconnectAsksAndNeedsYes) {
  const std::string path = makeDatabase("VELTRA.MDB");
  ASSERT_EQ(cli({"connect", path}).exitStatus, 0);

  const auto refused = cli({"disconnect"});
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_EQ(refused.out, "Confermi sconnessione database ?\n");
  EXPECT_EQ(settings().database(), path);

  const auto done = cli({"--yes", "disconnect"});
  EXPECT_EQ(done.exitStatus, 0) << done.err;
  EXPECT_EQ(settings().database(), std::string());
  EXPECT_TRUE(settings().keyExists());
}

TEST_F(ConnectCommandTest, DisconnectWithNothingAssociatedCreatesNoSettings) {
  const auto run = cli({"--yes", "disconnect"});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_FALSE(settings().keyExists());
  EXPECT_EQ(cli({"disconnect", "troppo"}).exitStatus, 2);
}

}  // namespace
}  // namespace veltra::testing
