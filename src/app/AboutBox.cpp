#include "app/AboutBox.h"

#include <QOperatingSystemVersion>
#include <QSysInfo>
#include <optional>
#include <string>

#include "app/MainWindow.h"
#include "db/DatabaseConnection.h"
#include "db/engine/EngineDatabase.h"
#include "schema/Association.h"

// Last, so that its macros rename nothing of the program's own.
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace veltra::app {

namespace {

// The operating system's name and release.
std::string operatingSystemText() {
#ifdef Q_OS_WIN
  // Qt gives the true release, which Windows hides from a program without a
  // manifest; the service pack's text (empty on today's Windows) is the system's own.
  const QOperatingSystemVersion version = QOperatingSystemVersion::current();
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  const QString servicePack =
      GetVersionExW(&info) ? QString::fromWCharArray(info.szCSDVersion) : QString();
  return QString::asprintf("Windows NT (Rel. %d.%02d) Build %d %ls", version.majorVersion(),
                           version.minorVersion(), version.microVersion(),
                           qUtf16Printable(servicePack))
      .toStdString();
#else
  return (QSysInfo::prettyProductName() + QStringLiteral(" (") + QSysInfo::kernelType() + u' ' +
          QSysInfo::kernelVersion() + u')')
      .toStdString();
#endif
}

std::optional<std::string> engineVersion(const db::DatabaseConnection* connection) {
  if (connection == nullptr || connection->EngineDatabase() == nullptr) return std::nullopt;
  return connection->EngineDatabase()->versionText();
}

}  // namespace

void aboutCommand(MainWindow& window) {
  window.prompter().message(schema::aboutText(window.databasePath(), operatingSystemText(),
                                              engineVersion(window.connection())),
                            ui::Icon::Information);
}

}  // namespace veltra::app
