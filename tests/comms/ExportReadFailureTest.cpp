// When the register cannot be read, the exports stop after the cursor's own
// message: no folder or file is asked for, nothing is written, and no
// message tells of a success.

#include <gtest/gtest.h>

#include "comms/CompanySituationExport.h"
#include "comms/FleetSituationExport.h"
#include "db/DatabaseConnection.h"
#include "schema/DatabaseCreation.h"
#include "schema/DictionaryWriters.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace veltra::comms {
namespace {

class ExportReadFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A file of this program whose dictionary describes no application table.
    schema::BuildNewDatabase(prompter, path, "", [](schema::DictionaryCursors&) {});
    connection = std::make_unique<db::DatabaseConnection>(prompter, path);
    ASSERT_TRUE(connection->IsOpen());
    prompter.clear();
    prompter.files.push_back(dir.file("scelto.txt"));
  }

  void expectOnlyTheCursorsMessage() {
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_TRUE(prompter.messages[0].text.starts_with("Errore sintassi SQL\n\nSELECT "))
        << prompter.messages[0].text;
    EXPECT_TRUE(prompter.fileChoices.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "uscita"));
  }

  testing::TempDir dir;
  std::string path = dir.file("VUOTO.MDB");
  testing::RecordingPrompter prompter;
  std::unique_ptr<db::DatabaseConnection> connection;
};

TEST_F(ExportReadFailureTest, TheSituationExportWritesNoFileAndClaimsNoSuccess) {
  std::filesystem::create_directory(dir.path() / "uscita");
  prompter.files.front() = dir.file("uscita/ComunicazioneBus.TXT");
  EXPECT_EQ(ExportCompanySituations(*connection, "31/12/2024"), ui::Outcome::Failed);
  expectOnlyTheCursorsMessage();
}

TEST_F(ExportReadFailureTest, TheFleetExportDoesNotTakeTheFailureForAnEmptyFleet) {
  std::filesystem::create_directory(dir.path() / "uscita");
  prompter.files.front() = dir.file("uscita/SituazioneMezzi.txt");
  FleetExportChoice choice;
  choice.date = "31/12/2024";
  EXPECT_EQ(ExportFleetSituation(*connection, choice), ui::Outcome::Failed);
  expectOnlyTheCursorsMessage();
}

}  // namespace
}  // namespace veltra::comms
