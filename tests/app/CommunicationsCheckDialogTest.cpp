// The dialog of the communications verification, offscreen over a new
// register: the company list that mirrors the marks and writes each click at
// once, the period preset and checked on "OK", preview or printer.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "app/CommunicationsCheckDialog.h"
#include "comms/DateInput.h"
#include "db/DatabaseConnection.h"
#include "schema/DatabaseCreation.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"

namespace veltra::testing {
namespace {

using app::CommunicationsCheckDialog;

// A press and release of the left button in the middle of the item, as the user clicks it.
void click(QListWidget& list, int row) {
  const QPoint at = list.visualItemRect(list.item(row)).center();
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent event(type, at, list.viewport()->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(list.viewport(), &event);
  }
}

void press(QWidget& widget, int key, const QString& text = {}) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(&widget, &event);
}

class CommunicationsCheckDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(schema::BuildNewDatabase(quiet, path, "").outcome, ui::Outcome::Done);
    connection = std::make_unique<db::DatabaseConnection>(quiet, path);
  }

  // The list as the database would fill it, marks and all.
  std::vector<reports::CompanyMark> stored() { return reports::CompanyMarks(*connection); }

  std::vector<reports::CompanyMark> shown(const CommunicationsCheckDialog& dialog) {
    std::vector<reports::CompanyMark> marks;
    const QListWidget& list = dialog.companies();
    for (int row = 0; row < list.count(); ++row) {
      const std::string text = list.item(row)->text().toStdString();
      marks.push_back({{comms::ItemCode(text), text}, list.item(row)->isSelected()});
    }
    return marks;
  }

  TempDir dir;
  std::string path = dir.file("VELTRA.MDB");
  RecordingPrompter quiet;
  RecordingPrompter prompter;  // the dialog's
  std::unique_ptr<db::DatabaseConnection> connection;
};

TEST_F(CommunicationsCheckDialogTest, OpensOnTheStoredMarksThisMonthAndPreview) {
  const auto companies = stored();
  ASSERT_GT(companies.size(), 3u);
  ASSERT_TRUE(reports::SetCompanyMarks(*connection, {companies[1].item.code}, true).empty());
  CommunicationsCheckDialog dialog(*connection, prompter);
  EXPECT_EQ(dialog.windowTitle(), "Verifica Comunicazioni Aziendali");
  EXPECT_EQ(shown(dialog), stored());
  EXPECT_EQ(dialog.companies().selectedItems().size(), 1);
  EXPECT_EQ(dialog.companies().selectionMode(), QAbstractItemView::MultiSelection);

  QStringList labels;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) labels.append(label->text());
  EXPECT_EQ(labels, (QStringList{"Aziende", "Dal", "Al"}));
  QStringList groups;
  for (const QGroupBox* group : dialog.findChildren<QGroupBox*>()) groups.append(group->title());
  EXPECT_EQ(groups, (QStringList{"Tipo stampa", "Comunicazioni pervenute"}));

  const std::string today = comms::TodayDateText();
  EXPECT_EQ(dialog.start().text().toStdString(), "01/" + today.substr(3));
  EXPECT_EQ(dialog.end().text().toStdString(), today);
  EXPECT_EQ(dialog.start().maxLength(), 10);
  EXPECT_EQ(dialog.end().maxLength(), 10);
  EXPECT_EQ(dialog.preview().text(), "Anteprima di stampa");
  EXPECT_EQ(dialog.print().text(), "Stampa");
  EXPECT_TRUE(dialog.preview().isChecked());
  EXPECT_FALSE(dialog.print().isChecked());

  dialog.show();
  EXPECT_GE(dialog.width(), dialog.minimumSizeHint().width());
  EXPECT_GE(dialog.height(), dialog.minimumSizeHint().height());
}

TEST_F(CommunicationsCheckDialogTest, EachClickWritesTheMarkAndCancelKeepsIt) {
  auto dialog = std::make_unique<CommunicationsCheckDialog>(*connection, prompter);
  dialog->show();
  QListWidget& list = dialog->companies();
  click(list, 0);
  click(list, 2);
  auto marks = stored();
  EXPECT_TRUE(marks[0].marked);
  EXPECT_FALSE(marks[1].marked);
  EXPECT_TRUE(marks[2].marked);
  EXPECT_EQ(shown(*dialog), marks);

  // The second click on a company gives back the mark it had.
  click(list, 0);
  EXPECT_FALSE(stored()[0].marked);
  EXPECT_FALSE(list.item(0)->isSelected());

  // Marked behind the dialog's back: the click still flips what is stored.
  ASSERT_TRUE(reports::SetCompanyMarks(*connection, {marks[1].item.code}, true).empty());
  click(list, 1);
  EXPECT_FALSE(stored()[1].marked);
  EXPECT_FALSE(list.item(1)->isSelected());

  dialog->reject();
  dialog.reset();
  marks = stored();
  EXPECT_EQ(std::count_if(marks.begin(), marks.end(), [](const auto& m) { return m.marked; }), 1);
  EXPECT_TRUE(marks[2].marked);
  EXPECT_TRUE(prompter.messages.empty());
}

// SQLite's file change counter: one more for each write transaction.
std::uint32_t writesOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  file.seekg(24);
  unsigned char bytes[4] = {};
  file.read(reinterpret_cast<char*>(bytes), 4);
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | bytes[3];
}

// Ctrl+A marks every company in one write, under the busy indicator.
TEST_F(CommunicationsCheckDialogTest, SelectingThemAllMarksThemInOneWrite) {
  CommunicationsCheckDialog dialog(*connection, prompter);
  dialog.show();
  const std::uint32_t before = writesOf(path);
  QKeyEvent selectAll(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("a"));
  QCoreApplication::sendEvent(&dialog.companies(), &selectAll);
  const auto marks = stored();
  EXPECT_TRUE(std::all_of(marks.begin(), marks.end(), [](const auto& m) { return m.marked; }));
  EXPECT_EQ(shown(dialog), marks);
  EXPECT_EQ(writesOf(path), before + 1);
  EXPECT_EQ(prompter.busyCalls, std::vector<bool>{true});
  EXPECT_TRUE(prompter.messages.empty());
}

// The register deleted while the dialog is open: the box says so, and the mark stays.
TEST_F(CommunicationsCheckDialogTest, AClickOnADeletedRegisterSaysItWasDeleted) {
  CommunicationsCheckDialog dialog(*connection, prompter);
  dialog.show();
  quiet.messages.clear();
  ASSERT_TRUE(std::filesystem::remove(path));
  click(dialog.companies(), 0);
  ASSERT_EQ(quiet.messages.size(), 1u);
  EXPECT_NE(quiet.messages[0].text.find("\n\nIl file del database è stato cancellato o spostato "
                                        "mentre era in uso: la modifica non è stata salvata."),
            std::string::npos)
      << quiet.messages[0].text;
  EXPECT_FALSE(dialog.companies().item(0)->isSelected());
}

// Typing a code moves to the company; only Space flips the mark there.
TEST_F(CommunicationsCheckDialogTest, TypingMovesThroughTheListAndOnlySpaceMarks) {
  CommunicationsCheckDialog dialog(*connection, prompter);
  dialog.show();
  QListWidget& list = dialog.companies();
  list.setFocus();
  const auto before = stored();
  press(list, Qt::Key_Down);
  for (const char* digit : {"0", "0", "1", "2"}) press(list, Qt::Key_0, QString::fromLatin1(digit));
  EXPECT_EQ(stored(), before);
  EXPECT_EQ(shown(dialog), before);
  EXPECT_TRUE(list.currentItem()->text().startsWith("0012 - "))
      << list.currentItem()->text().toStdString();

  press(list, Qt::Key_Space, QStringLiteral(" "));
  const int row = list.currentRow();
  EXPECT_TRUE(stored()[static_cast<std::size_t>(row)].marked);
  EXPECT_EQ(shown(dialog), stored());
}

TEST_F(CommunicationsCheckDialogTest, OkChecksThePeriod) {
  CommunicationsCheckDialog dialog(*connection, prompter);
  const auto refused = [&](const char* start, const char* end) {
    prompter.clear();
    dialog.start().setText(QString::fromLatin1(start));
    dialog.end().setText(QString::fromLatin1(end));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(prompter.messages.size(), 1u);
    return prompter.messages.empty() ? std::string() : prompter.messages[0].text;
  };
  EXPECT_EQ(refused("1/2/2010", "01/03/2010"), reports::InvalidPeriodStartMessage);
  EXPECT_EQ(refused("01/02/2010", "31/02/2010"), reports::InvalidPeriodEndMessage);
  EXPECT_EQ(refused("02/02/2010", "01/02/2010"), reports::PeriodEndsBeforeStartMessage);
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Stop);

  prompter.clear();
  dialog.start().setText("01.02.10");
  dialog.end().setText("01-02-2010");
  dialog.print().click();
  dialog.accept();
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.period(), (reports::CheckPeriod{"01/02/2010", "01/02/2010"}));
  EXPECT_FALSE(dialog.previewChosen());
}

}  // namespace
}  // namespace veltra::testing
