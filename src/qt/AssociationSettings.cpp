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

QString platformLocation(bool& native) {
#ifdef Q_OS_WIN
  native = true;
  return QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Veltra\\Veltra\\1.00");
#else
  native = false;
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Veltra/Veltra.ini");
#endif
}

}  // namespace

AssociationSettings::AssociationSettings() {
  const QString chosen = qEnvironmentVariable("VELTRA_SETTINGS");
  if (chosen.isEmpty()) {
    location_ = platformLocation(native_);
  } else {
    location_ = chosen;
  }
}

AssociationSettings::AssociationSettings(QString iniFile) : location_(std::move(iniFile)) {}

namespace {

std::unique_ptr<QSettings> openStore(const QString& location, bool native) {
  if (native) return std::make_unique<QSettings>(location, QSettings::NativeFormat);
  auto settings = std::make_unique<QSettings>(location, QSettings::IniFormat);
  settings->beginGroup(QString::fromLatin1(IniGroup));
  return settings;
}

}  // namespace

bool AssociationSettings::keyExists() const {
  if (!native_ && !QFileInfo(location_).isFile()) return false;
  const auto store = openStore(location_, native_);
  return store->status() == QSettings::NoError && !store->childKeys().isEmpty();
}

std::optional<std::string> AssociationSettings::readText(const char* name) const {
  if (!keyExists()) return std::nullopt;
  const QVariant value = openStore(location_, native_)->value(QString::fromLatin1(name));
  if (!value.isValid() || value.typeId() != QMetaType::QString) return std::nullopt;
  std::string text = value.toString().toStdString();
  if (text.size() + 1 > ValueBufferSize) return std::nullopt;
  return text;
}

std::optional<schema::AssociationKey> AssociationSettings::key() const {
  if (!keyExists()) return std::nullopt;
  return schema::AssociationKey{database(), directory()};
}

bool AssociationSettings::writeText(const char* name, const std::string& value, bool createKey) {
  if (!keyExists()) {
    if (!createKey) return false;
    if (!native_ && !QDir().mkpath(QFileInfo(location_).absolutePath())) return false;
  }
  const auto store = openStore(location_, native_);
  store->setValue(QString::fromLatin1(name), QString::fromStdString(value));
  store->sync();
  return store->status() == QSettings::NoError;
}

bool AssociationSettings::saveDatabase(const std::string& path, bool createKey) {
  // A server's password lives in libpq's own places, never in the settings.
  if (db::engine::EngineDatabase::carriesPassword(path)) return false;
  return writeText("Database", path, createKey);
}

bool AssociationSettings::saveDirectory(const std::string& directory) {
  return writeText("Directory", directory, true);
}

}  // namespace veltra::qt
