#include "app/AboutBox.h"

#include <QOperatingSystemVersion>
#include <QSysInfo>
#include <optional>
#include <string>

#include "app/MainWindow.h"
#include "db/DatabaseConnection.h"
#include "db/engine/EngineDatabase.h"
#include "schema/Association.h"

namespace veltra::app {

namespace {

// The operating system's name and release.
std::string operatingSystemText() {
#ifdef Q_OS_WIN
  const QOperatingSystemVersion version = QOperatingSystemVersion::current();
  return QString::asprintf("Windows NT (Rel. %d.%02d) Build %d", version.majorVersion(),
                           version.minorVersion(), version.microVersion())
      .toStdString();
#else
  return (QSysInfo::prettyProductName() + QStringLiteral(" (") + QSysInfo::kernelType() + u' ' +
          QSysInfo::kernelVersion() + u')')
      .toStdString();
#endif
}

std::optional<std::string> engineVersion(const db::DatabaseConnection* connection) {
  if (connection == nullptr || connection->engineDatabase() == nullptr) return std::nullopt;
  return connection->engineDatabase()->versionText();
}

}  // namespace

void aboutCommand(MainWindow& window) {
  window.prompter().message(schema::aboutText(window.databasePath(), operatingSystemText(),
                                              engineVersion(window.connection())),
                            ui::Icon::Information);
}

}  // namespace veltra::app
