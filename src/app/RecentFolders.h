#pragma once
// The folder each file dialog was last used in, so that it opens there the
// next time. Kept per user: in the INI file of the settings where they are
// one, else in the user's own part of the registry (the installation's key
// is machine-wide and not the user's to write).

#include <QString>

namespace veltra::qt {
class AssociationSettings;
}

namespace veltra::app {

class RecentFolders {
 public:
  explicit RecentFolders(const qt::AssociationSettings& settings);

  // The folder the dialog of that title was last used in; empty when never.
  QString folder(const QString& dialogTitle) const;
  void remember(const QString& dialogTitle, const QString& folder);

 private:
  QString iniFile_;  // empty: the user's registry
};

}  // namespace veltra::app
