// Export Comunicazione from the menu: the date dialog, its refusal with the
// dialog still open, and the files written, byte for byte those of veltra-cli.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "app/SituationDateDialog.h"
#include "comms/CompanySituationExport.h"
#include "comms/DateInput.h"

namespace veltra::testing {
namespace {

using app::SituationDateDialog;
using SituationDateDialogTest = AppTest;

QLineEdit* dateEdit(const QDialog& dialog) {
  return dialog.findChild<QLineEdit*>(SituationDateDialog::DateEditName);
}

QPushButton* button(const QDialog& dialog, const char* name) {
  return dialog.findChild<QPushButton*>(name);
}

TEST_F(SituationDateDialogTest, AsksForTheDatePresetToToday) {
  startConnected();
  SituationDateDialog dialog(window().prompter(), &window());
  EXPECT_EQ(dialog.windowTitle(), "Esportazione Situazione Mezzi Aziendali");
  ASSERT_EQ(dialog.findChildren<QLabel*>().size(), 1);
  EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Data generazione situazione");
  ASSERT_NE(dateEdit(dialog), nullptr);
  EXPECT_EQ(dateEdit(dialog)->text().toStdString(), comms::TodayDateText());
  EXPECT_EQ(dateEdit(dialog)->maxLength(), 10);
  EXPECT_EQ(button(dialog, "IDOK")->text(), "OK");
  EXPECT_TRUE(button(dialog, "IDOK")->isDefault());
  EXPECT_EQ(button(dialog, "IDCANCEL")->text(), "Annulla");
  // Shown, it is wide enough for its whole title.
  dialog.show();
  EXPECT_GT(dialog.width(), dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()));
  dialog.hide();
}

TEST_F(SituationDateDialogTest, RefusesAnIllegalDateThenWritesWhatVeltraCliWrites) {
  startOnRegister();
  const auto folder = dir.path() / "desktop";
  const auto cliFolder = dir.path() / "cli";
  std::filesystem::create_directories(folder);
  std::filesystem::create_directories(cliFolder);
  bool openAfterRefusal = false;
  dialogs.dialogScripts = {[&](QDialog& dialog) {
    dialog.show();
    dateEdit(dialog)->setText(QStringLiteral("31/02/2010"));
    button(dialog, "IDOK")->click();
    openAfterRefusal = dialog.isVisible() && dialogs.boxes.size() == 1;
    dateEdit(dialog)->setText(QStringLiteral("01-02-10"));
    button(dialog, "IDOK")->click();
  }};
  dialogs.files = {QString::fromStdString((folder / "ComunicazioneBus.TXT").string())};
  chooseMenuItem(app::CmdExportCommunication);

  EXPECT_TRUE(openAfterRefusal);
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_EQ(dialogs.boxes[0].text, comms::InvalidDateMessage);
  EXPECT_EQ(dialogs.boxes[0].icon, QMessageBox::Critical);
  EXPECT_EQ(dialogs.boxes[1].text, comms::SituationsWrittenMessage);
  EXPECT_EQ(dialogs.boxes[1].icon, QMessageBox::Information);
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs[0].title, "Selezione Cartella Situazioni Mezzi Aziendali");

  runCli({"export-situations", "--date", "01-02-10", "--dir", cliFolder.string()});
  const std::string name = "ComunicazioneBusQz_12.txt";
  ASSERT_TRUE(std::filesystem::exists(folder / name));
  EXPECT_EQ(fileBytes((folder / name).string()), fileBytes((cliFolder / name).string()));
  EXPECT_FALSE(std::filesystem::exists(folder / "ComunicazioneBus.TXT"));
}

TEST_F(SituationDateDialogTest, AnnullaWritesNothing) {
  startOnRegister();
  dialogs.dialogScripts = {[](QDialog& dialog) { button(dialog, "IDCANCEL")->click(); }};
  chooseMenuItem(app::CmdExportCommunication);
  EXPECT_TRUE(dialogs.fileDialogs.empty());
  EXPECT_TRUE(dialogs.boxes.empty());
}

}  // namespace
}  // namespace veltra::testing
