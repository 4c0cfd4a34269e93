#include "support/EngineTestSupport.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>

#include "db/engine/EngineDatabase.h"

namespace veltra::testing {

std::string testServer() {
  if (const char* uri = std::getenv("VELTRA_TEST_SERVER")) return uri;
  std::ifstream recorded(VELTRA_TEST_CLUSTER_FILE);
  std::string folder;
  if (std::getline(recorded, folder) && !folder.empty())
    return "postgresql:///postgres?host=" + folder + "&user=postgres";
  return "";
}

std::string requireTestServer() {
  const std::string uri = testServer();
  if (uri.empty())
    ADD_FAILURE() << "no PostgreSQL server for the tests: run them through ctest, which starts "
                     "a private cluster, or name one in VELTRA_TEST_SERVER (scripts/test-cluster "
                     "start makes one and prints its folder)";
  return uri;
}

std::vector<TestEngine> testEngines() {
  return {TestEngine::File, TestEngine::Server};
}

std::string engineName(const ::testing::TestParamInfo<TestEngine>& engine) {
  return engine.param == TestEngine::File ? "File" : "Server";
}

std::string newRegisterLocator(TestEngine engine, const TempDir& dir, const std::string& fileName) {
  if (engine == TestEngine::File) return dir.file(fileName);
  // Tests run in parallel processes: the process id keeps their names apart.
  static std::atomic<int> counter{0};
  const std::string name = "veltra_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
  std::string uri = requireTestServer();
  if (uri.empty()) return {};
  const auto path = uri.find('/', uri.find("://") + 3);
  const auto query = uri.find('?');
  return uri.substr(0, path) + "/" + name + (query == std::string::npos ? "" : uri.substr(query));
}

void executeWithoutRelations(const std::string& locator, const std::string& sql) {
  using db::engine::EngineDatabase;
  db::engine::EngineStatus status;
  const auto db = EngineDatabase::open(locator, status);
  ASSERT_TRUE(db) << status.text;
  // Each engine has its own switch, lasting as long as the connection; the
  // server's wants a superuser, as the test cluster's postgres is.
  const std::string off = EngineDatabase::isServerLocator(locator)
                              ? "SET session_replication_role = replica; "
                              : "PRAGMA foreign_keys = OFF; ";
  status = db->execute(off + sql);
  ASSERT_TRUE(status) << status.text;
}

}  // namespace veltra::testing
