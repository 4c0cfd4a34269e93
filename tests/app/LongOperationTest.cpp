// A long operation keeps the window alive: while Ripara checks a file of
// 200,000 history rows, in one statement of the engine, the indicator is
// painted again and again with the time advancing.

#include <chrono>

#include "AppFixture.h"
#include "app/BusyIndicator.h"
#include "app/CommandIds.h"
#include "db/engine/EngineDatabase.h"

namespace veltra::testing {
namespace {

using namespace std::chrono_literals;

std::string makeHistoryFile(const std::string& path) {
  db::engine::EngineStatus status;
  auto database = db::engine::EngineDatabase::create(path, status);
  EXPECT_TRUE(database) << status.text;
  status = database->execute(
      "CREATE TABLE storia (telaio TEXT NOT NULL, data TEXT NOT NULL, azienda INTEGER,"
      " PRIMARY KEY (telaio, data));"
      "CREATE INDEX storia_azienda ON storia (azienda);"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000)"
      " INSERT INTO storia SELECT printf('ZFA%014d', i), '2024-01-01', i % 97 FROM n;");
  EXPECT_TRUE(status) << status.text;
  return path;
}

using LongOperationTest = AppTest;

TEST_F(LongOperationTest, TheIndicatorCountsWhileTheEngineChecksABigFile) {
  const std::string file = makeHistoryFile(dir.file("GRANDE.MDB"));
  startConnected();
  // A clock that moves a second each time it is read, ticks every few milliseconds.
  auto now = std::chrono::system_clock::time_point{} + 1000h;
  window().busyIndicator().setTiming([&now] { return now += 1s; }, 2ms);
  PaintWatcher watcher(window().busyIndicator());

  dialogs.files = {QString::fromStdString(file)};
  window().runCommand(app::CmdRepairDatabase);

  ASSERT_GE(watcher.shown.size(), 3u) << "the indicator was not painted during the check";
  for (std::size_t i = 1; i < watcher.shown.size(); ++i)
    EXPECT_GT(watcher.shown[i], watcher.shown[i - 1]);
}

}  // namespace
}  // namespace veltra::testing
