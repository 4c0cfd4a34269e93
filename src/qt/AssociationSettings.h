#pragma once
// The association between the installation and its database file, kept where
// an installed program keeps its settings: the key
// "Software\\Veltra\\Veltra\\1.00" with the values "Database" (the file in use)
// and "Directory" (the folder for the default database). On Windows that is
// the registry: the setup program creates the key machine-wide with
// "Directory", and "Database" is kept under the same key of the current
// user, read before the machine-wide one, since a user who is not an
// administrator cannot write the machine-wide root. Elsewhere it is an INI
// file in the user's configuration folder, or the INI file named by
// VELTRA_SETTINGS.
// The desktop program and veltra-cli share this code so they always agree.

#include <QString>
#include <optional>
#include <string>

#include "schema/Association.h"

namespace veltra::qt {

class AssociationSettings {
 public:
  // The store of this installation: VELTRA_SETTINGS when set, else the platform's own.
  AssociationSettings();
  // The key kept in the given INI file.
  explicit AssociationSettings(QString iniFile);
  // The key at this path under the registry's machine-wide and current-user
  // roots (Windows only).
  static AssociationSettings inRegistry(const QString& keyPath);

  // The key counts as missing when its store does not exist, cannot be read,
  // or holds no value under the key: the installation was never completed.
  // In the registry, the key of either root counts.
  bool keyExists() const;

  // A value is readable only when it is a plain text that fits the buffer the
  // program has always read it into (2048 bytes with its terminating zero).
  std::optional<std::string> database() const;
  std::optional<std::string> directory() const;
  // Both values; none when the key is missing.
  std::optional<schema::AssociationKey> key() const;

  // Writes "Database". Without createKey nothing is written when the key is
  // missing, as the program never creates its installation's key itself.
  // False when nothing could be written.
  bool saveDatabase(const std::string& path, bool createKey = false);
  // What the program does as it ends. The registry's key is the installer's
  // to create; an INI file has no installer on Linux, so there the program
  // writes it even when it does not exist yet, or it could never start again
  // on the database it created at its first start.
  bool saveDatabaseAtExit(const std::string& path) { return saveDatabase(path, isIniFile()); }
  // What an installer does: creates the key with its "Directory" value.
  bool saveDirectory(const std::string& directory);

  // The INI file, or the machine-wide key, where "Directory" is written.
  const QString& location() const { return location_; }
  // Where "Database" is written: the INI file, or the current user's key.
  const QString& databaseLocation() const { return native_ ? userLocation_ : location_; }
  bool isIniFile() const { return !native_; }

  static constexpr std::size_t ValueBufferSize = 2048;

 private:
  // A store holding the key: the INI file, or one root's key in the registry.
  struct Store {
    QString location;
    bool native;
  };
  Store machineStore() const { return {location_, native_}; }
  Store userStore() const { return {databaseLocation(), native_}; }
  std::optional<std::string> readText(const Store& store, const char* name) const;
  bool writeText(const Store& store, const char* name, const std::string& value, bool createKey);

  QString location_;
  QString userLocation_;
  bool native_ = false;
};

}  // namespace veltra::qt
