// What the main window shows: its picture on its field, or the report view
// in its place, and the idle step that tidies up after long operations.

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "AppFixture.h"
#include "app/BackgroundView.h"
#include "app/BusyIndicator.h"
#include "app/CommandIds.h"
#include "app/Pictures.h"
#include "app/ReportWindow.h"

namespace veltra::testing {
namespace {

using namespace app;

TEST(BackgroundViewTest, ThePictureIsCentredWithIntegerHalves) {
  const QSize picture = pictures::background().size();
  EXPECT_EQ(BackgroundView::pictureOrigin(picture + QSize(101, 51)), QPoint(50, 25));
  EXPECT_EQ(BackgroundView::pictureOrigin(picture), QPoint(0, 0));
  // A client smaller than the picture shows its middle (halves round towards zero).
  EXPECT_EQ(BackgroundView::pictureOrigin(picture - QSize(11, 3)), QPoint(-5, -1));
}

TEST(BackgroundViewTest, PaintsThePictureOnAFieldOfItsTopLeftColour) {
  BackgroundView view;
  view.resize(1000, 700);
  const QImage shot = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage& picture = pictures::background();
  const QColor field = picture.pixelColor(0, 0);
  EXPECT_EQ(shot.pixelColor(0, 0), field);
  EXPECT_EQ(shot.pixelColor(999, 699), field);
  const QPoint origin = BackgroundView::pictureOrigin(view.size());
  EXPECT_EQ(shot.copy(QRect(origin, picture.size())),
            picture.convertToFormat(QImage::Format_RGB32));
}

// A stand-in for a report's print view, counting what reaches it.
class CountingReport : public ReportWindow {
 public:
  QString title() const override { return QStringLiteral("Rubrica Mezzi x Azienda"); }
  void print() override { ++prints; }
  bool isFinished() const override { return finished; }
  int prints = 0;
  bool finished = false;
};

class MainWindowViewTest : public AppTest {};

TEST_F(MainWindowViewTest, ThePrintCommandReachesTheReportShownAndOnlyIt) {
  startConnected();
  window().runCommand(CmdPrint);  // no report: ignored
  auto* report = new CountingReport;
  window().showReportWindow(report);
  window().runCommand(CmdPrint);
  EXPECT_EQ(report->prints, 1);
  EXPECT_TRUE(report->isVisible());
}

TEST_F(MainWindowViewTest, TheIdleStepDiscardsAFinishedReportAndRestoresTheTitle) {
  startConnected();
  auto* report = new CountingReport;
  QPointer<CountingReport> watch(report);
  window().showReportWindow(report);
  window().idleStep();
  EXPECT_EQ(window().reportWindow(), report);  // still printing
  report->finished = true;
  window().idleStep();
  EXPECT_EQ(window().reportWindow(), nullptr);
  EXPECT_EQ(window().windowTitle(), QString::fromUtf8(MainWindow::ProgramTitle));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(watch.isNull());
}

TEST_F(MainWindowViewTest, ANewReportReplacesTheOldOne) {
  startConnected();
  QPointer<CountingReport> first(new CountingReport);
  window().showReportWindow(first);
  auto* second = new CountingReport;
  window().showReportWindow(second);
  EXPECT_EQ(window().reportWindow(), second);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(first.isNull());
}

TEST_F(MainWindowViewTest, TheIndicatorStopsWhenTheEventLoopFallsIdle) {
  startConnected();
  window().prompter().beginBusy(true);
  EXPECT_TRUE(window().busyIndicator().isRunning());
  QEventLoop loop;
  QTimer::singleShot(200, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_FALSE(window().busyIndicator().isRunning());
}

TEST_F(MainWindowViewTest, TheWindowCannotBeClosedUnderARunningCommand) {
  startConnected();
  const MainWindow::Operation running(window());
  EXPECT_FALSE(window().close());
  EXPECT_TRUE(dialogs.boxes.empty());
  EXPECT_TRUE(window().hasOpenConnection());
}

}  // namespace
}  // namespace veltra::testing
