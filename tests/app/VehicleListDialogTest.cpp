// The selection dialog of the vehicle lists, offscreen over a register of
// three companies: its controls and defaults, the boxes that free the lists,
// and the codes "OK" refuses.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "app/VehicleListDialog.h"
#include "comms/ApplyCommunication.h"
#include "db/DatabaseConnection.h"
#include "schema/DatabaseCreation.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::testing {
namespace {

using Use = reports::VehicleListDialog;

class VehicleListDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(schema::BuildNewDatabase(quiet, path, "").outcome, ui::Outcome::Done);
    connection = std::make_unique<db::DatabaseConnection>(quiet, path);
    for (const std::int32_t azienda : {12, 3, 7}) {
      ASSERT_TRUE(
          comms::ApplyCommunication(*connection, SyntheticCommunication(azienda, "15/01/2024", 4))
              .done());
    }
  }

  QStringList items(const QComboBox& combo) {
    QStringList texts;
    for (int i = 0; i < combo.count(); ++i) texts.append(combo.itemText(i));
    return texts;
  }

  QStringList expected(const std::vector<comms::CodeItem>& codes) {
    QStringList texts;
    for (const auto& item : codes) texts.append(QString::fromStdString(item.text));
    return texts;
  }

  TempDir dir;
  std::string path = dir.file("VELTRA.MDB");
  RecordingPrompter quiet;
  RecordingPrompter prompter;  // the dialog's
  std::unique_ptr<db::DatabaseConnection> connection;
};

TEST_F(VehicleListDialogTest, OpensOnAllCompaniesAllAmbitsAndPreview) {
  app::VehicleListDialog byCompany(Use::ByCompany, *connection, prompter);
  app::VehicleListDialog byAmbit(Use::ByAmbit, *connection, prompter);
  EXPECT_EQ(byCompany.windowTitle(), "Rubrica Mezzi x Azienda");
  EXPECT_EQ(byAmbit.windowTitle(), "Rubrica Mezzi x Ambito");
  app::VehicleListDialog financing(Use::Financing, *connection, prompter);
  EXPECT_EQ(financing.windowTitle(), "Rubrica Mezzi x Finanziamento");

  for (const app::VehicleListDialog* dialog : {&byCompany, &financing}) {
    QStringList groups;
    for (const QGroupBox* group : dialog->findChildren<QGroupBox*>()) groups.append(group->title());
    EXPECT_EQ(groups, (QStringList{"Selezione Azienda", "Selezione Ambito", "Tipo stampa"}));
  }
  EXPECT_EQ(byCompany.allCompanies().text(), "Tutte le Aziende");
  EXPECT_EQ(byCompany.allAmbits().text(), "Tutti gli Ambiti");
  EXPECT_TRUE(byCompany.allCompanies().isChecked());
  EXPECT_TRUE(byCompany.allAmbits().isChecked());
  EXPECT_FALSE(byCompany.company().isEnabled());
  EXPECT_FALSE(byCompany.ambit().isEnabled());
  EXPECT_TRUE(byCompany.company().isEditable());
  EXPECT_EQ(byCompany.company().currentText(), "");
  EXPECT_EQ(items(byCompany.company()), expected(reports::VehicleListCompanyItems(*connection)));
  EXPECT_EQ(items(byCompany.company()).size(), 3);
  EXPECT_EQ(items(byCompany.ambit()), expected(reports::VehicleListAmbitItems(*connection)));
  EXPECT_EQ(byCompany.preview().text(), "Anteprima di stampa");
  EXPECT_EQ(byCompany.print().text(), "Stampa");
  EXPECT_TRUE(byCompany.preview().isChecked());
  EXPECT_FALSE(byCompany.print().isChecked());

  QStringList buttons;
  for (const QPushButton* button : byCompany.findChildren<QPushButton*>()) {
    buttons.append(button->text());
    if (button->text() == "OK") {
      EXPECT_TRUE(button->isDefault());
    }
  }
  buttons.sort();
  EXPECT_EQ(buttons, (QStringList{"Annulla", "OK"}));

  // Everything fits: the dialog is never smaller than its contents ask.
  byCompany.show();
  EXPECT_GE(byCompany.width(), byCompany.minimumSizeHint().width());
  EXPECT_GE(byCompany.height(), byCompany.minimumSizeHint().height());
}

TEST_F(VehicleListDialogTest, TheAllBoxesFreeTheirListAndOkChecksTheCodes) {
  app::VehicleListDialog dialog(Use::ByCompany, *connection, prompter);
  dialog.allCompanies().click();
  EXPECT_TRUE(dialog.company().isEnabled());
  EXPECT_FALSE(dialog.ambit().isEnabled());

  // Nothing typed: code 0, which no company has.
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            "ATTENZIONE: Il Codice Azienda non è valido.\n\n"
            "Occorre selezionare un Codice Azienda presente nella lista.\n\n");
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Stop);

  dialog.company().setEditText("12");
  dialog.allAmbits().click();
  dialog.ambit().setEditText("99 - nessuno");
  dialog.accept();
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[1].text.rfind("ATTENZIONE: Il Codice Ambito non è valido.", 0), 0u);

  dialog.ambit().setCurrentIndex(0);
  dialog.print().click();
  dialog.accept();
  EXPECT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const reports::VehicleListChoice& choice = dialog.choice();
  EXPECT_FALSE(choice.allCompanies);
  EXPECT_EQ(choice.azienda, 12);
  EXPECT_FALSE(choice.allAmbits);
  EXPECT_EQ(choice.ambito, comms::ItemCode(dialog.ambit().itemText(0).toStdString()));
  EXPECT_FALSE(choice.preview);

  // Checked again, the box closes its list and the code goes back to -1.
  dialog.allCompanies().click();
  EXPECT_FALSE(dialog.company().isEnabled());
  dialog.accept();
  EXPECT_EQ(dialog.choice().azienda, -1);
}

}  // namespace
}  // namespace veltra::testing
