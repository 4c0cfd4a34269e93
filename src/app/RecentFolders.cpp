#include "app/RecentFolders.h"

#include <QSettings>
#include <memory>

#include "qt/AssociationSettings.h"

namespace veltra::app {

namespace {

constexpr char Group[] = "CartelleRecenti";

std::unique_ptr<QSettings> openStore(const QString& iniFile) {
  auto store = iniFile.isEmpty()
                   ? std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                 QStringLiteral("Veltra"), QStringLiteral("Veltra"))
                   : std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
  store->beginGroup(QString::fromLatin1(Group));
  return store;
}

// A slash would open a subgroup of the settings.
QString keyOf(const QString& dialogTitle) {
  return QString(dialogTitle).replace(u'/', u'|');
}

}  // namespace

RecentFolders::RecentFolders(const qt::AssociationSettings& settings)
    : iniFile_(settings.isIniFile() ? settings.location() : QString()) {}

QString RecentFolders::folder(const QString& dialogTitle) const {
  return openStore(iniFile_)->value(keyOf(dialogTitle)).toString();
}

void RecentFolders::remember(const QString& dialogTitle, const QString& folder) {
  openStore(iniFile_)->setValue(keyOf(dialogTitle), folder);
}

}  // namespace veltra::app
