// Situazione Comunicazioni Aziendali from the menu: the companies that
// communicated, the dates of the chosen one, and the verdict of a date, as
// veltra-cli status lists and tells them.

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <sstream>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "app/CommunicationsStatusDialog.h"
#include "comms/CommunicationsStatus.h"

namespace veltra::testing {
namespace {

using app::CommunicationsStatusDialog;
using CommunicationsStatusDialogTest = AppTest;

QStringList itemTexts(const QListWidget& list) {
  QStringList texts;
  for (int row = 0; row < list.count(); ++row) texts << list.item(row)->text();
  return texts;
}

QStringList outputLines(const std::string& out) {
  return QString::fromStdString(out).split(u'\n', Qt::SkipEmptyParts);
}

TEST_F(CommunicationsStatusDialogTest, CompaniesThenDatesThenTheVerdictOfTheChosenDate) {
  startOnRegister();
  std::vector<QStringList> shown;
  dialogs.dialogScripts = {[&](QDialog& dialog) {
    auto& status = static_cast<CommunicationsStatusDialog&>(dialog);
    EXPECT_EQ(dialog.windowTitle(), "Situazione Comunicazioni Aziendali");
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
    EXPECT_EQ(labels, (QStringList{"Azienda", "Comunicazioni"}));
    EXPECT_EQ(dialog.findChildren<QPushButton*>().size(), 1);
    shown.push_back(itemTexts(status.companies()));
    shown.push_back(itemTexts(status.dates()));
    status.companies().item(0)->setSelected(true);
    shown.push_back(itemTexts(status.dates()));
    status.dates().item(1)->setSelected(true);
    dialog.findChild<QPushButton*>()->click();
  }};
  chooseMenuItem(app::CmdCommunicationsStatus);

  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], outputLines(runCli({"status"}).out));
  EXPECT_TRUE(shown[1].isEmpty());
  EXPECT_EQ(shown[2], outputLines(runCli({"status", "12"}).out));
  EXPECT_EQ(shown[2], (QStringList{"15/03/2024", "30/09/2024"}));
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_EQ(dialogs.boxes[0].text, comms::CommunicationVerdictText("30/09/2024", true));
  EXPECT_EQ(dialogs.boxes[0].icon, QMessageBox::Information);
}

}  // namespace
}  // namespace veltra::testing
