#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <vector>

#include "comms/CommsDatabase.h"
#include "comms/ImportCommunication.h"
#include "comms/TaggedFileWriter.h"
#include "db/server/ServerDatabase.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::comms {
namespace {

using testing::SyntheticCommunication;

using testing::CommsDatabaseTest;

constexpr const char* CorruptMessage =
    "ATTENZIONE: Il file proposto per l'importazione è corrotto oppure non ha un contenuto\n"
    "compatibile con le specifiche tecniche previste !!!\n\n"
    "L'Acquisizione della Comunicazione Mezzi Aziendale non può essere effettuata.";
constexpr const char* Question =
    "Il file proposto presenta un contenuto valido per l'importazione.\n\n"
    "Si intende procedere oltre?";

class ImportCommunicationTest : public CommsDatabaseTest {
 protected:
  std::string writeFile(const std::string& name, const std::string& bytes) {
    const std::string file = dir.file(name);
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

  std::string writeCommunication(const std::string& name, const Communication& communication) {
    return writeFile(name, CommunicationFileText(communication).value());
  }

  ImportOutcome import(const std::string& file, ui::Answer answer = ui::Answer::Ok) {
    prompter.clear();
    prompter.files.push_back(file);
    prompter.answers.push_back(answer);
    return ImportCommunication(*connection);
  }
};

INSTANTIATE_TEST_SUITE_P(Engines, ImportCommunicationTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(ImportCommunicationTest, AsksForTheFileWithTheDialogTexts) {
  const ImportOutcome outcome = ImportCommunication(*connection);
  EXPECT_EQ(outcome.outcome, ui::Outcome::Cancelled);
  ASSERT_EQ(prompter.fileChoices.size(), 1u);
  const ui::FileChoice& choice = prompter.fileChoices[0];
  EXPECT_EQ(choice.title, "Acquisizione Comunicazione Mezzi Aziendali");
  EXPECT_EQ(choice.filter, "File di testo (*.txt)|*.txt|Tutti i files (*.*)|*.*||");
  EXPECT_EQ(choice.defaultExtension, "TXT");
  EXPECT_EQ(choice.proposedName, "VariazioniBusQz");
  EXPECT_TRUE(choice.mustExist);
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(ImportCommunicationTest, AppliesAConfirmedFileAndReportsTheCounts) {
  const auto file = writeCommunication("a.txt", SyntheticCommunication(7, "15/03/2024", 3));
  const ImportOutcome outcome = import(file);
  EXPECT_EQ(outcome.outcome, ui::Outcome::Done);
  EXPECT_EQ(outcome.payload.inserted, 3);
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0].text, Question);
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Question);
  EXPECT_EQ(prompter.messages[0].buttons, ui::Buttons::OkCancel);
  EXPECT_EQ(prompter.messages[1].text,
            "L'Acquisizione della Comunicazione Mezzi Aziendale è terminata\n"
            " con successo.\n"
            "Sono state inserite 3 schede Bus\n"
            "Sono state aggiornate 0 schede Bus");
  EXPECT_EQ(prompter.messages[1].icon, ui::Icon::Information);
  EXPECT_EQ(countRows("bus"), 3);

  const auto next = writeCommunication("b.txt", SyntheticCommunication(7, "16/03/2024", 4, 1));
  const ImportOutcome second = import(next);
  EXPECT_EQ(second.payload.updated, 3);
  EXPECT_EQ(second.payload.inserted, 1);
  EXPECT_EQ(countRows("storia"), 7);
}

// The server is sent an import's writes in batches: one it refused would
// have the whole import done again a write at a time, right but slow.
TEST_P(ImportCommunicationTest, ACleanImportOnTheServerIsNeverDoneAgain) {
  const auto* server = dynamic_cast<db::engine::ServerDatabase*>(connection->EngineDatabase());
  if (server == nullptr) GTEST_SKIP() << "only the server defers writes";
  EXPECT_EQ(import(writeCommunication("a.txt", SyntheticCommunication(7, "15/03/2024", 300)))
                .payload.inserted,
            300);
  EXPECT_EQ(import(writeCommunication("b.txt", SyntheticCommunication(7, "16/03/2024", 400, 100)))
                .outcome,
            ui::Outcome::Done);
  EXPECT_EQ(server->spoiledAttempts(), 0);
}

TEST_P(ImportCommunicationTest, ImportsTheSampleCommunications) {
  const std::string examples = std::string(VELTRA_SOURCE_DIR) + "/examples/";
  const ImportOutcome first = import(examples + "VariazioniBusQz_12_20240315.txt");
  EXPECT_EQ(first.outcome, ui::Outcome::Done);
  EXPECT_EQ(first.payload.inserted, 3);
  const ImportOutcome second = import(examples + "VariazioniBusQz_12_20240930.txt");
  EXPECT_EQ(second.outcome, ui::Outcome::Done);
  EXPECT_EQ(second.payload.updated, 2);
  EXPECT_EQ(second.payload.inserted, 1);
  EXPECT_EQ(fieldOf("bus", {"ZCFA1AD0002512345"}, "prop"), "Società Trasporti Ombrena");
  EXPECT_EQ(fieldOf("bus", {"VNEM1A9TH2A009876"}, "datrad"), "15/09/2024");
  EXPECT_EQ(countRows("bus", "datrad IS NULL"), 3);
}

TEST_P(ImportCommunicationTest, DecliningTheQuestionWritesNothing) {
  const auto file = writeCommunication("a.txt", SyntheticCommunication(7, "15/03/2024", 3));
  const ImportOutcome outcome = import(file, ui::Answer::Cancel);
  EXPECT_EQ(outcome.outcome, ui::Outcome::Declined);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, Question);
  EXPECT_EQ(countRows("comunica"), 0);
}

TEST_P(ImportCommunicationTest, RefusesACorruptFileWithOneMessageAndNoChange) {
  std::string bytes = CommunicationFileText(SyntheticCommunication(7, "15/03/2024", 3)).value();
  bytes.replace(bytes.find("NEW"), 3, "new");
  const ImportOutcome outcome = import(writeFile("bad.txt", bytes));
  EXPECT_EQ(outcome.outcome, ui::Outcome::Failed);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, CorruptMessage);
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Stop);
  EXPECT_EQ(countRows("comunica"), 0);
  EXPECT_EQ(countRows("bus"), 0);
}

TEST_P(ImportCommunicationTest, ReportsAFileThatCannotBeOpened) {
  std::vector<std::string> unopenable{dir.file("missing.txt"), dir.path().string()};
#ifndef _WIN32  // Windows has no named pipes among its files
  // A pipe with no writer would keep the import waiting for ever.
  unopenable.push_back(dir.file("pipe.txt"));
  ASSERT_EQ(mkfifo(unopenable.back().c_str(), 0600), 0);
#endif
  for (const std::string& missing : unopenable) {
    const ImportOutcome outcome = import(missing);
    EXPECT_EQ(outcome.outcome, ui::Outcome::Failed);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text, "Impossibile aprire\n\n" + missing);
    EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Exclamation);
  }
}

TEST_P(ImportCommunicationTest, ASecondImportOfTheSameFileEndsWithErrorsAndZeroCounts) {
  const auto file = writeCommunication("a.txt", SyntheticCommunication(7, "15/03/2024", 2));
  ASSERT_EQ(import(file).outcome, ui::Outcome::Done);
  const ImportOutcome again = import(file);
  EXPECT_EQ(again.outcome, ui::Outcome::Failed);
  ASSERT_EQ(prompter.messages.size(), 3u);
  EXPECT_TRUE(prompter.messages[1].text.starts_with("ATTENZIONE: Esiste già una comunicazione"));
  EXPECT_EQ(prompter.messages[2].text,
            "L'Acquisizione della Comunicazione Mezzi Aziendale è terminata\n"
            " con errori.\n"
            "Sono state inserite 0 schede Bus\n"
            "Sono state aggiornate 0 schede Bus");
  EXPECT_EQ(countRows("storia"), 2);
}

// Refused by the check with its one message, before any row could fail.
TEST_P(ImportCommunicationTest, AHeaderDateOrCodeThatIsNoneIsRefusedWithOneMessage) {
  for (const auto& communication :
       {SyntheticCommunication(7, "99/13/2024", 2), SyntheticCommunication(7, "31/02/2020", 2),
        SyntheticCommunication(32768, "15/03/2024", 2)}) {
    const ImportOutcome outcome = import(writeCommunication("a.txt", communication));
    EXPECT_EQ(outcome.outcome, ui::Outcome::Failed);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{CorruptMessage});
    EXPECT_EQ(countRows("comunica"), 0);
  }
}

}  // namespace
}  // namespace veltra::comms
