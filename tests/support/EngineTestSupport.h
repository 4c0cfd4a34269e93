#pragma once
// The engines the engine-neutral tests run on: the SQLite file always, the
// PostgreSQL server when VELTRA_TEST_SERVER names one (the URI of a database
// on it from which new ones can be created; scripts/test starts a private cluster).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDir.h"

namespace veltra::testing {

enum class TestEngine { File, Server };

std::vector<TestEngine> testEngines();
std::string engineName(const ::testing::TestParamInfo<TestEngine>& engine);
// Where a new register goes, not created yet: a file in dir, or a database
// of a name never used before on the test server.
std::string newRegisterLocator(TestEngine engine, const TempDir& dir,
                               const std::string& fileName = "test.mdb");
// The test server's URI; empty when no server is configured.
std::string testServer();
// Runs statements on the register through a connection of its own with the
// relations switched off: what no program operation does, to leave rows that
// refer to nothing, as an old or damaged register may hold them.
void executeWithoutRelations(const std::string& locator, const std::string& sql);

}  // namespace veltra::testing
