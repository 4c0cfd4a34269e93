#pragma once
// The program's file dialog: set up from a FileChoice, opening in the folder
// the same dialog was last used in, and finding a file whatever the case of
// its extension, as users of case-blind file systems expect.

#include <QFileDialog>

#include "ui/Prompter.h"

namespace veltra::app {

class RecentFolders;

class FileDialog : public QFileDialog {
  Q_OBJECT
 public:
  // folders: where the dialog starts and what it remembers; none starts
  // in the working folder.
  FileDialog(QWidget* parent, const ui::FileChoice& choice, bool save, RecentFolders* folders);

  // The folder of the chosen file is remembered for the next time.
  void rememberFolderOf(const QString& chosen);

  void accept() override;

  static constexpr const char* ServerButtonName = "serverButton";
  // True when the dialog was closed by its "Database su server..." button:
  // the register is then asked for on a server instead of as a file.
  bool serverChosen() const { return serverChosen_; }

 private:
  void showWholeColumns();
  void offerServer();

  QString key_;
  RecentFolders* folders_;
  bool serverChosen_ = false;
};

// The existing file that path names when its extension is read without case
// ("dati.TXT" finds "dati.txt"); the path itself when it exists or nothing matches.
QString existingFileAnyExtensionCase(const QString& path);

}  // namespace veltra::app
