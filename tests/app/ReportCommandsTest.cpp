// The printed reports from the desktop, offscreen: the selection dialog
// answered by script, the print view in the main window's place with its
// button bar and caption, the pages it previews, and how it goes again.

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "AppFixture.h"
#include "app/CommandIds.h"
#include "app/CommunicationsCheckDialog.h"
#include "app/FleetStatisticsDialog.h"
#include "app/PageView.h"
#include "app/StampaVista.h"
#include "app/VehicleListDialog.h"
#include "comms/ApplyCommunication.h"
#include "comms/DateInput.h"
#include "db/DatabaseConnection.h"
#include "reports/VehicleListReport.h"
#include "schema/DatabaseCreation.h"
#include "support/PdfText.h"
#include "support/RecordingPrompter.h"
#include "synthetic/SyntheticCommunication.h"

// Qt's own way into its shortcuts, as its test library presses keys.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k,
                                               Qt::KeyboardModifiers mods,
                                               const QString& text = QString(),
                                               bool autorep = false, ushort count = 1);

namespace veltra::testing {
namespace {

// Acts on the modal dialog of the given kind as soon as it is up.
template <class Dialog>
void whenShown(std::function<void(Dialog&)> act) {
  QTimer::singleShot(0, [act] {
    if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget()))
      act(*dialog);
    else
      whenShown<Dialog>(act);
  });
}

QPushButton* button(const app::StampaVista& view, const QString& text) {
  for (QPushButton* found : view.findChildren<QPushButton*>())
    if (found->text() == text) return found;
  return nullptr;
}

// What the page view shows besides the paper, its background and shadows: the report's ink.
int inkPixels(const app::PageView& view) {
  const QImage shown = view.viewport()->grab().toImage();
  const QRgb plain[] = {QColor(Qt::white).rgb(), view.palette().color(QPalette::Dark).rgb(),
                        view.palette().color(QPalette::Shadow).rgb()};
  int ink = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      ink += std::find(std::begin(plain), std::end(plain), shown.pixel(x, y)) == std::end(plain);
  return ink;
}

// "Annulla" in the printing progress once that many pages are out, whether
// the box has shown yet or not: its steps let events through.
void cancelAfterPages(QWidget& owner, int pages,
                      QDeadlineTimer giveUp = QDeadlineTimer(std::chrono::seconds(60))) {
  // Bounded by time, not by turns of the event loop: on a quick machine the
  // dialogs before the printing take many turns.
  QTimer::singleShot(0, [owner = QPointer<QWidget>(&owner), pages, giveUp] {
    auto* box = owner ? owner->findChild<QProgressDialog*>() : nullptr;
    if (box != nullptr && box->value() >= pages)
      box->cancel();
    else if (owner && !giveUp.hasExpired())
      cancelAfterPages(*owner, pages, giveUp);
  });
}

class ReportCommandsTest : public AppTest {
 protected:
  // Started on a register with that many vehicles of company 12.
  void startOnRegister(std::size_t vehicles) {
    const std::string path = dir.file("VELTRA.MDB");
    RecordingPrompter quiet;
    ASSERT_EQ(schema::BuildNewDatabase(quiet, path, "").outcome, ui::Outcome::Done);
    if (vehicles > 0) {
      db::DatabaseConnection connection(quiet, path);
      ASSERT_TRUE(
          comms::ApplyCommunication(connection, SyntheticCommunication(12, "15/01/2024", vehicles))
              .done());
    }
    installKey(path);
    ASSERT_TRUE(start());
  }

  // The list by company, with the selection dialog left as it opens but for the print type.
  app::StampaVista* runListByCompany(bool preview = true) {
    whenShown<app::VehicleListDialog>([preview](app::VehicleListDialog& dialog) {
      if (!preview) dialog.print().click();
      dialog.accept();
    });
    window().runCommand(app::CmdListByCompany);
    return qobject_cast<app::StampaVista*>(window().reportWindow());
  }

  QString caption() { return window().windowTitle(); }
  // A key pressed in the main window, as the user does while the view shows.
  void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QApplication::setActiveWindow(&window());
    qt_sendShortcutOverrideEvent(&window(), 0, key, modifiers);
  }
  const QString ProgramTitle = QString::fromUtf8(app::MainWindow::ProgramTitle);
};

TEST_F(ReportCommandsTest, PreviewTakesTheWindowsPlaceUntilClosed) {
  startOnRegister(300);
  app::StampaVista* view = runListByCompany();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(caption(), "Rubrica Mezzi x Azienda");
  EXPECT_EQ(window().centralWidget()->findChild<app::StampaVista*>(), view);
  EXPECT_TRUE(view->isVisible());

  QStringList texts;
  for (const QPushButton* found : view->findChildren<QPushButton*>()) texts.append(found->text());
  EXPECT_EQ(texts, (QStringList{"Stam&pa...", "S&alva PDF...", "Pag. &succes.", "Pag. p&reced.",
                                "&Una pagina", "Ingrand&isci", "Ri&duci", "&Chiudi"}));

  // Two pages side by side, 1-2 first, as a print preview pairs them.
  app::PageView* preview = view->pageView();
  ASSERT_NE(preview, nullptr);
  EXPECT_TRUE(preview->twoPages());
  EXPECT_EQ(preview->pageCount(), 11) << "one page per ambit";
  EXPECT_EQ(view->statusText(), "Pagine 1-2");
  EXPECT_FALSE(button(*view, "Pag. p&reced.")->isEnabled());
  button(*view, "Pag. &succes.")->click();
  EXPECT_EQ(view->statusText(), "Pagine 3-4");
  button(*view, "Pag. &succes.")->click();
  EXPECT_EQ(view->statusText(), "Pagine 5-6");
  button(*view, "Pag. p&reced.")->click();
  EXPECT_EQ(view->statusText(), "Pagine 3-4");
  press(Qt::Key_End);
  EXPECT_EQ(view->statusText(), "Pagina 11") << "the last page alone on the left";
  EXPECT_FALSE(button(*view, "Pag. &succes.")->isEnabled());
  press(Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(view->statusText(), "Pagine 1-2");
  press(Qt::Key_End, Qt::ControlModifier);
  press(Qt::Key_Home);
  EXPECT_EQ(view->statusText(), "Pagine 1-2");
  button(*view, "Pag. &succes.")->click();
  button(*view, "&Una pagina")->click();
  EXPECT_FALSE(preview->twoPages());
  EXPECT_NE(button(*view, "Due pa&gine"), nullptr);
  EXPECT_EQ(view->statusText(), "Pagina 3");
  const qreal fitted = preview->zoomFactor();
  button(*view, "Ingrand&isci")->click();
  EXPECT_GT(preview->zoomFactor(), fitted);
  button(*view, "Ri&duci")->click();
  EXPECT_NEAR(preview->zoomFactor(), fitted, 1e-9);

  press(Qt::Key_Escape);
  EXPECT_TRUE(view->isFinished()) << "Escape closes the view as Chiudi does";
  EXPECT_EQ(caption(), "Rubrica Mezzi x Azienda") << "until the next idle moment";
  window().idleStep();
  EXPECT_EQ(window().reportWindow(), nullptr);
  EXPECT_EQ(caption(), ProgramTitle);
}

// A long report opens on its first pages at once: only what comes into sight is drawn.
TEST_F(ReportCommandsTest, PreviewDrawsOnlyThePagesInSight) {
  startOnRegister(1500);
  app::StampaVista* view = runListByCompany();
  ASSERT_NE(view, nullptr);
  app::PageView& pages = *view->pageView();
  ASSERT_GT(pages.pageCount(), 30);
  EXPECT_GT(inkPixels(pages), 1000) << "the first page shows its text, band and rules";
  EXPECT_GE(pages.pagesDrawn(), 1);
  EXPECT_LE(pages.pagesDrawn(), 7) << "page 1 and the few pairs under it in the window";
  for (int i = 0; i < 10; ++i) button(*view, "Pag. &succes.")->click();
  EXPECT_EQ(view->statusText(), "Pagine 21-22");
  EXPECT_GT(inkPixels(pages), 1000);
  EXPECT_LE(pages.pagesDrawn(), 14) << "and then the few in sight at pages 20-21";
}

// However the pages move, the label and the buttons name the pair at the top.
TEST_F(ReportCommandsTest, PageKeysAndTheScrollBarMoveTheLabelAndTheButtons) {
  startOnRegister(1500);
  app::StampaVista* view = runListByCompany();
  ASSERT_NE(view, nullptr);
  QScrollBar& scroll = *view->pageView()->verticalScrollBar();
  for (int i = 0; i < 4; ++i) press(Qt::Key_PageDown);
  EXPECT_EQ(view->statusText(), "Pagine 9-10");
  EXPECT_TRUE(button(*view, "Pag. p&reced.")->isEnabled());
  press(Qt::Key_PageUp);
  EXPECT_EQ(view->statusText(), "Pagine 7-8");
  const int row = scroll.value() / 3;  // pages 7-8 are the fourth row
  ASSERT_GT(row, 0);

  scroll.setValue(10 * row);
  EXPECT_EQ(view->statusText(), "Pagine 21-22");
  button(*view, "Pag. &succes.")->click();
  EXPECT_EQ(view->statusText(), "Pagine 23-24");
  EXPECT_NEAR(scroll.value(), 11 * row, 11) << "the row after the one scrolled to";
  scroll.setValue(0);
  EXPECT_EQ(view->statusText(), "Pagine 1-2");
  EXPECT_FALSE(button(*view, "Pag. p&reced.")->isEnabled());
}

TEST_F(ReportCommandsTest, SavePdfWritesTheWholeReportAndKeepsThePreview) {
  startOnRegister(60);
  app::StampaVista* view = runListByCompany();
  ASSERT_NE(view, nullptr);
  const std::string pdf = dir.file("rubrica.pdf");
  dialogs.files = {QString::fromStdString(pdf)};
  button(*view, "S&alva PDF...")->click();
  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs[0].title, "Salva PDF");
  EXPECT_EQ(dialogs.fileDialogs[0].nameFilters, QStringList{"File PDF (*.pdf)"});
  EXPECT_TRUE(dialogs.fileDialogs[0].proposedName.endsWith("Rubrica Mezzi x Azienda.pdf"));
  EXPECT_TRUE(dialogs.fileDialogs[0].confirmOverwrite);
  const auto info = pdfInfo(pdf);
  ASSERT_EQ(info.exitStatus, 0) << info.err;
  EXPECT_NE(info.out.find("842 x 595 pts (A4)"), std::string::npos) << info.out;
  EXPECT_GT(view->pageView()->pageCount(), 1);
  EXPECT_FALSE(view->isFinished());

  // The next one proposes the folder of the last, which exists.
  dialogs.files = {std::nullopt};
  button(*view, "S&alva PDF...")->click();
  ASSERT_EQ(dialogs.fileDialogs.size(), 2u);
  EXPECT_EQ(dialogs.fileDialogs[1].proposedName, "Rubrica Mezzi x Azienda.pdf");
  EXPECT_TRUE(dialogs.boxes.empty());
}

// The times the indicator showed, each later than the one before.
void expectCounting(const std::vector<QString>& shown, const char* work) {
  ASSERT_GE(shown.size(), 3u) << "the indicator was not painted during the " << work;
  for (std::size_t i = 1; i < shown.size(); ++i) EXPECT_GT(shown[i], shown[i - 1]) << work;
}

TEST_F(ReportCommandsTest, TheIndicatorCountsWhileALongListIsPaginatedAndSaved) {
  startOnRegister(3000);
  auto report = std::make_unique<reports::VehicleListReport>(reports::VehicleListOrder::ByCompany,
                                                             reports::VehicleListChoice{});
  ASSERT_TRUE(report->load(*window().connection(), window().prompter()));
  auto* view = new app::StampaVista(QStringLiteral("Rubrica"), window().prompter());
  window().showReportWindow(view);
  ASSERT_TRUE(view->attach(std::move(report)));
  window().idleStep();
  // A clock that moves a second each time it is read, ticks every few milliseconds.
  auto now = std::chrono::system_clock::time_point{} + std::chrono::hours(1000);
  window().busyIndicator().setTiming([&now] { return now += std::chrono::seconds(1); },
                                     std::chrono::milliseconds(2));
  PaintWatcher watcher(window().busyIndicator());
  view->startPreview();
  expectCounting(watcher.shown, "pagination");

  window().idleStep();
  watcher.shown.clear();
  const std::string pdf = dir.file("rubrica.pdf");
  dialogs.files = {QString::fromStdString(pdf)};
  button(*view, "S&alva PDF...")->click();
  expectCounting(watcher.shown, "saving");
  EXPECT_TRUE(std::filesystem::exists(pdf));
}

// "Annulla" in the progress of "Salva PDF...": the file already there stays as it was.
TEST_F(ReportCommandsTest, ACancelledSaveLeavesThePreviousFile) {
  startOnRegister(3000);
  app::StampaVista* view = runListByCompany();
  ASSERT_NE(view, nullptr);
  const std::string pdf = dir.file("rubrica.pdf");
  std::ofstream(pdf) << "previous";
  QString progressTitle;
  whenShown<QProgressDialog>([&progressTitle](QProgressDialog& box) {
    progressTitle = box.windowTitle();
    box.cancel();
  });
  dialogs.files = {QString::fromStdString(pdf)};
  button(*view, "S&alva PDF...")->click();
  EXPECT_EQ(progressTitle, "Salva PDF");
  EXPECT_EQ(fileBytes(pdf), "previous");
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_FALSE(view->isFinished()) << "the preview goes on";
}

// Printing to a file: the file is put in place whole, and a print stopped
// with "Annulla" leaves the file that was there.
TEST_F(ReportCommandsTest, PrintingToAFileLeavesTheWholeDocumentOrNothing) {
  startOnRegister(30000);  // long enough for the progress box to show before the end
  const std::string pdf = dir.file("stampa.pdf");
  std::ofstream(pdf) << "previous";
  const auto printTo = [this, &pdf](bool cancel) {
    whenShown<QPrintDialog>([&pdf](QPrintDialog& dialog) {
      dialog.findChild<QLineEdit*>(QStringLiteral("filename"))
          ->setText(QString::fromStdString(pdf));
      dialog.printer()->setOutputFileName(QString::fromStdString(pdf));
      dialog.accept();
    });
    if (cancel) cancelAfterPages(window(), 5);
  };
  printTo(true);
  app::StampaVista* view = runListByCompany(false);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(fileBytes(pdf), "previous");
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();

  printTo(false);
  view = runListByCompany(false);
  const auto info = pdfInfo(pdf);
  ASSERT_EQ(info.exitStatus, 0) << info.err;
  const auto pages = info.out.find("Pages:");
  ASSERT_NE(pages, std::string::npos) << info.out;
  EXPECT_GT(std::stoi(info.out.substr(pages + 6)), 120) << "every page of the list";
  EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(ReportCommandsTest, NextReportReplacesTheViewAndCancelledPrintingEndsIt) {
  startOnRegister(10);
  QPointer<app::StampaVista> first = runListByCompany();
  ASSERT_FALSE(first.isNull());

  bool askedForPrinter = false;
  whenShown<QPrintDialog>([&askedForPrinter](QPrintDialog& dialog) {
    askedForPrinter = true;
    EXPECT_EQ(dialog.printer()->copyCount(), 1);
    EXPECT_EQ(dialog.minPage(), 1);
    EXPECT_EQ(dialog.maxPage(), 10) << "one page per ambit";
    dialog.reject();
  });
  app::StampaVista* second = runListByCompany(false);
  EXPECT_TRUE(askedForPrinter);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(window().reportWindow(), first.data());
  EXPECT_TRUE(second->isFinished());
  window().idleStep();
  EXPECT_EQ(window().reportWindow(), nullptr);
  EXPECT_EQ(caption(), ProgramTitle);
}

TEST_F(ReportCommandsTest, EmptyReportSaysSoAndGivesTheWindowBack) {
  startOnRegister(0);
  runListByCompany();
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Non ci sono dati da stampare !!!"});
  EXPECT_EQ(dialogs.boxes[0].icon, QMessageBox::Information);
  EXPECT_EQ(window().reportWindow(), nullptr);
  EXPECT_EQ(caption(), ProgramTitle);
}

TEST_F(ReportCommandsTest, FinancingListGivesEachActItsPages) {
  startOnRegister(10);
  QString dialogTitle;
  whenShown<app::VehicleListDialog>([&dialogTitle](app::VehicleListDialog& dialog) {
    dialogTitle = dialog.windowTitle();
    dialog.accept();
  });
  window().runCommand(app::CmdFinancingList);
  EXPECT_EQ(dialogTitle, "Rubrica Mezzi x Finanziamento");
  auto* view = qobject_cast<app::StampaVista*>(window().reportWindow());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(caption(), "Rubrica Mezzi (Finanziamento)");
  EXPECT_EQ(view->pageView()->pageCount(), 8) << "seven acts and the vehicles without one";
}

TEST_F(ReportCommandsTest, VerificationPrintsTheCompaniesMarkedInItsDialog) {
  startOnRegister(10);
  // A new register watches no company: nothing to print.
  whenShown<app::CommunicationsCheckDialog>(
      [](app::CommunicationsCheckDialog& dialog) { dialog.accept(); });
  window().runCommand(app::CmdVerification);
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{"Non ci sono dati da stampare !!!"});
  EXPECT_EQ(dialogs.boxes[0].ownerTitle, ProgramTitle) << "no report's title over nothing";
  EXPECT_EQ(window().reportWindow(), nullptr);

  whenShown<app::CommunicationsCheckDialog>([](app::CommunicationsCheckDialog& dialog) {
    dialog.companies().findItems("0012 - ", Qt::MatchStartsWith).front()->setSelected(true);
    dialog.start().setText("01/01/2024");
    dialog.end().setText("31/01/2024");
    dialog.accept();
  });
  window().runCommand(app::CmdVerification);
  auto* view = qobject_cast<app::StampaVista*>(window().reportWindow());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(caption(), "Verifica Comunicazioni Aziendali");
  EXPECT_EQ(view->pageView()->pageCount(), 1);
  EXPECT_EQ(dialogs.boxes.size(), 1u);
}

// A date the calendar does not have keeps the dialog open with the date
// message; then the figures beside those of an earlier day.
TEST_F(ReportCommandsTest, FleetStatisticsChecksItsDatesThenShowsTheFigures) {
  startOnRegister(10);
  int shown = 0;
  whenShown<app::FleetStatisticsDialog>([&shown](app::FleetStatisticsDialog& dialog) {
    ++shown;
    auto* date = dialog.findChild<QLineEdit*>(app::FleetStatisticsDialog::DateEditName);
    date->setText("31/02/2024");
    auto* ok = dialog.findChild<QPushButton*>("IDOK");
    ok->click();
    EXPECT_TRUE(dialog.isVisible());
    date->setText("31/12/24");
    dialog.findChild<QCheckBox*>(app::FleetStatisticsDialog::CompareBoxName)->click();
    dialog.findChild<QLineEdit*>(app::FleetStatisticsDialog::CompareEditName)
        ->setText("01/01/2024");
    ok->click();
  });
  window().runCommand(app::CmdFleetStatistics);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(dialogs.texts(), std::vector<std::string>{std::string(comms::InvalidDateMessage)});
  auto* view = qobject_cast<app::StampaVista*>(window().reportWindow());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(caption(), "Statistiche Parco");
  EXPECT_GE(view->pageView()->pageCount(), 1);
}

}  // namespace
}  // namespace veltra::testing
