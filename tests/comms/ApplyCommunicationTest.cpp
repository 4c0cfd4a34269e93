#include <gtest/gtest.h>

#include <cstdlib>

#include "comms/ApplyCommunication.h"
#include "comms/CommsDatabase.h"
#include "db/engine/EngineDatabase.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::comms {
namespace {

using testing::SyntheticCommunication;

using testing::CommsDatabaseTest;

constexpr const char* DuplicateMessage =
    "ATTENZIONE: Esiste già una comunicazione della medesima Azienda comunicata nella\n"
    "medesima data !!!\n\n"
    "Questa comunicazione non può essere ulteriormente registrata.";

VehicleEntry vehicle(const std::string& telaio, int ambito = 3) {
  VehicleEntry entry = SyntheticCommunication(7, "01/01/2024", 1).entries().front();
  entry.telaio = telaio;
  entry.vehicle.ambito = ambito;
  return entry;
}

class ApplyCommunicationTest : public CommsDatabaseTest {
 protected:
  bool apply(const Communication& communication) {
    const auto applied = ApplyCommunication(*connection, communication);
    inserted = applied.payload.inserted;
    updated = applied.payload.updated;
    return applied.done();
  }

  int inserted = 0;
  int updated = 0;
};

INSTANTIATE_TEST_SUITE_P(Engines, ApplyCommunicationTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(ApplyCommunicationTest, ACommunicationWithoutVehiclesIsRegistered) {
  EXPECT_TRUE(apply(Communication(7, "15/03/2024")));
  EXPECT_EQ(inserted, 0);
  EXPECT_EQ(updated, 0);
  EXPECT_EQ(fieldOf("comunica", {"7", "15/03/2024"}, "azienda"), "7");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(ApplyCommunicationTest, UpdatesKnownChassisAndInsertsNewOnes) {
  Communication first(7, "15/03/2024");
  first.append(vehicle("A1"));
  ASSERT_TRUE(apply(first));
  EXPECT_EQ(inserted, 1);

  Communication second(7, "30/09/2024");
  VehicleEntry changed = vehicle("A1");
  changed.kind = EntryKind::New;  // the kind does not decide: the chassis is known
  changed.vehicle.sedere = 44;
  second.append(changed);
  VehicleEntry added = vehicle("B2");
  added.kind = EntryKind::Var;
  second.append(added);
  EXPECT_TRUE(apply(second));
  EXPECT_EQ(updated, 1);
  EXPECT_EQ(inserted, 1);
  EXPECT_EQ(fieldOf("bus", {"A1"}, "sedere"), "44");
  EXPECT_EQ(fieldOf("bus", {"A1"}, "data"), "30/09/2024");
  EXPECT_EQ(fieldOf("storia", {"A1", "30/09/2024"}, "sedere"), "44");
  EXPECT_EQ(fieldOf("storia", {"B2", "30/09/2024"}, "azienda"), "7");
  EXPECT_EQ(countRows("storia"), 3);
  EXPECT_TRUE(prompter.messages.empty()) << prompter.messages.front().text;
}

TEST_P(ApplyCommunicationTest, WritesTheCommunicationCompanyAndTheNumberTexts) {
  Communication communication(7, "15/03/2024");
  VehicleEntry entry = vehicle("A1");
  entry.vehicle.lung = 12.5;
  entry.vehicle.altezza = 0.34;
  entry.vehicle.prezzo = 1500.0;
  entry.vehicle.aria = 1;
  entry.vehicle.pedana = 0;
  communication.append(entry);
  ASSERT_TRUE(apply(communication));
  EXPECT_EQ(fieldOf("bus", {"A1"}, "azienda"), "7");
  // altezza goes in with one decimal.
  EXPECT_EQ(countRows("bus", "lung = 12.5 AND altezza = 0.3 AND prezzo = 1500"), 1);
  EXPECT_EQ(countRows("storia", "lung = 12.5 AND altezza = 0.3 AND prezzo = 1500"), 1);
  EXPECT_EQ(fieldOf("bus", {"A1"}, "aria"), "1");
  EXPECT_EQ(fieldOf("bus", {"A1"}, "pedana"), "0");
}

TEST_P(ApplyCommunicationTest, EmptyDatradIsStoredAsNullAndSentinelDatesRoundTrip) {
  Communication communication(7, "15/03/2024");
  VehicleEntry active = vehicle("A1");
  active.vehicle.datrad = "";
  active.vehicle.datfin = "99/99/9999";
  active.vehicle.prima = "00/00/0000";
  communication.append(active);
  VehicleEntry withdrawn = vehicle("B2");
  withdrawn.vehicle.datrad = "31/12/2023";
  communication.append(withdrawn);
  ASSERT_TRUE(apply(communication));
  EXPECT_EQ(countRows("bus", "datrad IS NULL"), 1);
  EXPECT_EQ(countRows("storia", "datrad IS NULL"), 1);
  EXPECT_EQ(fieldOf("bus", {"A1"}, "datfin"), "99/99/9999");
  EXPECT_EQ(fieldOf("bus", {"A1"}, "prima"), "00/00/0000");
  EXPECT_EQ(fieldOf("storia", {"A1", "15/03/2024"}, "datfin"), "99/99/9999");
  EXPECT_EQ(fieldOf("bus", {"B2"}, "datrad"), "31/12/2023");
}

TEST_P(ApplyCommunicationTest, RefusesASecondCommunicationOfTheSameCompanyAndDate) {
  Communication communication(7, "15/03/2024");
  communication.append(vehicle("A1"));
  ASSERT_TRUE(apply(communication));
  Communication again(7, "15/03/2024");
  again.append(vehicle("B2"));
  EXPECT_FALSE(apply(again));
  EXPECT_EQ(inserted, 0);
  EXPECT_EQ(updated, 0);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, DuplicateMessage);
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Stop);
  EXPECT_EQ(countRows("bus"), 1);
  EXPECT_EQ(countRows("storia"), 1);
}

TEST_P(ApplyCommunicationTest, AnOlderCommunicationAppliedLaterOverwritesTheCurrentState) {
  Communication newer(7, "01/06/2024");
  VehicleEntry recent = vehicle("A1");
  recent.vehicle.sedere = 50;
  newer.append(recent);
  ASSERT_TRUE(apply(newer));
  Communication older(7, "01/01/2020");
  VehicleEntry past = vehicle("A1");
  past.vehicle.sedere = 20;
  older.append(past);
  ASSERT_TRUE(apply(older));
  EXPECT_EQ(updated, 1);
  EXPECT_EQ(fieldOf("bus", {"A1"}, "data"), "01/01/2020");
  EXPECT_EQ(fieldOf("bus", {"A1"}, "sedere"), "20");
  EXPECT_EQ(fieldOf("storia", {"A1", "01/06/2024"}, "sedere"), "50");
  EXPECT_EQ(fieldOf("storia", {"A1", "01/01/2020"}, "sedere"), "20");
}

TEST_P(ApplyCommunicationTest, AChassisListedTwiceKeepsItsSecondStateButFailsTheSecondHistoryRow) {
  Communication communication(7, "15/03/2024");
  VehicleEntry first = vehicle("A1");
  first.vehicle.sedere = 10;
  VehicleEntry second = vehicle("A1");
  second.vehicle.sedere = 11;
  communication.append(first);
  communication.append(second);
  communication.append(vehicle("C3"));
  EXPECT_FALSE(apply(communication));
  EXPECT_EQ(inserted, 2);
  EXPECT_EQ(updated, 1);
  EXPECT_EQ(fieldOf("bus", {"A1"}, "sedere"), "11");
  EXPECT_EQ(fieldOf("storia", {"A1", "15/03/2024"}, "sedere"), "10");
  EXPECT_EQ(fieldOf("bus", {"C3"}, "telaio"), "C3");
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].text.starts_with("Errore aggiornamento tavola (storia)\n\n"))
      << prompter.messages[0].text;
}

// Enough vehicles for the server to answer seeks from the index's keys read
// at once: a chassis written in another case is still the same vehicle.
TEST_P(ApplyCommunicationTest, ManyKnownChassisAreFoundWhateverTheirCase) {
  Communication first(7, "15/03/2024");
  for (int i = 0; i < 20; ++i) first.append(vehicle("k" + std::to_string(i)));
  ASSERT_TRUE(apply(first));

  Communication second(7, "30/09/2024");
  for (int i = 0; i < 20; ++i) {
    VehicleEntry known = vehicle("K" + std::to_string(i));
    known.vehicle.sedere = 44;
    second.append(known);
    second.append(vehicle("N" + std::to_string(i)));
  }
  second.append(vehicle("B2", 99));
  EXPECT_FALSE(apply(second));
  EXPECT_EQ(updated, 20);
  EXPECT_EQ(inserted, 20);
  EXPECT_EQ(countRows("bus"), 40);
  EXPECT_EQ(fieldOf("bus", {"k7"}, "sedere"), "44");
  EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_P(ApplyCommunicationTest, AVehicleOfAMissingAmbitFailsAndTheOthersAreWritten) {
  Communication communication(7, "15/03/2024");
  communication.append(vehicle("A1"));
  communication.append(vehicle("B2", 99));
  communication.append(vehicle("C3"));
  EXPECT_FALSE(apply(communication));
  EXPECT_EQ(inserted, 2);
  EXPECT_EQ(countRows("bus"), 2);
  EXPECT_EQ(countRows("storia"), 2);
  EXPECT_EQ(fieldOf("bus", {"B2"}, "telaio"), "<absent>");
  // The bus row and then the storia row each report their refusal.
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_TRUE(prompter.messages[0].text.starts_with("Errore aggiornamento tavola (bus)"));
  EXPECT_TRUE(prompter.messages[1].text.starts_with("Errore aggiornamento tavola (storia)"));
}

TEST_P(ApplyCommunicationTest, ARequiredFieldLeftEmptyFailsThatVehicleOnly) {
  Communication communication(7, "15/03/2024");
  VehicleEntry noPlate = vehicle("A1");
  noPlate.vehicle.targa = "";
  communication.append(noPlate);
  communication.append(vehicle("B2"));
  EXPECT_FALSE(apply(communication));
  EXPECT_EQ(inserted, 1);
  EXPECT_EQ(fieldOf("bus", {"A1"}, "telaio"), "<absent>");
  EXPECT_EQ(fieldOf("bus", {"B2"}, "telaio"), "B2");
}

TEST_P(ApplyCommunicationTest, ACompanyMissingFromTheCodesIsRefusedOnceAndCanComeAgainLater) {
  Communication communication(500, "15/03/2024");
  communication.append(vehicle("A1"));
  communication.append(vehicle("B2"));
  EXPECT_FALSE(apply(communication));
  EXPECT_EQ(inserted, 0);
  EXPECT_EQ(updated, 0);
  EXPECT_EQ(countRows("comunica"), 0);
  EXPECT_EQ(countRows("bus"), 0);
  // The engine's refusal of the comunica row is the one message: the
  // vehicles, which could not be written without it, are not attempted.
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].text.starts_with("Errore aggiornamento tavola (comunica)"));

  addCompany(500, "Nuova Azienda");
  prompter.clear();
  EXPECT_TRUE(apply(communication));
  EXPECT_EQ(inserted, 2);
}

TEST_P(ApplyCommunicationTest, ADateThatIsNoDateWritesNothing) {
  Communication communication(7, "31/02/2024");
  communication.append(vehicle("A1"));
  EXPECT_FALSE(apply(communication));
  EXPECT_EQ(inserted, 0);
  EXPECT_EQ(countRows("comunica"), 0);
  EXPECT_EQ(countRows("bus"), 0);
  EXPECT_FALSE(prompter.messages.empty());
}

TEST_P(ApplyCommunicationTest, ACrashInTheMiddleLeavesTheDatabaseAsItWas) {
  Communication communication = SyntheticCommunication(7, "15/03/2024", 200);
  VehicleEntry failing = vehicle("ZZ", 99);
  communication.append(failing);
  // A Prompter that ends the process at the first box: the failing vehicle
  // comes after 200 written ones, inside the open transaction.
  class CrashingPrompter : public testing::RecordingPrompter {
   public:
    ui::Answer showMessage(std::string_view, ui::Icon, ui::Buttons, std::string_view) override {
      std::_Exit(3);
    }
  };
  const auto applyAndCrash = [&] {
    CrashingPrompter crashing;
    db::DatabaseConnection own(crashing, path);
    ApplyCommunication(own, communication);
    std::_Exit(0);
  };
  connection.reset();
  EXPECT_EXIT(applyAndCrash(), ::testing::ExitedWithCode(3), "");
  connection = std::make_unique<db::DatabaseConnection>(prompter, path);
  EXPECT_EQ(countRows("comunica"), 0);
  EXPECT_EQ(countRows("bus"), 0);
  EXPECT_EQ(countRows("storia"), 0);
}

// The server stops serving the import's session in the middle of its work,
// as a server restarted or a network cut would: the user is told, and the
// register holds nothing of the import.
TEST_P(ApplyCommunicationTest, AServerThatGoesAwayMidwayLeavesNothingWritten) {
  if (GetParam() == testing::TestEngine::File) GTEST_SKIP() << "only a server goes away";
  class StoppingPrompter : public testing::RecordingPrompter {
   public:
    explicit StoppingPrompter(db::DatabaseConnection& other) : other_(other) {}
    // Called before every statement and while one is waited for.
    void keepResponsive() override {
      if (++calls_ == 40)
        static_cast<void>(other_.EngineDatabase()->execute(
            "SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
            "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    }

   private:
    db::DatabaseConnection& other_;
    int calls_ = 0;
  };
  StoppingPrompter stopping(*connection);
  {
    db::DatabaseConnection own(stopping, path);
    EXPECT_FALSE(ApplyCommunication(own, SyntheticCommunication(7, "15/03/2024", 200)).done());
  }
  ASSERT_FALSE(stopping.messages.empty());
  EXPECT_NE(stopping.messages.back().text.find("server del database"), std::string::npos)
      << stopping.messages.back().text;
  EXPECT_EQ(countRows("comunica"), 0);
  EXPECT_EQ(countRows("bus"), 0);
}

}  // namespace
}  // namespace veltra::comms
