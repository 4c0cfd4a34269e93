#include <gtest/gtest.h>

#include <fstream>
#include <string_view>
#include <vector>

#include "DbFixture.h"
#include "db/DatabaseConnection.h"
#include "db/QueryCursor.h"
#include "db/TableCursor.h"
#include "db/engine/EngineDatabase.h"
#include "db/server/ServerDatabase.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace veltra::db {
namespace {

using testing::RecordingPrompter;
using testing::TempDir;

void expectOneOpenFailure(const RecordingPrompter& prompter) {
  ASSERT_EQ(prompter.messages.size(), 1u);
  const std::string prefix = "Errore in fase di apertura del database\n\n";
  EXPECT_EQ(prompter.messages[0].text.substr(0, prefix.size()), prefix);
  EXPECT_GT(prompter.messages[0].text.size(), prefix.size())
      << "the engine's description is missing";
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Stop);
}

TEST(DatabaseConnection, FilesThatAreNoDatabaseFailAtOpen) {
  TempDir dir;
  std::ofstream(dir.file("empty.mdb")).close();
  std::ofstream(dir.file("text.mdb"))
      << "Questo non è un database, ma un file di testo qualunque.\n";
  for (const auto& name : {"missing.mdb", "empty.mdb", "text.mdb"}) {
    RecordingPrompter prompter;
    {
      DatabaseConnection connection(prompter, dir.file(name));
      EXPECT_FALSE(connection.IsOpen()) << name;
      EXPECT_EQ(connection.EngineDatabase(), nullptr);
    }
    expectOneOpenFailure(prompter);  // and nothing more when it is destroyed
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("missing.mdb")))
      << "opening must not create the file";
}

TEST(DatabaseConnection, ClosesOnDestructionSoTheFileCanBeOpenedAgain) {
  TempDir dir;
  const std::string path = dir.file("a.mdb");
  testing::buildTestSchema(path);
  RecordingPrompter prompter;
  for (int round = 0; round < 2; ++round) {
    DatabaseConnection connection(prompter, path);
    ASSERT_TRUE(connection.IsOpen());
    ASSERT_TRUE(connection.Path());
    EXPECT_EQ(*connection.Path(), path);
    TableCursor cursor(&connection, "azi");
    EXPECT_TRUE(cursor.IsOpen());
  }
  EXPECT_TRUE(prompter.messages.empty());
}

TEST(DatabaseConnection, CreateRefusesAnExistingFileAndLeavesIt) {
  TempDir dir;
  const std::string path = dir.file("x.mdb");
  std::ofstream(path) << "keep me";
  engine::EngineStatus status;
  EXPECT_FALSE(engine::EngineDatabase::create(path, status));
  EXPECT_FALSE(status.text.empty());
  std::ifstream in(path);
  std::string content((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(content, "keep me");
}

class BulkTransactionTest : public testing::DbTest {};

INSTANTIATE_TEST_SUITE_P(Engines, BulkTransactionTest, ::testing::ValuesIn(testing::testEngines()),
                         testing::engineName);

TEST_P(BulkTransactionTest, UncommittedWorkIsUndoneAndAFailingRowUndoesOnlyItself) {
  {
    BulkTransaction transaction(*connection);
    ASSERT_TRUE(transaction.Ok());
    TableCursor azi(connection.get(), "azi");
    azi.AddNew();
    azi.SetField("codice", "1");
    azi.SetField("denom", "Prima");
    ASSERT_TRUE(azi.Update());
  }  // not committed: as if the program had stopped here
  {
    BulkTransaction transaction(*connection);
    TableCursor azi(connection.get(), "azi");
    for (const char* code : {"2", "2", "3"}) {
      azi.AddNew();
      azi.SetField("codice", code);
      azi.SetField("denom", "Azienda");
      azi.Update();
    }
    EXPECT_TRUE(transaction.Commit());
  }
  TableCursor azi(connection.get(), "azi");
  azi.SelectIndex("codice");
  const std::string one = "1", two = "2", three = "3";
  EXPECT_FALSE(azi.Seek({&one, 1}));
  EXPECT_TRUE(azi.Seek({&two, 1}));
  EXPECT_TRUE(azi.Seek({&three, 1}));
  ASSERT_EQ(prompter.messages.size(), 1u) << "only the duplicate row reports";
  EXPECT_EQ(prompter.messages[0].text.rfind("Errore aggiornamento tavola (azi)\n\n", 0), 0u);
}

// Where writes are deferred, a row must still meet the register as it
// stands at its turn: seeks see the rows written before them, and a child
// written before its parent is refused even though the parent follows.
TEST_P(BulkTransactionTest, AnAttemptGivesEveryWriteItsResultInTheOrderWritten) {
  BulkTransaction transaction(*connection);
  int found = 0;
  const auto addCompany = [](TableCursor& azi, int code) {
    azi.AddNew();
    azi.SetField("codice", std::to_string(code));
    azi.SetField("denom", "Azienda");
    return azi.Update();
  };
  const auto addVehicle = [](TableCursor& mezzi, const char* date, int company) {
    mezzi.AddNew();
    mezzi.SetField("telaio", "T1");
    mezzi.SetField("data", date);
    mezzi.SetField("azienda", std::to_string(company));
    return mezzi.Update();
  };
  ASSERT_TRUE(transaction.Attempt([&] {
    found = 0;
    TableCursor azi(connection.get(), "azi");
    TableCursor mezzi(connection.get(), "mezzi");
    const auto seek = [&](int from, int to) {
      for (int code = from; code <= to; ++code) {
        const std::string key = std::to_string(code);
        found += azi.Seek({&key, 1}) ? 1 : 0;
      }
    };
    azi.SelectIndex("codice");
    for (int code = 1; code <= 10; ++code) addCompany(azi, code);
    addVehicle(mezzi, "01/01/2023", 1);
    seek(1, 30);
    for (int code = 11; code <= 20; ++code) addCompany(azi, code);
    seek(11, 20);
    addVehicle(mezzi, "01/01/2024", 99);
    addCompany(azi, 99);
    addVehicle(mezzi, "02/01/2024", 99);
    return true;
  }));
  ASSERT_TRUE(transaction.Commit());
  EXPECT_EQ(found, 20);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text.rfind("Errore aggiornamento tavola (mezzi)\n\n", 0), 0u);
  TableCursor mezzi(connection.get(), "mezzi");
  mezzi.SelectIndex("codice");
  const std::string first[] = {"T1", "01/01/2024"}, second[] = {"T1", "02/01/2024"};
  EXPECT_FALSE(mezzi.Seek(first));
  EXPECT_TRUE(mezzi.Seek(second));
}

// Seeks announced ahead find what a seek alone finds: letters compare
// without their ASCII case, a trailing blank is a character of the key, and
// a row written after the announcement is found.
TEST_P(BulkTransactionTest, AnnouncedSeeksFindWhatASeekAloneFinds) {
  auto telai = connection->EngineDatabase()->createTableDef("telai");
  ASSERT_TRUE(telai->createField(testing::field("telaio", FieldType::Text, 10, true)));
  ASSERT_TRUE(telai->append());
  ASSERT_TRUE(telai->createIndex(testing::primaryIndex("codice", {"telaio"})));
  BulkTransaction transaction(*connection);
  const auto add = [&](const char* chassis) {
    TableCursor cursor(connection.get(), "telai");
    cursor.AddNew();
    cursor.SetField("telaio", chassis);
    return cursor.Update();
  };
  ASSERT_TRUE(add("Ab1") && add("cd2") && add("città"));
  const auto* server = dynamic_cast<engine::ServerDatabase*>(connection->EngineDatabase());
  std::string found;
  long tripsOfAnnouncedSeeks = 0;
  ASSERT_TRUE(transaction.Attempt([&] {
    found.clear();
    TableCursor cursor(connection.get(), "telai");
    cursor.SelectIndex("codice");
    const std::vector<std::string_view> announced = {"aB1", "CD2 ", "CITTÀ", "nuovo", "NUOVO"};
    cursor.ExpectSeeks(announced);
    const long trips = server != nullptr ? server->roundTrips() : 0;
    for (const std::string_view announcedKey : announced) {
      const std::string key(announcedKey);
      found += cursor.Seek({&key, 1}) ? '1' : '0';
    }
    tripsOfAnnouncedSeeks = server != nullptr ? server->roundTrips() - trips : 0;
    add("Nuovo");
    for (const std::string key : {"NUOVO", "CD2", "Ab1 ", "x"})
      found += cursor.Seek({&key, 1}) ? '1' : '0';
    return true;
  }));
  EXPECT_EQ(found, "100001100");
  EXPECT_EQ(tripsOfAnnouncedSeeks, 0) << "the announced rows are read at once";
}

// Rows written together go to the server in arrays: no text may end up
// split, merged with another, or read as a null.
TEST_P(BulkTransactionTest, RowsWrittenTogetherKeepEveryCharacter) {
  BulkTransaction transaction(*connection);
  TableCursor azi(connection.get(), "azi");
  azi.AddNew();
  azi.SetField("codice", "1");
  azi.SetField("denom", "Azienda");
  ASSERT_TRUE(azi.Update());
  const std::vector<std::string> texts = {"a\"b", "c\\d", "{e,f}", "NULL", " g", "h\ni"};
  ASSERT_TRUE(transaction.Attempt([&] {
    TableCursor mezzi(connection.get(), "mezzi");
    mezzi.SelectIndex("codice");
    for (const std::string& text : texts) {
      mezzi.AddNew();
      mezzi.SetField("telaio", text);
      mezzi.SetField("data", "01/01/2024");
      mezzi.SetField("azienda", "1");
      mezzi.SetField("note", text);
      mezzi.Update();
    }
    for (const std::string& text : texts) {
      const std::string keys[] = {text, "01/01/2024"};
      if (!mezzi.Seek(keys) || !mezzi.Edit()) return false;
      mezzi.SetField("interno", text.substr(0, 3));
      mezzi.Update();
    }
    return true;
  }));
  ASSERT_TRUE(transaction.Commit());
  EXPECT_TRUE(prompter.messages.empty());
  TableCursor mezzi(connection.get(), "mezzi");
  mezzi.SelectIndex("codice");
  for (const std::string& text : texts) {
    const std::string keys[] = {text, "01/01/2024"};
    std::string note, interno, prezzo = "not read";
    ASSERT_TRUE(mezzi.Seek(keys)) << text;
    EXPECT_TRUE(mezzi.GetField("note", note) && mezzi.GetField("interno", interno) &&
                mezzi.GetField("prezzo", prezzo));
    EXPECT_EQ(note, text);
    EXPECT_EQ(interno, text.substr(0, 3));
    EXPECT_EQ(prezzo, "") << "a field never set stays null";
  }
  if (const auto* server = dynamic_cast<engine::ServerDatabase*>(connection->EngineDatabase())) {
    EXPECT_EQ(server->spoiledAttempts(), 0) << "the rows went together, not one by one";
  }
}

TEST_P(BulkTransactionTest, ATransactionTheEngineEndedIsReportedNotCommitted) {
  BulkTransaction transaction(*connection);
  ASSERT_TRUE(transaction.Ok());
  // What the engine does itself on a full disk or an I/O error.
  ASSERT_TRUE(connection->EngineDatabase()->execute("ROLLBACK"));
  EXPECT_FALSE(transaction.Ok());
  EXPECT_FALSE(transaction.Commit());
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text.rfind("Errore in chiusura della transazione\n\n", 0), 0u);
}

class ReadSnapshotTest : public testing::DbTest {
 protected:
  int companies() {
    QueryCursor query(connection.get());
    query.SetSelect("codice");
    query.SetFrom("azi");
    int count = 0;
    for (bool row = query.Execute(); row; row = query.NextRow()) ++count;
    return count;
  }
  // What another workstation does meanwhile.
  void addCompanyElsewhere() {
    RecordingPrompter quiet;
    DatabaseConnection elsewhere(quiet, path);
    BulkTransaction transaction(elsewhere);
    TableCursor azi(&elsewhere, "azi");
    azi.AddNew();
    azi.SetField("codice", "1");
    azi.SetField("denom", "Azienda");
    ASSERT_TRUE(azi.Update());
    ASSERT_TRUE(transaction.Commit());
  }
};

INSTANTIATE_TEST_SUITE_P(Engines, ReadSnapshotTest, ::testing::ValuesIn(testing::testEngines()),
                         testing::engineName);

TEST_P(ReadSnapshotTest, TheReadsOfOneReportDoNotSeeWhatIsWrittenBetweenThem) {
  if (GetParam() == testing::TestEngine::File) GTEST_SKIP() << "a file has one workstation";
  {
    ReadSnapshot snapshot(*connection);
    EXPECT_EQ(companies(), 0);
    addCompanyElsewhere();
    EXPECT_EQ(companies(), 0);
  }
  EXPECT_EQ(companies(), 1);
}

}  // namespace
}  // namespace veltra::db
