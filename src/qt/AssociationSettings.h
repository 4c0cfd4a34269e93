#pragma once
// The association between the installation and its database file, kept where
// an installed program keeps its settings: the key
// "Software\\Veltra\\Veltra\\1.00" with the values "Database" (the file in use)
// and "Directory" (the folder for the default database). On Windows that is
// the machine-wide registry; elsewhere an INI file in the user's
// configuration folder, or the INI file named by VELTRA_SETTINGS.
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

  // The key counts as missing when its store does not exist, cannot be read,
  // or holds no value under the key: the installation was never completed.
  bool keyExists() const;

  // A value is readable only when it is a plain text that fits the buffer the
  // program has always read it into (2048 bytes with its terminating zero).
  std::optional<std::string> database() const { return readText("Database"); }
  std::optional<std::string> directory() const { return readText("Directory"); }
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

  const QString& location() const { return location_; }
  bool isIniFile() const { return !native_; }

  static constexpr std::size_t ValueBufferSize = 2048;

 private:
  std::optional<std::string> readText(const char* name) const;
  bool writeText(const char* name, const std::string& value, bool createKey);

  QString location_;
  bool native_ = false;
};

}  // namespace veltra::qt
