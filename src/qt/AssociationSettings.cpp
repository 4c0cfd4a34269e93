#include "qt/AssociationSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <memory>

#include "db/engine/EngineDatabase.h"

namespace veltra::qt {

namespace {

// QSettings reads backslashes in keys as group separators, so the registry
// key's path is spelled with slashes here; on Windows the store itself is the key.
constexpr char IniGroup[] = "Software/Veltra/Veltra/1.00";
constexpr char RegistryKey[] = "Software\\Veltra\\Veltra\\1.00";

QString underRoot(const char* root, const QString& keyPath) {
  return QString::fromLatin1(root) + u'\\' + keyPath;
}

std::unique_ptr<QSettings> openStore(const QString& location, bool native) {
  if (native) return std::make_unique<QSettings>(location, QSettings::NativeFormat);
  auto settings = std::make_unique<QSettings>(location, QSettings::IniFormat);
  settings->beginGroup(QString::fromLatin1(IniGroup));
  return settings;
}

}  // namespace

AssociationSettings::AssociationSettings() {
  const QString chosen = qEnvironmentVariable("VELTRA_SETTINGS");
#ifdef Q_OS_WIN
  if (chosen.isEmpty()) {
    *this = inRegistry(QString::fromLatin1(RegistryKey));
    return;
  }
#else
  if (chosen.isEmpty()) {
    location_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                QStringLiteral("/Veltra/Veltra.ini");
    return;
  }
#endif
  location_ = chosen;
}

AssociationSettings::AssociationSettings(QString iniFile) : location_(std::move(iniFile)) {}

AssociationSettings AssociationSettings::inRegistry(const QString& keyPath) {
  AssociationSettings settings{underRoot("HKEY_LOCAL_MACHINE", keyPath)};
  settings.userLocation_ = underRoot("HKEY_CURRENT_USER", keyPath);
  settings.native_ = true;
  return settings;
}

namespace {

bool holdsValues(const QString& location, bool native) {
  if (!native && !QFileInfo(location).isFile()) return false;
  const auto store = openStore(location, native);
  return store->status() == QSettings::NoError && !store->childKeys().isEmpty();
}

}  // namespace

bool AssociationSettings::keyExists() const {
  return holdsValues(location_, native_) || (native_ && holdsValues(userLocation_, true));
}

std::optional<std::string> AssociationSettings::readText(const Store& store,
                                                         const char* name) const {
  if (!keyExists()) return std::nullopt;
  const QVariant value = openStore(store.location, store.native)->value(QString::fromLatin1(name));
  if (!value.isValid() || value.typeId() != QMetaType::QString) return std::nullopt;
  std::string text = value.toString().toStdString();
  if (text.size() + 1 > ValueBufferSize) return std::nullopt;
  return text;
}

std::optional<std::string> AssociationSettings::database() const {
  // The user's own association, when there is one, before the machine's.
  if (native_ && openStore(userLocation_, true)->contains(QStringLiteral("Database")))
    return readText(userStore(), "Database");
  return readText(machineStore(), "Database");
}

std::optional<std::string> AssociationSettings::directory() const {
  return readText(machineStore(), "Directory");
}

std::optional<schema::AssociationKey> AssociationSettings::key() const {
  if (!keyExists()) return std::nullopt;
  return schema::AssociationKey{database(), directory()};
}

bool AssociationSettings::writeText(const Store& store, const char* name, const std::string& value,
                                    bool createKey) {
  if (!keyExists()) {
    if (!createKey) return false;
    if (!store.native && !QDir().mkpath(QFileInfo(store.location).absolutePath())) return false;
  }
  const auto settings = openStore(store.location, store.native);
  settings->setValue(QString::fromLatin1(name), QString::fromStdString(value));
  settings->sync();
  return settings->status() == QSettings::NoError;
}

bool AssociationSettings::saveDatabase(const std::string& path, bool createKey) {
  // A server's password lives in libpq's own places, never in the settings.
  if (db::engine::EngineDatabase::carriesPassword(path)) return false;
  return writeText(userStore(), "Database", path, createKey);
}

bool AssociationSettings::saveDirectory(const std::string& directory) {
  return writeText(machineStore(), "Directory", directory, true);
}

}  // namespace veltra::qt
