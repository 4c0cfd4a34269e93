// A register on a server when things go wrong around it: a full disk, a
// command killed or cancelled midway, a server that never answers, a
// password in the URI, a table of someone else's beside the register's.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <thread>

#include "comms/ApplyCommunication.h"
#include "comms/TaggedFileWriter.h"
#include "db/DatabaseConnection.h"
#include "db/QueryCursor.h"
#include "db/engine/EngineDatabase.h"
#include "schema/DatabaseCreation.h"
#include "support/EngineTestSupport.h"
#include "support/RecordingPrompter.h"
#include "support/RunProgram.h"
#include "synthetic/SyntheticCommunication.h"

extern char** environ;

namespace veltra::cli {
namespace {

class ServerFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testing::requireTestServer().empty());
    database = testing::newRegisterLocator(testing::TestEngine::Server, dir);
    ASSERT_EQ(schema::BuildNewDatabase(quiet, database, "").outcome, ui::Outcome::Done);
  }

  // One statement on the register, outside any transaction (as CREATE TABLESPACE wants).
  void run(const std::string& sql) {
    db::engine::EngineStatus status;
    const auto db = db::engine::EngineDatabase::open(database, status);
    ASSERT_TRUE(db) << status.text;
    status = db->execute(sql);
    ASSERT_TRUE(status) << status.text;
  }
  int rows(const std::string& table) {
    db::DatabaseConnection connection(quiet, database);
    db::QueryCursor query(&connection);
    query.SetSelect("count(*) AS n");
    query.SetFrom(table);
    std::string count;
    return query.Execute() && query.GetText("n", count) ? std::stoi(count) : -1;
  }
  testing::ProgramRun cli(const std::vector<std::string>& args) {
    return testing::runProgram(VELTRA_CLI_PATH, args,
                               {"VELTRA_SETTINGS=" + dir.file("veltra.ini")});
  }
  std::string importFile(int company, int vehicles) {
    const std::string file = dir.file("VariazioniBusQz_" + std::to_string(company) + ".txt");
    std::ofstream(file, std::ios::binary)
        << comms::CommunicationFileText(
               testing::SyntheticCommunication(company, "15/03/2024", vehicles))
               .value();
    return file;
  }
  // Runs what stops the other session (pg_cancel_backend, pg_terminate_backend)
  // on every session of the register's database that where picks, until run ends.
  template <typename Run>
  Run stopMeanwhile(std::future<Run>& running, const std::string& stop, const std::string& where,
                    bool& stopped) {
    db::DatabaseConnection watcher(quiet, database);
    stopped = false;
    while (running.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) {
      db::QueryCursor query(&watcher);
      query.SetSelect(stop + "(pid)");
      query.SetFrom("pg_stat_activity");
      query.SetWhere("pid <> pg_backend_pid() AND " + where);
      stopped = query.Execute() || stopped;
    }
    return running.get();
  }

  testing::TempDir dir;
  std::string database;
  testing::RecordingPrompter quiet;
};

// The register's big tables on a small tmpfs, so that the server's disk
// fills in the middle of an import: one message, nothing of the import kept,
// and the same communication goes in once there is room again.
TEST_F(ServerFaultsTest, AFullDiskEndsTheImportWithOneMessageAndKeepsNothing) {
  const std::string space = dir.file("spazio");
  std::filesystem::create_directory(space);
  // The server, running as its own user, reaches the tablespace through the test's folder.
  std::filesystem::permissions(std::filesystem::path(space).parent_path(),
                               std::filesystem::perms::others_exec,
                               std::filesystem::perm_options::add);
  const passwd* postgres = getpwnam("postgres");
  const std::string options =
      "size=1m,mode=0700" + (postgres ? ",uid=" + std::to_string(postgres->pw_uid) : "");
  if (::mount("tmpfs", space.c_str(), "tmpfs", 0, options.c_str()) != 0)
    GTEST_SKIP() << "no small tmpfs can be mounted here (" << std::strerror(errno)
                 << "): the server's disk cannot be filled";
  const std::string tablespace = "poco_spazio_" + std::to_string(::getpid());
  // However the test ends, the tables come back and the server keeps no
  // tablespace on a folder that goes: it would fail at every checkpoint.
  const auto giveBack = [this, tablespace] {
    db::engine::EngineStatus status;
    const auto db = db::engine::EngineDatabase::open(database, status);
    for (const char* table : {"bus", "storia"})
      if (db)
        static_cast<void>(
            db->execute("ALTER TABLE " + std::string(table) + " SET TABLESPACE pg_default"));
    if (db) static_cast<void>(db->execute("DROP TABLESPACE IF EXISTS " + tablespace));
  };
  struct Unmount {
    std::string at;
    std::function<void()> giveBack;
    ~Unmount() {
      giveBack();
      ::umount2(at.c_str(), MNT_DETACH);
    }
  } unmount{space, giveBack};
  ASSERT_NO_FATAL_FAILURE(run("CREATE TABLESPACE " + tablespace + " LOCATION '" + space + "'"));
  for (const char* table : {"bus", "storia"})
    run("ALTER TABLE " + std::string(table) + " SET TABLESPACE " + tablespace);

  const auto communication = testing::SyntheticCommunication(50, "15/03/2024", 4000);
  testing::RecordingPrompter prompter;
  {
    db::DatabaseConnection connection(prompter, database);
    EXPECT_EQ(comms::ApplyCommunication(connection, communication).outcome, ui::Outcome::Failed);
  }
  ASSERT_EQ(prompter.messages.size(), 1u) << prompter.messages.front().text;
  EXPECT_NE(prompter.messages[0].text.find("SQLSTATE 53100"), std::string::npos)
      << prompter.messages[0].text;
  EXPECT_EQ(rows("comunica"), 0);
  EXPECT_EQ(rows("storia"), 0);

  giveBack();
  db::DatabaseConnection connection(prompter, database);
  const auto again = comms::ApplyCommunication(connection, communication);
  EXPECT_EQ(again.outcome, ui::Outcome::Done);
  EXPECT_EQ(again.payload.inserted, 4000);
}

// A cancel is not a row's fault: the import ends at once, whole.
TEST_F(ServerFaultsTest, ACancelledImportEndsAtOnceAndKeepsNothing) {
  const std::string file = importFile(7, 5000);
  auto import = std::async(std::launch::async, [&] {
    return cli({"--db", database, "import", file, "--yes"});
  });
  bool cancelled = false;
  const auto result =
      stopMeanwhile(import, "pg_cancel_backend",
                    "datname = current_database() AND application_name = 'veltra'", cancelled);
  ASSERT_TRUE(cancelled) << "the import ended before it could be cancelled";
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_NE(result.err.find("SQLSTATE 57014"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("SQLSTATE 25P02"), std::string::npos) << "went on after the cancel";
  EXPECT_EQ(rows("comunica"), 0);
}

// A creation killed midway leaves no half register: the next one fills the database.
TEST_F(ServerFaultsTest, ACreationKilledMidwayLeavesTheDatabaseForTheNextOne) {
  const auto query = database.find('?');
  const auto slash = database.rfind('/', query);
  const std::string name = database.substr(slash + 1, query - slash - 1) + "_nuovo";
  const std::string target = database.substr(0, slash + 1) + name + database.substr(query);
  auto create = std::async(std::launch::async, [&] { return cli({"create", target}); });
  bool killed = false;
  const auto first = stopMeanwhile(create, "pg_terminate_backend",
                                   "datname = '" + name + "' AND backend_xid IS NOT NULL", killed);
  ASSERT_TRUE(killed) << "the creation ended before it could be stopped: " << first.out;
  EXPECT_EQ(first.exitStatus, 1);
  const auto second = cli({"create", target});
  EXPECT_EQ(second.exitStatus, 0) << second.err;
  EXPECT_EQ(cli({"--db", target, "status"}).exitStatus, 0);
}

// The copy into a file goes under another name until complete: a duplicate
// killed midway leaves no register file to be taken for a whole one.
TEST_F(ServerFaultsTest, ADuplicateKilledMidwayLeavesNoFileAndCanBeDoneAgain) {
  {
    db::DatabaseConnection connection(quiet, database);
    ASSERT_EQ(comms::ApplyCommunication(connection,
                                        testing::SyntheticCommunication(7, "15/03/2024", 3000))
                  .outcome,
              ui::Outcome::Done);
  }
  const std::string copy = dir.file("COPIA.MDB");
  std::vector<std::string> args = {VELTRA_CLI_PATH, "duplicate", database, copy};
  std::vector<char*> argv;
  for (auto& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, VELTRA_CLI_PATH, nullptr, nullptr, argv.data(), environ), 0);
  int state = 0;
  bool killed = false;
  while (waitpid(child, &state, WNOHANG) == 0) {
    if (std::filesystem::exists(copy) || std::filesystem::exists(copy + ".duplicazione")) {
      killed = ::kill(child, SIGKILL) == 0;
      waitpid(child, &state, 0);
      break;
    }
  }
  ASSERT_TRUE(killed) << "the duplicate ended before it could be killed";
  EXPECT_FALSE(std::filesystem::exists(copy));
  const auto again = cli({"duplicate", database, copy});
  EXPECT_EQ(again.exitStatus, 0) << again.err;
  EXPECT_EQ(cli({"--db", copy, "status"}).exitStatus, 0);
}

// An administrator's own table beside the register's is not copied, nor in the way.
TEST_F(ServerFaultsTest, ADuplicateCopiesTheRegistersTablesOnly) {
  run("CREATE TABLE note_ufficio (x text, y integer)");
  run("INSERT INTO note_ufficio VALUES ('nota', 1)");
  const std::string copy = dir.file("COPIA.MDB");
  const auto result = cli({"duplicate", database, copy});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  db::engine::EngineStatus status;
  const auto copied = db::engine::EngineDatabase::open(copy, status);
  ASSERT_TRUE(copied) << status.text;
  const auto tables = copied->tableNames();
  EXPECT_EQ(std::ranges::count(tables, "note_ufficio"), 0);
  EXPECT_EQ(std::ranges::count(tables, "storia"), 1);
}

// However the URI spells it, a password is found as libpq finds it: refused,
// never used, printed or kept.
TEST_F(ServerFaultsTest, APasswordIsFoundHoweverTheUriSpellsIt) {
  for (const std::string spelt : {"pass%77ord=S3cr3tPw", "%70assword=S3cr3tPw"}) {
    const std::string uri = database + "&" + spelt;
    EXPECT_TRUE(db::engine::EngineDatabase::carriesPassword(uri)) << uri;
    for (const auto& args : {std::vector<std::string>{"--db", uri, "status"},
                             std::vector<std::string>{"connect", uri}}) {
      const auto result = cli(args);
      EXPECT_EQ(result.exitStatus, 1) << args[0];
      EXPECT_EQ((result.out + result.err).find("S3cr3tPw"), std::string::npos) << result.err;
    }
    std::ifstream settings(dir.file("veltra.ini"));
    const std::string kept{std::istreambuf_iterator<char>(settings), {}};
    EXPECT_EQ(kept.find("S3cr3tPw"), std::string::npos);
  }
}

// A role granted SELECT only: it reads as any other, and an import is
// refused at once, before any work, with one sentence.
TEST_F(ServerFaultsTest, ARoleThatMayOnlyReadIsToldSoOnceBeforeAnImport) {
  const std::string role = "lettore_" + std::to_string(::getpid());
  run("DO $$ BEGIN CREATE ROLE " + role +
      " LOGIN; EXCEPTION WHEN duplicate_object THEN NULL; END $$");
  run("GRANT SELECT ON ALL TABLES IN SCHEMA public TO " + role);
  const auto user = database.find("user=postgres");
  ASSERT_NE(user, std::string::npos) << database;
  const std::string reader = database.substr(0, user) + "user=" + role +
                             database.substr(user + std::string("user=postgres").size());
  const auto status = cli({"--db", reader, "status"});
  EXPECT_EQ(status.exitStatus, 0) << status.err;
  const auto import = cli({"--db", reader, "import", importFile(7, 10), "--yes"});
  EXPECT_EQ(import.exitStatus, 1);
  const std::string sentence = "non ha il permesso di modificare il registro";
  const auto said = import.err.find(sentence);
  ASSERT_NE(said, std::string::npos) << import.err;
  EXPECT_EQ(import.err.find(sentence, said + 1), std::string::npos) << import.err;
}

}  // namespace

// A server that accepts the connection and never answers: given up on after
// the time limit, not waited for without end. Needs no test server.
TEST(ServerConnectingTest, AServerThatNeverAnswersIsGivenUpOn) {
  const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  auto* generic = reinterpret_cast<sockaddr*>(&address);
  ASSERT_EQ(::bind(listener, generic, length), 0);
  ASSERT_EQ(::listen(listener, 4), 0);
  ASSERT_EQ(::getsockname(listener, generic, &length), 0);
  const std::string uri =
      "postgresql://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/registro";
  auto opened = std::make_shared<std::promise<db::engine::EngineStatus>>();
  auto answer = opened->get_future();
  // Detached: were the limit missing, the test must still end.
  std::thread([uri, opened] {
    db::engine::EngineStatus status;
    static_cast<void>(db::engine::EngineDatabase::open(uri, status));
    opened->set_value(status);
  }).detach();
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(30)), std::future_status::ready);
  const auto status = answer.get();
  EXPECT_FALSE(status);
  EXPECT_EQ(status.kind, db::engine::FailureKind::ConnectionLost);
  ::close(listener);
}

// An office's server reached over its network with TLS, the certificate
// checked against the office's own root: a cluster of the test's own, with
// ssl on and a certificate made by openssl.
TEST(ServerConnectingTest, AServerReachedOverTlsIsCheckedAgainstItsRoot) {
  const std::string script = VELTRA_SOURCE_DIR "/scripts/test-cluster";
  const auto started = testing::runProgram(script, {"start-tls"});
  if (started.exitStatus != 0) GTEST_SKIP() << "no TLS cluster could be started: " << started.err;
  const std::string folder = started.out.substr(0, started.out.find('\n'));
  struct Stop {
    std::string script, folder;
    ~Stop() { testing::runProgram(script, {"stop", folder}); }
  } stop{script, folder};
  std::ifstream portFile(folder + "/port");
  std::string port;
  portFile >> port;
  testing::TempDir dir;
  const std::string uri = "postgresql://postgres@localhost:" + port +
                          "/registro?sslmode=verify-full&sslrootcert=" + folder + "/server.crt";
  const auto cli = [&](const std::vector<std::string>& args) {
    return testing::runProgram(VELTRA_CLI_PATH, args,
                               {"VELTRA_SETTINGS=" + dir.file("veltra.ini")});
  };
  const auto created = cli({"create", uri});
  ASSERT_EQ(created.exitStatus, 0) << created.err;
  const auto status = cli({"--db", uri, "status"});
  EXPECT_EQ(status.exitStatus, 0) << status.err;
  const std::string unchecked =
      uri.substr(0, uri.find("sslrootcert=")) + "sslrootcert=" + dir.file("nessuna-radice.crt");
  EXPECT_EQ(cli({"--db", unchecked, "status"}).exitStatus, 1);
}

}  // namespace veltra::cli
