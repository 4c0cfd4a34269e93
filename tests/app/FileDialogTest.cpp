// The file dialogs on a file system that tells upper from lower case: a name
// typed without its extension finds the file whatever the extension's case,
// and each dialog opens where it was last used.

#include <QCoreApplication>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTranslator>
#include <filesystem>
#include <fstream>

#include "AppFixture.h"
#include "app/FileDialog.h"
#include "app/ItalianTranslations.h"
#include "schema/DatabaseFiles.h"

namespace veltra::testing {
namespace {

using app::existingFileAnyExtensionCase;

class FileDialogTest : public AppTest {
 protected:
  QString touch(const std::string& name) {
    std::ofstream(dir.file(name)) << "x";
    return QString::fromStdString(dir.file(name));
  }
  QString path(const std::string& name) { return QString::fromStdString(dir.file(name)); }
};

// The file dialog's columns in Italian, the type of a folder too, which
// Qt's own Italian leaves as "Folder".
TEST_F(FileDialogTest, TheColumnsAndAFoldersTypeAreItalian) {
  app::installItalianTranslations(*QCoreApplication::instance());
  const QString folderType =
      QFileIconProvider().type(QFileInfo(QString::fromStdString(dir.path())));
  const QString typeHeading = QFileSystemModel().headerData(2, Qt::Horizontal).toString();
  for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(translator);
    delete translator;
  }
  EXPECT_EQ(folderType, "Cartella");
  EXPECT_EQ(typeHeading, "Tipo");
}

TEST_F(FileDialogTest, TheExtensionIsFoundWhateverItsCase) {
  const QString lower = touch("VariazioniBusQz_12_20240315.txt");
  const QString upper = touch("R5.MDB");
  EXPECT_EQ(existingFileAnyExtensionCase(path("VariazioniBusQz_12_20240315.TXT")), lower);
  EXPECT_EQ(existingFileAnyExtensionCase(path("R5.mdb")), upper);
  EXPECT_EQ(existingFileAnyExtensionCase(lower), lower);
  // Only the extension is read without case, and a missing file stays missing.
  EXPECT_EQ(existingFileAnyExtensionCase(path("r5.mdb")), path("r5.mdb"));
  EXPECT_EQ(existingFileAnyExtensionCase(path("R6.mdb")), path("R6.mdb"));
}

TEST_F(FileDialogTest, ANameTypedWithoutExtensionOpensTheLowerCaseFile) {
  const QString database = touch("R5.mdb");
  app::FileDialog dialog(nullptr, schema::openDatabaseChoice("Connessione Database"), false,
                         nullptr);
  dialog.setDirectory(QString::fromStdString(dir.path().string()));
  auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(name, nullptr);
  name->setText(QStringLiteral("R5"));
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.selectedFiles(), QStringList{database});
}

TEST_F(FileDialogTest, EachDialogOpensInTheFolderItWasLastUsedIn) {
  startConnected();
  const auto folder = dir.path() / "archivio";
  const auto other = dir.path() / "copie";
  std::filesystem::create_directory(folder);
  std::filesystem::create_directory(other);
  const ui::FileChoice open = schema::openDatabaseChoice("Riparazione del Database");
  const ui::FileChoice source = schema::openDatabaseChoice("Selezione del Database di origine");
  dialogs.files = {QString::fromStdString((folder / "R5.mdb").string()),
                   QString::fromStdString((other / "R6.mdb").string())};
  ASSERT_TRUE(window().prompter().openFile(open));
  ASSERT_TRUE(window().prompter().openFile(source));
  window().prompter().openFile(open);
  window().prompter().openFile(source);
  ASSERT_EQ(dialogs.fileDialogs.size(), 4u);
  EXPECT_EQ(dialogs.fileDialogs[2].directory.toStdString(), folder.string());
  EXPECT_EQ(dialogs.fileDialogs[3].directory.toStdString(), other.string());
  // Kept in the settings: a new start remembers it.
  application.reset();
  ASSERT_TRUE(start());
  window().prompter().openFile(open);
  EXPECT_EQ(dialogs.fileDialogs.back().directory.toStdString(), folder.string());
}

}  // namespace
}  // namespace veltra::testing
