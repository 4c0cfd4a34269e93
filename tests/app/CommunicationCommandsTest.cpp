// Import Comunicazione from the desktop: the file dialog, the question and
// the summary, on the current database.

#include <QFileDialog>

#include "AppFixture.h"
#include "app/CommandIds.h"

namespace veltra::testing {
namespace {

using namespace app;

const std::string Sample =
    std::string(VELTRA_SOURCE_DIR) + "/examples/VariazioniBusQz_12_20240315.txt";

using CommunicationCommandsTest = AppTest;

TEST_F(CommunicationCommandsTest, ImportAsksForTheFileThenConfirmsAndSummarises) {
  startOnRegister(false);
  dialogs.files = {QString::fromStdString(Sample)};
  dialogs.answers = {QMessageBox::Ok};
  window().runCommand(CmdImportCommunication);

  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs[0].title, "Acquisizione Comunicazione Mezzi Aziendali");
  EXPECT_EQ(dialogs.fileDialogs[0].fileMode, QFileDialog::ExistingFile);
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_EQ(dialogs.boxes[0].icon, QMessageBox::Question);
  EXPECT_EQ(dialogs.boxes[1].text,
            "L'Acquisizione della Comunicazione Mezzi Aziendale è terminata\n con successo.\n"
            "Sono state inserite 3 schede Bus\nSono state aggiornate 0 schede Bus");

  // The same communication a second time is refused.
  dialogs.boxes.clear();
  dialogs.files = {QString::fromStdString(Sample)};
  dialogs.answers = {QMessageBox::Ok};
  window().runCommand(CmdImportCommunication);
  ASSERT_GE(dialogs.boxes.size(), 2u);
  EXPECT_EQ(dialogs.boxes[1].text.rfind("ATTENZIONE: Esiste già una comunicazione", 0), 0u);
}

TEST_F(CommunicationCommandsTest, ImportCancelledAtTheQuestionWritesNothing) {
  startOnRegister(false);
  dialogs.files = {QString::fromStdString(Sample)};
  dialogs.answers = {QMessageBox::Cancel};
  window().runCommand(CmdImportCommunication);
  ASSERT_EQ(dialogs.boxes.size(), 1u) << "the question, and no summary";

  // Had it written anything, this second try would be refused as a duplicate.
  dialogs.boxes.clear();
  dialogs.files = {QString::fromStdString(Sample)};
  dialogs.answers = {QMessageBox::Ok};
  window().runCommand(CmdImportCommunication);
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_NE(dialogs.boxes[1].text.find("inserite 3 schede"), std::string::npos);
}

}  // namespace
}  // namespace veltra::testing
