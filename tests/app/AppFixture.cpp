#include "AppFixture.h"

#include <fstream>

#include "db/engine/EngineDatabase.h"

namespace veltra::testing {

void AppTest::TearDown() {
  // Whatever the test left, the window goes without asking anything more.
  application.reset();
}

void AppTest::installKey(const std::optional<std::string>& database) {
  auto store = settings();
  ASSERT_TRUE(store.saveDirectory(dir.path().string()));
  if (database) {
    ASSERT_TRUE(store.saveDatabase(*database));
  }
}

std::string AppTest::makeDatabase(const std::string& name) {
  const std::string path = dir.file(name);
  db::engine::EngineStatus status;
  auto database = db::engine::EngineDatabase::create(path, status);
  EXPECT_TRUE(database) << status.text;
  return path;
}

std::string AppTest::makeNonDatabase(const std::string& name) {
  const std::string path = dir.file(name);
  std::ofstream(path) << "Questo non e' un database, solo testo.\n";
  return path;
}

bool AppTest::start() {
  application = std::make_unique<app::Application>(settings(), &dialogs);
  return application->start();
}

void AppTest::startConnected() {
  installKey(makeDatabase("VELTRA.MDB"));
  ASSERT_TRUE(start());
  ASSERT_TRUE(window().hasOpenConnection());
  ASSERT_TRUE(dialogs.boxes.empty());
}

}  // namespace veltra::testing
