// The Qt Prompter: message boxes with the right icon, buttons and caption,
// file dialogs with the filters, default extension and name they were given.

#include <QFileDialog>
#include <QMainWindow>

#include "ScriptedDialogs.h"
#include "app/BusyIndicator.h"
#include "app/FileFilters.h"
#include "app/QtPrompter.h"
#include "gtest/gtest.h"

namespace veltra::testing {
namespace {

using app::qtNameFilters;

TEST(FileFiltersTest, EachLabelKeepsItsPatternsAndStarDotStarMeansEveryFile) {
  EXPECT_EQ(
      qtNameFilters("Database JET (*.mdb)|*.mdb|Tutti i files (*.*)|*.*||"),
      (QStringList{QStringLiteral("Database JET (*.mdb)"), QStringLiteral("Tutti i files (*)")}));
}

TEST(FileFiltersTest, SeveralPatternsAndLabelsWithoutBrackets) {
  EXPECT_EQ(qtNameFilters("Testo|*.txt;*.csv|File della stampante (*.prn)|*.prn||"),
            (QStringList{QStringLiteral("Testo (*.txt *.csv)"),
                         QStringLiteral("File della stampante (*.prn)")}));
}

TEST(FileFiltersTest, AnEmptyOrUnfinishedListGivesWhatIsComplete) {
  EXPECT_TRUE(qtNameFilters("").isEmpty());
  EXPECT_EQ(qtNameFilters("Tutto|*.*|Mezzo"), QStringList{QStringLiteral("Tutto (*)")});
}

TEST(FileFiltersTest, APatternIsNoProposedName) {
  EXPECT_TRUE(app::isNamePattern("*.MDB"));
  EXPECT_TRUE(app::isNamePattern("dati?.txt"));
  EXPECT_FALSE(app::isNamePattern("SituazioneMezzi"));
}

class QtPrompterTest : public ::testing::Test {
 protected:
  QMainWindow window;
  app::BusyIndicator indicator{&window};
  ScriptedDialogs dialogs;
  app::QtPrompter prompter{window, indicator, &dialogs};
};

TEST_F(QtPrompterTest, EachIconHasItsBoxIcon) {
  prompter.message("a", ui::Icon::Stop);
  prompter.message("b", ui::Icon::Exclamation);
  prompter.message("c", ui::Icon::Information);
  prompter.message("d", ui::Icon::None);
  ASSERT_EQ(dialogs.boxes.size(), 4u);
  EXPECT_EQ(dialogs.boxes[0].icon, QMessageBox::Critical);
  EXPECT_EQ(dialogs.boxes[1].icon, QMessageBox::Warning);
  EXPECT_EQ(dialogs.boxes[2].icon, QMessageBox::Information);
  EXPECT_EQ(dialogs.boxes[3].icon, QMessageBox::NoIcon);
}

TEST_F(QtPrompterTest, TextAndCaptionAreShownAsGivenOrTheProgramsName) {
  prompter.message("Riga 1\n\n   <b>Riga 2</b>", ui::Icon::Exclamation, ui::Buttons::Ok,
                   "Creazione database");
  prompter.message("x", ui::Icon::Stop);
  EXPECT_EQ(dialogs.boxes[0].text, "Riga 1\n\n   <b>Riga 2</b>");
  EXPECT_EQ(dialogs.boxes[0].caption, "Creazione database");
  EXPECT_EQ(dialogs.boxes[1].caption, "Veltra");
}

TEST_F(QtPrompterTest, AQuestionOffersOkAndAnnullaAndReturnsTheChoice) {
  dialogs.answers = {QMessageBox::Ok, QMessageBox::Cancel};
  EXPECT_EQ(prompter.message("?", ui::Icon::Question, ui::Buttons::OkCancel, {}), ui::Answer::Ok);
  EXPECT_EQ(prompter.message("?", ui::Icon::Question, ui::Buttons::OkCancel, {}),
            ui::Answer::Cancel);
  EXPECT_EQ(dialogs.boxes[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(dialogs.boxes[0].cancelText, QStringLiteral("Annulla"));
}

TEST_F(QtPrompterTest, ABoxWithOnlyOkAnswersOk) {
  EXPECT_EQ(prompter.message("!", ui::Icon::Information), ui::Answer::Ok);
  EXPECT_EQ(dialogs.boxes[0].buttons, QMessageBox::Ok);
}

const ui::FileChoice DatabaseChoice{
    .title = "Creazione Nuovo Database",
    .filter = "Database JET (*.mdb)|*.mdb|Tutti i files (*.*)|*.*||",
    .defaultExtension = "MDB",
    .proposedName = "*.MDB",
    .mustExist = false,
    .confirmOverwrite = true};

TEST_F(QtPrompterTest, ASaveDialogHasItsTitleFiltersExtensionAndOverwriteQuestion) {
  prompter.saveFile(DatabaseChoice);
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  const ShownFileDialog& shown = dialogs.fileDialogs[0];
  EXPECT_EQ(shown.title, "Creazione Nuovo Database");
  EXPECT_EQ(shown.nameFilters, (QStringList{QStringLiteral("Database JET (*.mdb)"),
                                            QStringLiteral("Tutti i files (*)")}));
  EXPECT_EQ(shown.defaultSuffix, QStringLiteral("MDB"));
  EXPECT_EQ(shown.acceptMode, QFileDialog::AcceptSave);
  EXPECT_EQ(shown.fileMode, QFileDialog::AnyFile);
  EXPECT_TRUE(shown.confirmOverwrite);
  // "*.MDB" only says which files to list; the name field stays empty.
  EXPECT_TRUE(shown.proposedName.isEmpty());
}

TEST_F(QtPrompterTest, AProposedNameIsOfferedInTheNameField) {
  ui::FileChoice choice = DatabaseChoice;
  choice.proposedName = "SituazioneMezzi";
  choice.confirmOverwrite = false;
  prompter.saveFile(choice);
  EXPECT_EQ(dialogs.fileDialogs[0].proposedName, QStringLiteral("SituazioneMezzi"));
  EXPECT_FALSE(dialogs.fileDialogs[0].confirmOverwrite);
}

TEST_F(QtPrompterTest, AnOpenDialogWantsAnExistingFileAndGivesItsFullPath) {
  ui::FileChoice choice = DatabaseChoice;
  choice.mustExist = true;
  dialogs.files = {QStringLiteral("relativo/dati.mdb")};
  const auto chosen = prompter.openFile(choice);
  EXPECT_EQ(dialogs.fileDialogs[0].acceptMode, QFileDialog::AcceptOpen);
  EXPECT_EQ(dialogs.fileDialogs[0].fileMode, QFileDialog::ExistingFile);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(*chosen,
            QDir::current().absoluteFilePath(QStringLiteral("relativo/dati.mdb")).toStdString());
}

TEST_F(QtPrompterTest, ACancelledDialogGivesNoFile) {
  dialogs.files = {std::nullopt};
  EXPECT_FALSE(prompter.openFile(DatabaseChoice));
  EXPECT_FALSE(prompter.saveFile(DatabaseChoice));
}

TEST_F(QtPrompterTest, BeginBusyDrivesTheIndicator) {
  prompter.beginBusy(false);
  EXPECT_FALSE(indicator.isRunning());
  prompter.beginBusy(true);
  EXPECT_TRUE(indicator.isRunning());
  indicator.stopAtIdle();
}

}  // namespace
}  // namespace veltra::testing
