#include "app/AboutBox.h"

#include <QOperatingSystemVersion>
#include <QSysInfo>

#include "db/DatabaseConnection.h"
#include "db/engine/EngineDatabase.h"

namespace veltra::app {

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

std::string aboutText(const std::string& databasePath, const db::DatabaseConnection* connection) {
  std::string text =
      "INFORMAZIONI SUL PROGRAMMA\n\n"
      "Veltra - \"DataBase Parco Bus - Regione Ombrena\"\n"
      "Versione " VELTRA_VERSION
      "\n"
      "Registro dei bus delle aziende di trasporto pubblico locale\n"
      "Ufficio Trasporti della Regione Ombrena\n\n";
  text += "Sistema operativo " + operatingSystemText();
  text += "\n\nDatabase: " + (databasePath.empty() ? std::string("Nessuno") : databasePath);
  if (connection != nullptr && connection->engineDatabase() != nullptr)
    text += " (Jet " + db::engine::EngineDatabase::versionText() + ")";
  return text;
}

}  // namespace veltra::app
