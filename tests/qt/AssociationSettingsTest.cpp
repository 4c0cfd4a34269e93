// The settings that hold the association: when the key counts as missing,
// which values can be read, and when a write happens at all.

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <cstdlib>
#include <fstream>

#include "qt/AssociationSettings.h"
#include "support/TempDir.h"

namespace veltra::testing {
namespace {

using qt::AssociationSettings;

class AssociationSettingsTest : public ::testing::Test {
 protected:
  TempDir dir;
  QString file = QString::fromStdString(dir.file("veltra.ini"));
  AssociationSettings settings{file};
};

TEST_F(AssociationSettingsTest, AMissingFileIsAMissingKeyAndIsNotCreatedBySaving) {
  EXPECT_FALSE(settings.keyExists());
  EXPECT_FALSE(settings.database());
  EXPECT_FALSE(settings.saveDatabase("/dati/VELTRA.MDB"));
  EXPECT_FALSE(QFile::exists(file));
}

TEST_F(AssociationSettingsTest, TheInstallerCreatesTheKeyAndTheProgramKeepsItsDatabase) {
  ASSERT_TRUE(settings.saveDirectory("/opt/veltra"));
  EXPECT_TRUE(settings.keyExists());
  EXPECT_EQ(settings.directory(), "/opt/veltra");
  EXPECT_FALSE(settings.database());
  ASSERT_TRUE(settings.saveDatabase("/dati/Parco bus, 2024/VELTRA.MDB"));
  EXPECT_EQ(AssociationSettings(file).database(), "/dati/Parco bus, 2024/VELTRA.MDB");
  ASSERT_TRUE(settings.saveDatabase(""));
  EXPECT_EQ(settings.database(), std::string());
}

TEST_F(AssociationSettingsTest, TheValuesLiveUnderTheProgramsKey) {
  ASSERT_TRUE(settings.saveDatabase("/dati/VELTRA.MDB", /*createKey=*/true));
  QSettings raw(file, QSettings::IniFormat);
  EXPECT_EQ(raw.value(QStringLiteral("Software/Veltra/Veltra/1.00/Database")).toString(),
            QStringLiteral("/dati/VELTRA.MDB"));
}

TEST_F(AssociationSettingsTest, AValueMustFitItsBufferWithTheTerminatingZero) {
  ASSERT_TRUE(settings.saveDirectory("/opt/veltra"));
  ASSERT_TRUE(settings.saveDatabase(std::string(2047, 'a')));
  EXPECT_EQ(settings.database()->size(), 2047u);
  ASSERT_TRUE(settings.saveDatabase(std::string(2048, 'a')));
  EXPECT_FALSE(settings.database());
  // Bytes count, not characters: 1024 "è" are 2048 bytes.
  std::string accented;
  for (int i = 0; i < 1024; ++i) accented += "è";
  ASSERT_TRUE(settings.saveDatabase(accented));
  EXPECT_FALSE(settings.database());
}

TEST_F(AssociationSettingsTest, AValueThatIsNotPlainTextIsNoAssociation) {
  std::ofstream(file.toStdString()) << "[Software]\n"
                                       "Veltra\\Veltra\\1.00\\Directory=/opt/veltra\n"
                                       "Veltra\\Veltra\\1.00\\Database=/a.mdb, /b.mdb\n";
  EXPECT_TRUE(settings.keyExists());
  EXPECT_FALSE(settings.database());
  EXPECT_EQ(settings.directory(), "/opt/veltra");
}

TEST_F(AssociationSettingsTest, AFileWithOtherKeysOnlyLacksTheKey) {
  std::ofstream(file.toStdString()) << "[Software]\nAltro\\Database=/a.mdb\n";
  EXPECT_FALSE(settings.keyExists());
  EXPECT_FALSE(settings.database());
}

TEST_F(AssociationSettingsTest, TheEnvironmentNamesTheStore) {
  ASSERT_EQ(setenv("VELTRA_SETTINGS", file.toUtf8().constData(), 1), 0);
  ASSERT_TRUE(settings.saveDatabase("/dati/VELTRA.MDB", /*createKey=*/true));
  EXPECT_EQ(AssociationSettings().location(), file);
  EXPECT_EQ(AssociationSettings().database(), "/dati/VELTRA.MDB");
  unsetenv("VELTRA_SETTINGS");
}

}  // namespace
}  // namespace veltra::testing
