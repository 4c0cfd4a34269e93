// The vehicle card and history card dialogs, offscreen, over an imported
// register: their controls, the empty start, the card of a chosen vehicle,
// and finding a vehicle by typing the start of its plate or chassis.

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringListModel>
#include <QTimer>
#include <functional>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "app/VehicleCardDialog.h"
#include "app/VehicleHistoryDialog.h"
#include "app/VehicleSelector.h"
#include "reports/VehicleCardRegister.h"
#include "reports/VehicleCardText.h"
#include "reports/VehicleHistoryText.h"
#include "schema/DatabaseCreation.h"
#include "support/RecordingPrompter.h"

namespace veltra::testing {
namespace {

using app::VehicleConsultationDialog;

// The card as the text control holds it: one line feed per CR LF.
QString shown(const std::string& card) {
  return QString::fromStdString(card).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QStringList labelTexts(const QDialog& dialog) {
  QStringList texts;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) texts.append(label->text());
  return texts;
}

void press(QWidget* widget, int key, const QString& text = {}) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(widget, &event);
}

// Letter by letter, as the user types into the selector's field.
void type(const VehicleConsultationDialog& dialog, const QString& text) {
  for (const QChar c : text) press(dialog.selector().edit(), Qt::Key_unknown, QString(c));
}

void chooseRow(const VehicleConsultationDialog& dialog, int row) {
  QListView* list = dialog.selector().list();
  list->setCurrentIndex(list->model()->index(row, 0));
}

class VehicleCardDialogTest : public VehicleCardRegisterTest {
 protected:
  enum Row { BlankPlate, Paren, Bus, Orphan, Quiet };
};

// The desktop is shown on the file; the server is the command line's and the core's to show.
INSTANTIATE_TEST_SUITE_P(File, VehicleCardDialogTest, ::testing::Values(testing::TestEngine::File),
                         testing::engineName);

TEST_P(VehicleCardDialogTest, ControlsAndTitles) {
  app::VehicleCardDialog card(*connection);
  app::VehicleHistoryDialog history(*connection);
  EXPECT_EQ(card.windowTitle(), "Scheda Informativa Mezzo");
  EXPECT_EQ(history.windowTitle(), "Scheda Storica Mezzo");
  for (const VehicleConsultationDialog* dialog :
       {static_cast<VehicleConsultationDialog*>(&card),
        static_cast<VehicleConsultationDialog*>(&history)}) {
    EXPECT_EQ(labelTexts(*dialog), (QStringList{"Targa (Telaio)", "Scheda Mezzo"}));
    EXPECT_EQ(dialog->okButton().text(), "OK");
    EXPECT_TRUE(dialog->okButton().isDefault());
    EXPECT_TRUE(dialog->cardText().isReadOnly());
    EXPECT_EQ(dialog->findChildren<QPushButton*>().size(), 1);
  }
}

TEST_P(VehicleCardDialogTest, OpensWithEveryVehicleAndNothingSelected) {
  app::VehicleHistoryDialog dialog(*connection);
  const app::VehicleSelector& selector = dialog.selector();
  const auto* model = qobject_cast<QStringListModel*>(selector.list()->model());
  ASSERT_NE(model, nullptr);
  EXPECT_EQ(model->stringList(),
            (QStringList{"      (ZFA0000000000002)", "CC333CC      (FIAT(A)",
                         "EF456GH      (ZFA0000000000001)", "OR888OR      (ZFA0000000000004)",
                         "QU555QU      (ZFA0000000000005)"}));
  EXPECT_EQ(selector.selectedRow(), -1);
  EXPECT_FALSE(selector.selectedText().has_value());
  EXPECT_TRUE(selector.edit()->text().isEmpty());
  EXPECT_TRUE(dialog.cardText().toPlainText().isEmpty());
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(VehicleCardDialogTest, ChoosingAVehicleShowsItsWholeCard) {
  app::VehicleCardDialog dialog(*connection);
  chooseRow(dialog, Bus);
  EXPECT_EQ(dialog.cardText().toPlainText(),
            shown(reports::VehicleCardText(*connection, BusChassis)));
  EXPECT_EQ(dialog.selector().edit()->text(), "EF456GH      (ZFA0000000000001)");
  chooseRow(dialog, Orphan);
  EXPECT_TRUE(
      dialog.cardText().toPlainText().startsWith("Azienda utilizzatrice: *** Azienda Sconosciuta "
                                                 "***\nAmbito: *** Ambito Sconosciuto ***\n\n"));
  // The key of a chassis with "(" is its part after the last one, which bus does not hold.
  chooseRow(dialog, Paren);
  EXPECT_EQ(dialog.cardText().toPlainText(), "\n\nInformazioni non disponibili");
}

TEST_P(VehicleCardDialogTest, ChoosingAVehicleShowsItsHistory) {
  app::VehicleHistoryDialog dialog(*connection);
  chooseRow(dialog, Bus);
  EXPECT_EQ(dialog.cardText().toPlainText(),
            shown(reports::VehicleHistoryText(*connection, BusChassis)));
  chooseRow(dialog, Quiet);
  EXPECT_EQ(dialog.cardText().toPlainText(), "Telaio: ZFA0000000000005\n");
}

TEST_P(VehicleCardDialogTest, TypingAPlatePrefixSelectsItEnterShowsItsCard) {
  app::VehicleCardDialog dialog(*connection);
  int accepted = 0;
  QObject::connect(&dialog, &QDialog::accepted, [&] { ++accepted; });
  type(dialog, "ef4");
  EXPECT_EQ(dialog.selector().selectedRow(), Bus);
  EXPECT_EQ(dialog.selector().edit()->text(), "ef4") << "typing keeps what was typed";
  EXPECT_TRUE(dialog.cardText().toPlainText().isEmpty()) << "typing only finds";

  press(dialog.selector().edit(), Qt::Key_Return);
  EXPECT_EQ(dialog.cardText().toPlainText(),
            shown(reports::VehicleCardText(*connection, BusChassis)));
  EXPECT_EQ(dialog.selector().edit()->text(), "EF456GH      (ZFA0000000000001)");
  EXPECT_EQ(accepted, 0) << "Enter in the selector does not close the dialog";

  // The arrow keys move on from there, and each move shows its card.
  press(dialog.selector().edit(), Qt::Key_Down);
  EXPECT_EQ(dialog.selector().selectedRow(), Orphan);
  EXPECT_EQ(dialog.cardText().toPlainText(),
            shown(reports::VehicleCardText(*connection, OrphanChassis)));
  press(dialog.selector().edit(), Qt::Key_Up);
  press(dialog.selector().edit(), Qt::Key_Up);
  EXPECT_EQ(dialog.selector().selectedRow(), Paren);
  EXPECT_EQ(dialog.cardText().toPlainText(), "\n\nInformazioni non disponibili");
}

TEST_P(VehicleCardDialogTest, TypingAChassisPrefixOrNothingThatMatches) {
  app::VehicleHistoryDialog dialog(*connection);
  type(dialog, "ZFA0000000000005");
  EXPECT_EQ(dialog.selector().selectedRow(), Quiet);
  press(dialog.selector().edit(), Qt::Key_Enter);
  EXPECT_EQ(dialog.cardText().toPlainText(), "Telaio: ZFA0000000000005\n");

  dialog.selector().edit()->clear();
  type(dialog, "fiat(");
  EXPECT_EQ(dialog.selector().selectedRow(), Paren);

  dialog.selector().edit()->clear();
  type(dialog, "XY");
  EXPECT_EQ(dialog.selector().selectedRow(), -1);
  press(dialog.selector().edit(), Qt::Key_Return);
  EXPECT_TRUE(dialog.cardText().toPlainText().isEmpty()) << "no entry selected: no text";
}

TEST_P(VehicleCardDialogTest, ArrowKeysWithoutSelectionStartAtTheFirstVehicle) {
  app::VehicleCardDialog dialog(*connection);
  press(dialog.selector().edit(), Qt::Key_Down);
  EXPECT_EQ(dialog.selector().selectedRow(), BlankPlate);
  EXPECT_NE(dialog.cardText().toPlainText().indexOf("\nTarga: \n"), -1);
}

TEST_P(VehicleCardDialogTest, EnterInTheCardTextDoesNotCloseTheDialog) {
  app::VehicleCardDialog dialog(*connection);
  int accepted = 0;
  QObject::connect(&dialog, &QDialog::accepted, [&] { ++accepted; });
  dialog.show();
  dialog.activateWindow();
  dialog.cardText().setFocus();
  if (dialog.focusWidget() != &dialog.cardText()) GTEST_SKIP() << "no focus offscreen";
  press(&dialog.cardText(), Qt::Key_Return);
  EXPECT_EQ(accepted, 0);
  dialog.okButton().click();
  EXPECT_EQ(accepted, 1);
}

// From the menu: Scheda Mezzo and Scheda Storica open their dialog over the
// current database, modally, and the command ends when it is closed.
class VehicleCardCommandTest : public AppTest {
 protected:
  void startOnImportedRegister() {
    const std::string path = dir.file("VELTRA.MDB");
    RecordingPrompter creation;
    ASSERT_TRUE(schema::BuildNewDatabase(creation, path, "creato").done());
    installKey(path);
    ASSERT_TRUE(start());
    dialogs.files = {QString::fromStdString(std::string(VELTRA_SOURCE_DIR) +
                                            "/examples/VariazioniBusQz_12_20240315.txt")};
    dialogs.answers = {QMessageBox::Ok};
    window().runCommand(app::CmdImportCommunication);
    // The user's next command comes after the window has been idle.
    window().idleStep();
    dialogs.boxes.clear();
  }

  // Runs the command; once its dialog waits for the user, look sees it and OK closes it.
  void runAndLook(int id, const std::function<void(VehicleConsultationDialog&)>& look) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<VehicleConsultationDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) {
        ADD_FAILURE() << "no modal card dialog";
        if (QWidget* other = QApplication::activeModalWidget()) other->close();
        return;
      }
      seen = true;
      look(*dialog);
      dialog->okButton().click();
    });
    window().runCommand(id);
    EXPECT_TRUE(seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
};

TEST_F(VehicleCardCommandTest, SchedaMezzoOpensTheVehicleCardOverTheCurrentDatabase) {
  startOnImportedRegister();
  runAndLook(app::CmdVehicleCard, [](VehicleConsultationDialog& dialog) {
    EXPECT_NE(qobject_cast<app::VehicleCardDialog*>(&dialog), nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Scheda Informativa Mezzo");
    EXPECT_EQ(dialog.selector().count(), 3);
    EXPECT_EQ(dialog.selector().selectedRow(), -1);
    chooseRow(dialog, 0);
    EXPECT_TRUE(dialog.cardText().toPlainText().startsWith("Azienda utilizzatrice: "));
  });
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(VehicleCardCommandTest, SchedaStoricaOpensTheHistoryCard) {
  startOnImportedRegister();
  runAndLook(app::CmdHistoryCard, [](VehicleConsultationDialog& dialog) {
    EXPECT_NE(qobject_cast<app::VehicleHistoryDialog*>(&dialog), nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Scheda Storica Mezzo");
    chooseRow(dialog, 0);
    EXPECT_NE(dialog.cardText().toPlainText().indexOf("\nData comunicazione15/03/2024\n"), -1)
        << dialog.cardText().toPlainText().toStdString();
  });
}

}  // namespace
}  // namespace veltra::testing
