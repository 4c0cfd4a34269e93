// create, repair and duplicate as a user or a script calls them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "db/DatabaseConnection.h"
#include "db/QueryCursor.h"
#include "support/RecordingPrompter.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace veltra::testing {
namespace {

class SchemaCommandsTest : public ::testing::Test {
 protected:
  ProgramRun cli(const std::vector<std::string>& args) {
    return runProgram(VELTRA_CLI_PATH, args, {"VELTRA_SETTINGS=" + dir.file("veltra.ini")});
  }
  // The number of rows of a table, read through the program's own cursors.
  int rows(const std::string& path, const std::string& table) {
    RecordingPrompter prompter;
    db::DatabaseConnection connection(prompter, path);
    db::QueryCursor query(&connection);
    query.SetSelect("count(*) AS n");
    query.SetFrom(table);
    std::string count;
    if (!query.Execute() || !query.GetText("n", count)) return -1;
    return std::stoi(count);
  }

  TempDir dir;
};

TEST_F(SchemaCommandsTest, CreateBuildsACompleteDatabase) {
  const std::string path = dir.file("parco.mdb");
  const auto run = cli({"create", path});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, "Il database " + path + " è stato creato con successo\n\n\n");
  EXPECT_TRUE(run.err.empty()) << run.err;
  EXPECT_EQ(rows(path, "regazi"), 204);
  EXPECT_EQ(rows(path, "regprv"), 12);
}

TEST_F(SchemaCommandsTest, CreateOverAnExistingFileFailsAndLeavesIt) {
  const std::string path = dir.file("esistente.mdb");
  std::ofstream(path) << "non toccare";
  const auto run = cli({"create", path});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_TRUE(run.out.empty());
  const std::string generic = "Errore durante la creazione del database " + path + "\n\n";
  EXPECT_EQ(run.err.rfind(generic, 0), 0u) << run.err;
  EXPECT_EQ(run.err.substr(run.err.size() - generic.size() - 1), generic + "\n");
  std::ifstream in(path);
  std::string content;
  std::getline(in, content);
  EXPECT_EQ(content, "non toccare");
}

TEST_F(SchemaCommandsTest, RepairOfAHealthyFileIsSilent) {
  const std::string path = dir.file("sano.mdb");
  ASSERT_EQ(cli({"create", path}).exitStatus, 0);
  const auto run = cli({"repair", path});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_TRUE(run.out.empty());
  EXPECT_TRUE(run.err.empty());
}

TEST_F(SchemaCommandsTest, RepairOfAFileThatIsNotADatabaseReportsTheError) {
  const std::string path = dir.file("testo.mdb");
  std::ofstream(path) << "questo non è un database\n";
  const auto run = cli({"repair", path});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err.rfind("Errore durante la riparazione del database\n\n" + path + "\n\n", 0), 0u)
      << run.err;
}

TEST_F(SchemaCommandsTest, DuplicateWritesACopyThatOpensWithTheSameRows) {
  const std::string source = dir.file("origine.mdb");
  const std::string copy = dir.file("copia.mdb");
  ASSERT_EQ(cli({"create", source}).exitStatus, 0);
  const auto run = cli({"duplicate", source, copy});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_TRUE(run.out.empty());
  EXPECT_TRUE(run.err.empty());
  EXPECT_EQ(rows(copy, "regazi"), 204);
  EXPECT_EQ(rows(copy, "campi"), 63);

  const auto again = cli({"duplicate", source, copy});
  EXPECT_EQ(again.exitStatus, 1);
  EXPECT_EQ(
      again.err.rfind(
          "Errore durante la duplicazione del database\n\n" + source + "\n" + copy + "\n\n", 0),
      0u)
      << again.err;
}

TEST_F(SchemaCommandsTest, WrongNumberOfPathsIsAUsageError) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"create"}, {"repair"}, {"duplicate", dir.file("solo.mdb")}, {"create", "a", "b"}}) {
    const auto run = cli(args);
    EXPECT_EQ(run.exitStatus, 2) << args[0];
    EXPECT_NE(run.err.find("Uso: veltra-cli"), std::string::npos);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("solo.mdb")));
}

}  // namespace
}  // namespace veltra::testing
