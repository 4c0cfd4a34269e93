// The association in the real registry: the machine-wide key the setup
// program creates with "Directory", and "Database" kept per user and read
// before the machine-wide one. The tests use a key of their own, removed
// before and after each test.

#include <gtest/gtest.h>

#include <QSettings>

#include "qt/AssociationSettings.h"

namespace veltra::testing {
namespace {

using qt::AssociationSettings;

const QString TestKey = QStringLiteral("Software\\Veltra\\RegistryTest\\1.00");
const QString Machine = QStringLiteral("HKEY_LOCAL_MACHINE\\") + TestKey;
const QString User = QStringLiteral("HKEY_CURRENT_USER\\") + TestKey;

QSettings raw(const QString& key) {
  return QSettings(key, QSettings::NativeFormat);
}

class AssociationRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { removeKeys(); }
  void TearDown() override { removeKeys(); }
  static void removeKeys() {
    for (const QString& root :
         {QStringLiteral("HKEY_LOCAL_MACHINE"), QStringLiteral("HKEY_CURRENT_USER")})
      QSettings(root + QStringLiteral("\\Software\\Veltra\\RegistryTest"), QSettings::NativeFormat)
          .remove(QString());
  }
  AssociationSettings settings = AssociationSettings::inRegistry(TestKey);
};

TEST_F(AssociationRegistryTest, WithoutTheSetupsKeyNothingIsReadOrKept) {
  EXPECT_FALSE(settings.keyExists());
  EXPECT_FALSE(settings.database());
  EXPECT_FALSE(settings.directory());
  EXPECT_FALSE(settings.saveDatabase("C:\\Dati\\VELTRA.MDB"));
  EXPECT_TRUE(raw(User).childKeys().isEmpty());
}

TEST_F(AssociationRegistryTest, DirectoryIsTheMachinesAndDatabaseTheUsers) {
  ASSERT_TRUE(settings.saveDirectory("C:\\Program Files\\Veltra"));
  EXPECT_EQ(raw(Machine).value(QStringLiteral("Directory")).toString(),
            QStringLiteral("C:\\Program Files\\Veltra"));
  EXPECT_TRUE(settings.keyExists());
  EXPECT_FALSE(settings.database());

  ASSERT_TRUE(settings.saveDatabase("C:\\Dati\\Parco bus, città\\VELTRA.MDB"));
  EXPECT_EQ(raw(User).value(QStringLiteral("Database")).toString(),
            QStringLiteral("C:\\Dati\\Parco bus, città\\VELTRA.MDB"));
  EXPECT_FALSE(raw(Machine).contains(QStringLiteral("Database")));
  EXPECT_EQ(AssociationSettings::inRegistry(TestKey).database(),
            "C:\\Dati\\Parco bus, città\\VELTRA.MDB");
  EXPECT_EQ(settings.databaseLocation(), User);
}

TEST_F(AssociationRegistryTest, TheUsersDatabaseComesBeforeTheMachines) {
  raw(Machine).setValue(QStringLiteral("Database"), QStringLiteral("C:\\Comune.mdb"));
  EXPECT_EQ(settings.database(), "C:\\Comune.mdb");
  // Sconnetti leaves the user's empty value, which must not reopen the machine's file.
  ASSERT_TRUE(settings.saveDatabase(""));
  EXPECT_EQ(settings.database(), std::string());
  EXPECT_EQ(raw(Machine).value(QStringLiteral("Database")).toString(),
            QStringLiteral("C:\\Comune.mdb"));
}

TEST_F(AssociationRegistryTest, AValueThatIsNotAFittingStringIsNoAssociation) {
  raw(Machine).setValue(QStringLiteral("Directory"), QStringLiteral("C:\\Veltra"));
  raw(User).setValue(QStringLiteral("Database"), 42);  // a DWORD
  EXPECT_FALSE(settings.database());
  ASSERT_TRUE(settings.saveDatabase(std::string(2048, 'a')));
  EXPECT_FALSE(settings.database());
}

TEST_F(AssociationRegistryTest, TheProgramsOwnKeyIsTheDefault) {
  EXPECT_EQ(AssociationSettings().location(),
            QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Veltra\\Veltra\\1.00"));
  EXPECT_EQ(AssociationSettings().databaseLocation(),
            QStringLiteral("HKEY_CURRENT_USER\\Software\\Veltra\\Veltra\\1.00"));
}

}  // namespace
}  // namespace veltra::testing
