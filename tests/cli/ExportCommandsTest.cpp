#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/CommandLine.h"
#include "cli/ExportCommands.h"
#include "db/engine/EngineDatabase.h"
#include "schema/DatabaseCreation.h"
#include "support/RecordingPrompter.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"

namespace veltra::cli {
namespace {

std::string readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

class ExportCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // No association of the user's own installation leaks into the test.
    setenv("VELTRA_SETTINGS", dir.file("veltra.ini").c_str(), 1);
    database = dir.file("VELTRA.MDB");
    testing::RecordingPrompter quiet;
    ASSERT_EQ(schema::BuildNewDatabase(quiet, database, "").outcome, ui::Outcome::Done);
    for (const char* sample :
         {"VariazioniBusQz_12_20240315.txt", "VariazioniBusQz_12_20240930.txt"})
      ASSERT_EQ(run({"import", std::string(VELTRA_SOURCE_DIR) + "/examples/" + sample, "--yes"}),
                ExitOk)
          << err.str();
  }

  int run(std::vector<std::string> args) {
    out.str("");
    err.str("");
    args.insert(args.begin(), {"--db", database});
    return runCommandLine(args, out, err);
  }

  testing::TempDir dir;
  std::string database;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(ExportCommandsTest, ExportSituationsWritesTheFilesIntoTheFolder) {
  const auto folder = dir.path() / "uscita";
  std::filesystem::create_directory(folder);
  EXPECT_EQ(run({"export-situations", "--date", "31-12-24", "--dir", folder.string()}), ExitOk);
  EXPECT_EQ(out.str(),
            "Le situazioni dei mezzi Aziendali è stata generata con successo\n"
            "e può essere inoltrata alle Aziende T.P.L.\n");
  const std::string file = readWholeFile(folder / "ComunicazioneBusQz_12.txt");
  EXPECT_TRUE(file.starts_with("<ComunicazioneBusQz>3\r\n<Azienda=12>\r\n<Data=31/12/2024>\r\n"))
      << file;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(ExportCommandsTest, ExportSituationsRefusesABadDateOrAMissingFolder) {
  EXPECT_EQ(run({"export-situations", "--date", "31/02/2024", "--dir", dir.path().string()}),
            ExitFailed);
  EXPECT_TRUE(err.str().starts_with("ATTENZIONE: la data di generazione è espressa in un formato"));
  const std::string missing = dir.file("nessuna");
  EXPECT_EQ(run({"export-situations", "--date", "31/12/2024", "--dir", missing}), ExitFailed);
  EXPECT_EQ(err.str(), "La cartella non esiste\n\n" + missing + "\n");
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(ExportCommandsTest, MalformedOptionsAreUsageErrors) {
  EXPECT_EQ(run({"export-situations", "--date", "31/12/2024"}), ExitUsage);
  EXPECT_NE(err.str().find("manca l'opzione --dir"), std::string::npos);
  EXPECT_EQ(run({"export-fleet", "--date", "31/12/2024", "--out"}), ExitUsage);
  EXPECT_EQ(run({"export-fleet", "--date", "1/1/2024", "--date", "2/1/2024", "--out", "x"}),
            ExitUsage);
  EXPECT_EQ(run({"export-fleet", "--date", "31/12/2024", "--out", "x", "--radiati"}), ExitUsage);
  EXPECT_EQ(run({"status", "12", "15/03/2024", "altro"}), ExitUsage);
}

TEST_F(ExportCommandsTest, ExportFleetWritesTheChosenVehicles) {
  const std::string file = dir.file("SituazioneMezzi.txt");
  EXPECT_EQ(run({"export-fleet", "--date", "31/12/2024", "--out", file, "--company", "12",
                 "--ambit", "3", "--active-only"}),
            ExitOk)
      << err.str();
  EXPECT_TRUE(out.str().empty());
  const std::string text = readWholeFile(file);
  EXPECT_TRUE(
      text.starts_with("Situazione mezzi al 31/12/2024\r\n"
                       "Esclusivamente mezzi utilizzati dall'Azienda=12\r\n"
                       "Esclusivamente mezzi assegnati all'Ambito=3\r\n"
                       "Esclusi i mezzi gi\xE0 radiati\r\n\r\nTelaio\t"))
      << text;
  EXPECT_NE(text.find("\r\nYV3T2U829LA195021\t30/09/2024\t"), std::string::npos);
  EXPECT_NE(text.find("\r\nZCFA1AD0002512345\t30/09/2024\t"), std::string::npos);
  EXPECT_EQ(text.find("VNEM1A9TH2A009876"), std::string::npos);  // de-registered
  // Not in the second communication: its state is the first one's.
  EXPECT_NE(text.find("\r\nWEB62801313100877\t15/03/2024\t"), std::string::npos);
}

TEST_F(ExportCommandsTest, ExportFleetRefusesUnlistedCodesAndEmptyResults) {
  const std::string file = dir.file("SituazioneMezzi.txt");
  EXPECT_EQ(run({"export-fleet", "--date", "31/12/2024", "--out", file, "--company", "7"}),
            ExitFailed);
  EXPECT_EQ(err.str(),
            "ATTENZIONE: Il Codice Azienda non è valido.\n\n"
            "Occorre selezionare un Codice Azienda presente nella lista.\n\n\n");
  EXPECT_EQ(run({"export-fleet", "--date", "14/03/2024", "--out", file}), ExitFailed);
  EXPECT_EQ(err.str(),
            "ATTENZIONE: non esiste neppure un mezzo che soddisfi i criteri specificati.\n\n"
            "La generazione del file TXT non può avere luogo\n");
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(ExportCommandsTest, StatusListsCompaniesDatesAndVerdicts) {
  EXPECT_EQ(run({"status"}), ExitOk);
  const std::string companies = out.str();
  EXPECT_TRUE(companies.starts_with("0012 - ")) << companies;
  EXPECT_EQ(std::count(companies.begin(), companies.end(), '\n'), 1);
  EXPECT_EQ(run({"status", "12"}), ExitOk);
  EXPECT_EQ(out.str(), "15/03/2024\n30/09/2024\n");
  EXPECT_EQ(run({"status", "12", "30.09.24"}), ExitOk);
  EXPECT_EQ(out.str(), "Comunicazione del 30/09/2024\n\nPresentata con contenuti\n");
}

TEST_F(ExportCommandsTest, StatusRefusesWhatIsNotThere) {
  EXPECT_EQ(run({"status", "3"}), ExitFailed);
  EXPECT_TRUE(err.str().starts_with("ATTENZIONE: Il Codice Azienda non è valido.")) << err.str();
  EXPECT_EQ(run({"status", "12", "16/03/2024"}), ExitFailed);
  EXPECT_EQ(err.str(), "Nessuna comunicazione dell'Azienda=12 in data 16/03/2024\n");
  EXPECT_EQ(run({"status", "12", "16/3/2024"}), ExitFailed);
  EXPECT_TRUE(err.str().starts_with("ATTENZIONE: la data di generazione"));
}

TEST_F(ExportCommandsTest, StatusFailsAfterAnEngineError) {
  {
    db::engine::EngineStatus status;
    auto engine = db::engine::EngineDatabase::open(database, status);
    ASSERT_TRUE(engine->execute("PRAGMA foreign_keys = OFF; DROP TABLE storia"));
  }
  EXPECT_EQ(run({"status", "12", "30/09/2024"}), ExitFailed);
  EXPECT_TRUE(out.str().empty()) << "no verdict after the failure";
  EXPECT_FALSE(err.str().empty());
  {
    db::engine::EngineStatus status;
    auto engine = db::engine::EngineDatabase::open(database, status);
    ASSERT_TRUE(engine->execute("ALTER TABLE comunica RENAME TO altro"));
  }
  EXPECT_EQ(run({"status"}), ExitFailed);
}

// Past the limit a write fails: the message, exit 1, the file as it was and
// no temporary file beside it, instead of a death by SIGXFSZ.
TEST_F(ExportCommandsTest, ExportFleetUnderAFileSizeLimitSaysTheWriteFailed) {
  const std::string file = dir.file("SituazioneMezzi.txt");
  std::ofstream(file) << "previous";
  const auto run =
      testing::runProgram("/bin/sh",
                          {"-c", "ulimit -f 1; exec \"$0\" \"$@\"", VELTRA_CLI_PATH, "--db",
                           database, "export-fleet", "--date", "31/12/2024", "--out", file},
                          {"VELTRA_SETTINGS=" + dir.file("veltra.ini")});
  EXPECT_EQ(run.exitStatus, ExitFailed);
  EXPECT_EQ(run.err, "Impossibile scrivere\n\n" + file + "\n");
  EXPECT_EQ(readWholeFile(file), "previous");
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
}

}  // namespace
}  // namespace veltra::cli
