#pragma once
// A small database built through the engine adapter for the layer's tests:
// a parent table "azi" keyed by an Integer, a child table "mezzi" with one
// field of every type the program uses, keyed by chassis and date, and a
// relation between them.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "db/DatabaseConnection.h"
#include "db/TableCursor.h"
#include "db/engine/EngineDatabase.h"
#include "db/engine/TableDef.h"
#include "support/EngineTestSupport.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace veltra::testing {

inline db::engine::FieldDef field(std::string name, db::FieldType type, int size = 0,
                                  bool required = false, bool allowZeroLength = false) {
  db::engine::FieldDef def;
  def.name = std::move(name);
  def.type = type;
  def.size = size;
  def.required = required;
  def.allowZeroLength = allowZeroLength;
  return def;
}

inline db::engine::IndexDef primaryIndex(std::string name,
                                         std::initializer_list<const char*> fields) {
  db::engine::IndexDef index;
  index.name = std::move(name);
  for (const char* f : fields) index.fields.push_back({f, false});
  index.primary = index.unique = true;
  return index;
}

inline void buildTestSchema(const std::string& path) {
  using db::FieldType;
  db::engine::EngineStatus status;
  auto db = db::engine::EngineDatabase::create(path, status);
  ASSERT_TRUE(db) << status.text;

  auto azi = db->createTableDef("azi");
  ASSERT_TRUE(azi->createField(field("codice", FieldType::Integer, 0, true)));
  ASSERT_TRUE(azi->createField(field("denom", FieldType::Text, 40, true)));
  ASSERT_TRUE(azi->append());
  ASSERT_TRUE(azi->createIndex(primaryIndex("codice", {"codice"})));

  auto mezzi = db->createTableDef("mezzi");
  ASSERT_TRUE(mezzi->createField(field("telaio", FieldType::Text, 10, true)));
  ASSERT_TRUE(mezzi->createField(field("data", FieldType::Date, 0, true)));
  ASSERT_TRUE(mezzi->createField(field("azienda", FieldType::Integer, 0, true)));
  ASSERT_TRUE(mezzi->createField(field("interno", FieldType::Text, 10, false, true)));
  ASSERT_TRUE(mezzi->createField(field("posti", FieldType::Long)));
  ASSERT_TRUE(mezzi->createField(field("lung", FieldType::Double)));
  ASSERT_TRUE(mezzi->createField(field("prezzo", FieldType::Currency)));
  ASSERT_TRUE(mezzi->createField(field("aria", FieldType::Boolean)));
  ASSERT_TRUE(mezzi->createField(field("note", FieldType::Memo)));
  ASSERT_TRUE(mezzi->createField(field("foto", FieldType::LongBinary)));
  ASSERT_TRUE(mezzi->createField(field("datrad", FieldType::Date)));
  ASSERT_TRUE(mezzi->append());
  ASSERT_TRUE(mezzi->createIndex(primaryIndex("codice", {"telaio", "data"})));

  db::engine::RelationDef relation{"mezzi_azi", "azi", "mezzi", 0, {{"codice", "azienda"}}};
  ASSERT_TRUE(db->createRelation(relation));
}

// Runs on every test engine.
class DbTest : public ::testing::TestWithParam<TestEngine> {
 protected:
  void SetUp() override {
    path = newRegisterLocator(GetParam(), dir);
    buildTestSchema(path);
    connection = std::make_unique<db::DatabaseConnection>(prompter, path);
    ASSERT_TRUE(connection->IsOpen());
  }
  void TearDown() override { connection.reset(); }

  TempDir dir;
  std::string path;
  RecordingPrompter prompter;
  std::unique_ptr<db::DatabaseConnection> connection;
};

// With the company 1 in "azi", for vehicles to refer to.
class DbWithCompanyTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    db::TableCursor azi(connection.get(), "azi");
    azi.AddNew();
    azi.SetField("codice", "1");
    azi.SetField("denom", "Una");
    ASSERT_TRUE(azi.Update());
  }
};

}  // namespace veltra::testing
