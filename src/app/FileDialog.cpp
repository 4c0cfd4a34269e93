#include "app/FileDialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeView>

#include "app/FileFilters.h"
#include "app/RecentFolders.h"

namespace veltra::app {

FileDialog::FileDialog(QWidget* parent, const ui::FileChoice& choice, bool save,
                       RecentFolders* folders)
    : QFileDialog(parent, QString::fromStdString(choice.title)),
      key_(QString::fromStdString(choice.title)),
      folders_(folders) {
  setNameFilters(qtNameFilters(choice.filter));
  setDefaultSuffix(QString::fromStdString(choice.defaultExtension));
  setAcceptMode(save ? AcceptSave : AcceptOpen);
  setFileMode(!save && choice.mustExist ? ExistingFile : AnyFile);
  setOption(DontConfirmOverwrite, !choice.confirmOverwrite);
  if (choice.offersServer && !save) offerServer();
  if (folders_ != nullptr) {
    const QString folder = folders_->folder(key_);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) setDirectory(folder);
  }
  if (!choice.proposedName.empty() && !isNamePattern(choice.proposedName))
    selectFile(QString::fromStdString(choice.proposedName));
  // Wide enough for whole names, sizes and dates in the detail view.
  resize(sizeHint().expandedTo(
      QSize(fontMetrics().averageCharWidth() * 110, fontMetrics().height() * 26)));
  showWholeColumns();
}

// Size, type and date as wide as what they hold, the name taking the rest;
// the places on the left wide enough for their names.
void FileDialog::showWholeColumns() {
  if (auto* details = findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
      header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
  if (auto* places = findChild<QWidget*>(QStringLiteral("sidebar")))
    places->setMinimumWidth(fontMetrics().averageCharWidth() * 18);
}

// The server button sits beside "Apri" in the dialog's own button row, which
// only the program's widget dialog has.
void FileDialog::offerServer() {
  setOption(DontUseNativeDialog);
  auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
  if (buttons == nullptr) return;
  QPushButton* server =
      buttons->addButton(QStringLiteral("Database su &server..."), QDialogButtonBox::ActionRole);
  server->setObjectName(QString::fromLatin1(ServerButtonName));
  connect(server, &QPushButton::clicked, this, [this] {
    serverChosen_ = true;
    reject();
  });
}

void FileDialog::rememberFolderOf(const QString& chosen) {
  if (folders_ != nullptr) folders_->remember(key_, QFileInfo(chosen).absolutePath());
}

// Qt appends the default extension as it is written ("R5" becomes "R5.MDB")
// and then misses "R5.mdb"; the name is set to the file that is there
// before Qt checks it.
void FileDialog::accept() {
  const QStringList chosen = selectedFiles();
  if (chosen.size() == 1) {
    const QString found = existingFileAnyExtensionCase(chosen.front());
    if (found != chosen.front()) selectFile(QFileInfo(found).fileName());
  }
  QFileDialog::accept();
}

QString existingFileAnyExtensionCase(const QString& path) {
  const QFileInfo info(path);
  if (info.exists() || info.suffix().isEmpty()) return path;
  const QString base = info.completeBaseName();
  const QDir folder = info.absoluteDir();
  for (const QString& name : folder.entryList({base + QStringLiteral(".*")}, QDir::Files)) {
    const QFileInfo candidate(folder.filePath(name));
    if (candidate.completeBaseName() == base &&
        candidate.suffix().compare(info.suffix(), Qt::CaseInsensitive) == 0)
      return candidate.filePath();
  }
  return path;
}

}  // namespace veltra::app
