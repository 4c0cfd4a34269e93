#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "SchemaTestSupport.h"
#include "db/TableCursor.h"
#include "schema/ApplicationSchema.h"
#include "schema/DatabaseCreation.h"

namespace veltra::schema {
namespace {

using testing::CreatedDatabase;
using testing::RecordingPrompter;
using testing::TempDir;

TEST(BuildNewDatabase, CompleteDatabaseShowsOnlyTheSuccessText) {
  TempDir dir;
  RecordingPrompter prompter;
  const std::string path = dir.file("nuovo.mdb");
  EXPECT_EQ(BuildNewDatabase(prompter, path, "Il database è pronto"), BuildOutcome::Complete);
  ASSERT_EQ(prompter.messages.size(), 1u) << prompter.messages.front().text;
  EXPECT_EQ(prompter.messages[0].text, "Il database è pronto");
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Information);
  EXPECT_EQ(prompter.messages[0].caption, "Creazione database");
}

}  // namespace
}  // namespace veltra::schema
