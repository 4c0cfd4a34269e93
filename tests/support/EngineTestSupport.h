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

}  // namespace veltra::testing
