#pragma once
// The engines the engine-neutral tests run on: the SQLite file and the
// PostgreSQL server that VELTRA_TEST_SERVER names (the URI of a database on it
// from which new ones can be created), or else the private cluster that ctest
// starts for the run. A test on the server fails, saying how to get one, when
// there is neither: a run that quietly left the server out would pass untested.

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
// The test server's URI, and a failure of the running test when there is none.
std::string requireTestServer();
// Runs statements on the register through a connection of its own with the
// relations switched off: what no program operation does, to leave rows that
// refer to nothing, as an old or damaged register may hold them.
void executeWithoutRelations(const std::string& locator, const std::string& sql);

}  // namespace veltra::testing
