// Esportazione TXT from the menu: the controls and their defaults, the lists
// enabled while their "all" box is unchecked, the checks of "OK" in their
// order with the dialog still open, and the file veltra-cli also writes.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "app/TxtExportDialog.h"
#include "comms/CodeChoice.h"
#include "comms/DateInput.h"

namespace veltra::testing {
namespace {

using app::TxtExportDialog;
using TxtExportDialogTest = AppTest;

template <class Widget>
Widget* control(const QDialog& dialog, const char* name) {
  auto* widget = dialog.findChild<Widget*>(name);
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

QCheckBox* allCompanies(const QDialog& d) {
  return control<QCheckBox>(d, TxtExportDialog::AllCompaniesName);
}
QComboBox* companyList(const QDialog& d) {
  return control<QComboBox>(d, TxtExportDialog::CompanyListName);
}
QCheckBox* allAmbits(const QDialog& d) {
  return control<QCheckBox>(d, TxtExportDialog::AllAmbitsName);
}
QComboBox* ambitList(const QDialog& d) {
  return control<QComboBox>(d, TxtExportDialog::AmbitListName);
}
QLineEdit* dateEdit(const QDialog& d) {
  return control<QLineEdit>(d, TxtExportDialog::DateEditName);
}
void clickOk(const QDialog& d) {
  control<QPushButton>(d, "IDOK")->click();
}

TEST_F(TxtExportDialogTest, ControlsDefaultsAndListsEnabledWhileTheirBoxIsUnchecked) {
  startOnRegister();
  TxtExportDialog dialog(*window().connection(), &window());
  EXPECT_EQ(dialog.windowTitle(), "Estrazione in formato TXT / TAB");
  QStringList groups;
  for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) groups << group->title();
  EXPECT_EQ(groups, (QStringList{"Selezione Azienda", "Selezione Ambito"}));
  EXPECT_EQ(dialog.findChild<QLabel*>()->text(), "Situazione relativa al giorno");
  EXPECT_EQ(allCompanies(dialog)->text(), "Tutte le Aziende");
  EXPECT_EQ(allAmbits(dialog)->text(), "Tutti gli Ambiti");
  const auto* activeOnly = control<QCheckBox>(dialog, TxtExportDialog::ActiveOnlyName);
  EXPECT_EQ(activeOnly->text(), "Solo mezzi attivi alla data di generazione");
  EXPECT_TRUE(allCompanies(dialog)->isChecked());
  EXPECT_TRUE(allAmbits(dialog)->isChecked());
  EXPECT_FALSE(activeOnly->isChecked());
  EXPECT_EQ(dateEdit(dialog)->text().toStdString(), comms::TodayDateText());
  EXPECT_EQ(dateEdit(dialog)->maxLength(), 10);

  const auto companies = comms::FleetCompanyItems(*window().connection());
  ASSERT_FALSE(companies.empty());
  ASSERT_EQ(companyList(dialog)->count(), static_cast<int>(companies.size()));
  EXPECT_EQ(companyList(dialog)->itemText(0).toStdString(), companies[0].text);
  EXPECT_TRUE(companyList(dialog)->isEditable());

  EXPECT_FALSE(companyList(dialog)->isEnabled());
  EXPECT_FALSE(ambitList(dialog)->isEnabled());
  allCompanies(dialog)->click();
  EXPECT_TRUE(companyList(dialog)->isEnabled());
  EXPECT_FALSE(ambitList(dialog)->isEnabled());
  allAmbits(dialog)->click();
  EXPECT_TRUE(ambitList(dialog)->isEnabled());
  allCompanies(dialog)->click();
  EXPECT_FALSE(companyList(dialog)->isEnabled());
}

TEST_F(TxtExportDialogTest, OkChecksCompanyThenAmbitThenDateAndStaysOpen) {
  startOnRegister();
  std::vector<bool> open;
  dialogs.dialogScripts = {[&](QDialog& dialog) {
    dialog.show();
    allCompanies(dialog)->click();
    allAmbits(dialog)->click();
    companyList(dialog)->setEditText(QStringLiteral("12a"));
    ambitList(dialog)->setEditText(QStringLiteral("xx"));
    dateEdit(dialog)->setText(QStringLiteral("1/02/2010"));
    clickOk(dialog);
    open.push_back(dialog.isVisible());
    companyList(dialog)->setEditText(QStringLiteral("12"));
    clickOk(dialog);
    open.push_back(dialog.isVisible());
    allAmbits(dialog)->click();
    clickOk(dialog);
    open.push_back(dialog.isVisible());
    control<QPushButton>(dialog, "IDCANCEL")->click();
  }};
  chooseMenuItem(app::CmdFleetTextExport);
  EXPECT_EQ(open, (std::vector<bool>{true, true, true}));
  EXPECT_EQ(dialogs.texts(), (std::vector<std::string>{std::string(comms::InvalidCompanyMessage),
                                                       std::string(comms::InvalidAmbitMessage),
                                                       std::string(comms::InvalidDateMessage)}));
  for (const ShownBox& box : dialogs.boxes) EXPECT_EQ(box.icon, QMessageBox::Critical);
  EXPECT_TRUE(dialogs.fileDialogs.empty());
}

TEST_F(TxtExportDialogTest, WritesTheFileVeltraCliWritesForTheSameChoices) {
  startOnRegister();
  const std::string desktopFile = dir.file("desktop.txt");
  const std::string cliFile = dir.file("cli.txt");
  dialogs.dialogScripts = {[&](QDialog& dialog) {
    allCompanies(dialog)->click();
    companyList(dialog)->setEditText(QStringLiteral("12"));
    control<QCheckBox>(dialog, TxtExportDialog::ActiveOnlyName)->click();
    dateEdit(dialog)->setText(QStringLiteral("31.12.24"));
    clickOk(dialog);
  }};
  dialogs.files = {QString::fromStdString(desktopFile)};
  chooseMenuItem(app::CmdFleetTextExport);
  EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes.front().text;
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs[0].title, "Selezione file TXT per esportazione situazione mezzi");

  runCli(
      {"export-fleet", "--date", "31.12.24", "--out", cliFile, "--company", "12", "--active-only"});
  const std::string written = fileBytes(desktopFile);
  EXPECT_EQ(written.rfind("Situazione mezzi al 31/12/2024\r\n"
                          "Esclusivamente mezzi utilizzati dall'Azienda=12\r\n",
                          0),
            0u);
  EXPECT_EQ(written, fileBytes(cliFile));
}

}  // namespace
}  // namespace veltra::testing
