#include "support/EngineTestSupport.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>

namespace veltra::testing {

std::string testServer() {
  const char* uri = std::getenv("VELTRA_TEST_SERVER");
  return uri != nullptr ? uri : "";
}

std::vector<TestEngine> testEngines() {
  if (testServer().empty()) return {TestEngine::File};
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
  std::string uri = testServer();
  const auto path = uri.find('/', uri.find("://") + 3);
  const auto query = uri.find('?');
  return uri.substr(0, path) + "/" + name + (query == std::string::npos ? "" : uri.substr(query));
}

}  // namespace veltra::testing
