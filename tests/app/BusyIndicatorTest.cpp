// The elapsed-time display: its text, its single worker thread, its cursor,
// its blinking and its disappearance at the idle step.

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <chrono>

#include "app/BusyIndicator.h"
#include "app/Pictures.h"
#include "gtest/gtest.h"

namespace veltra::testing {
namespace {

using app::BusyIndicator;
using namespace std::chrono_literals;

// Lets events through until the condition holds or the time runs out.
template <typename Condition>
bool processEventsUntil(Condition condition, std::chrono::milliseconds limit) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > limit.count()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

class BusyIndicatorTest : public ::testing::Test {
 protected:
  BusyIndicatorTest() {
    window.resize(800, 600);
    window.show();
  }

  std::chrono::system_clock::time_point now = std::chrono::system_clock::time_point{} + 1000h;
  QMainWindow window;
  BusyIndicator indicator{&window, [this] { return now; }};
};

TEST(ElapsedTextTest, ShowsMinutesAndSecondsRoundedToTheSecond) {
  EXPECT_EQ(BusyIndicator::formatElapsed(0s), "00:00");
  EXPECT_EQ(BusyIndicator::formatElapsed(75s), "01:15");
  EXPECT_EQ(BusyIndicator::formatElapsed(74.5s), "01:15");
  EXPECT_EQ(BusyIndicator::formatElapsed(74.49s), "01:14");
  EXPECT_EQ(BusyIndicator::formatElapsed(59min + 59s), "59:59");
}

TEST(ElapsedTextTest, MinutesStartAgainAfterAnHour) {
  EXPECT_EQ(BusyIndicator::formatElapsed(61min), "01:00");
  EXPECT_EQ(BusyIndicator::formatElapsed(59min + 59.6s), "00:00");
}

TEST(ElapsedTextTest, AClockSetBackShowsNoTime) {
  EXPECT_EQ(BusyIndicator::formatElapsed(-3s), "00:00");
}

TEST_F(BusyIndicatorTest, CountsFromTheMomentItStarted) {
  indicator.begin(true);
  EXPECT_EQ(indicator.elapsedText(), "00:00");
  now += 75s;
  EXPECT_EQ(indicator.elapsedText(), "01:15");
  now += 60min - 15s;
  EXPECT_EQ(indicator.elapsedText(), "01:00");
  indicator.stopAtIdle();
}

TEST_F(BusyIndicatorTest, ShowsCentredOverTheMainWindowWithTheCursorWaiting) {
  indicator.begin(true);
  EXPECT_TRUE(indicator.isVisible());
  EXPECT_TRUE(indicator.isRunning());
  EXPECT_EQ(indicator.geometry().center(), window.rect().center());
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  indicator.stopAtIdle();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BusyIndicatorTest, TwoBeginsStartOneWorkerThread) {
  indicator.begin(true);
  indicator.begin(true);
  EXPECT_EQ(indicator.workerStarts(), 1);
  indicator.stopAtIdle();
  // One cursor was set, so one idle step restores it.
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BusyIndicatorTest, BeginWithoutTheIndicatorOnlySetsTheCursor) {
  indicator.begin(false);
  EXPECT_FALSE(indicator.isRunning());
  EXPECT_FALSE(indicator.isVisible());
  EXPECT_EQ(indicator.workerStarts(), 0);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  indicator.stopAtIdle();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BusyIndicatorTest, DisappearsSoonAfterTheIdleStep) {
  indicator.begin(true);
  indicator.stopAtIdle();
  EXPECT_FALSE(indicator.isRunning());
  EXPECT_TRUE(processEventsUntil([&] { return !indicator.isVisible(); }, 1500ms));
}

TEST_F(BusyIndicatorTest, TheEventLoopsIdleMomentIsNotMissed) {
  indicator.begin(true);
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                   &indicator, &BusyIndicator::stopAtIdle);
  QEventLoop loop;
  QTimer::singleShot(300ms, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_FALSE(indicator.isRunning());
}

TEST_F(BusyIndicatorTest, ARestartAfterAStopRunsANewWorker) {
  indicator.begin(true);
  indicator.stopAtIdle();
  indicator.begin(true);
  EXPECT_EQ(indicator.workerStarts(), 2);
  EXPECT_TRUE(indicator.isRunning());
  // The old worker's late farewell must not hide the new display.
  processEventsUntil([] { return false; }, 300ms);
  EXPECT_TRUE(indicator.isVisible());
  indicator.stopAtIdle();
}

TEST_F(BusyIndicatorTest, TheSeparatorBlinksFromTickToTick) {
  indicator.begin(true);
  EXPECT_TRUE(indicator.separatorShown());
  // The worker's first tick shows the separator, the next one hides it.
  EXPECT_TRUE(processEventsUntil([&] { return !indicator.separatorShown(); }, 2500ms));
  EXPECT_TRUE(processEventsUntil([&] { return indicator.separatorShown(); }, 2500ms));
  indicator.stopAtIdle();
}

TEST_F(BusyIndicatorTest, ALongOperationPaintsTicksBetweenRows) {
  indicator.begin(true);
  // Holding the thread, as a long operation does, and calling back between rows.
  QElapsedTimer timer;
  timer.start();
  bool sawHidden = false;
  while (timer.elapsed() < 2500 && !sawHidden) {
    indicator.keepResponsive();
    sawHidden = !indicator.separatorShown();
  }
  EXPECT_TRUE(sawHidden);
  indicator.stopAtIdle();
}

TEST_F(BusyIndicatorTest, DrawsTheElapsedTimeInDigitPictures) {
  indicator.begin(true);
  now += 75s;
  const QImage shot = indicator.grab().toImage().convertToFormat(QImage::Format_RGB32);
  indicator.stopAtIdle();
  const QPoint origin = indicator.contentsRect().topLeft() + QPoint(10, 10);
  const int w = app::pictures::digit(0).width();
  const int s = app::pictures::separator().width();
  const auto drawnAt = [&](int left, const QImage& picture) {
    return shot.copy(QRect(origin + QPoint(left, 0), picture.size())) ==
           picture.convertToFormat(QImage::Format_RGB32);
  };
  EXPECT_TRUE(drawnAt(0, app::pictures::digit(0)));
  EXPECT_TRUE(drawnAt(w, app::pictures::digit(1)));
  EXPECT_TRUE(drawnAt(2 * w, app::pictures::separator()));
  EXPECT_TRUE(drawnAt(2 * w + s, app::pictures::digit(1)));
  EXPECT_TRUE(drawnAt(3 * w + s, app::pictures::digit(5)));
  EXPECT_FALSE(drawnAt(3 * w + s, app::pictures::digit(6)));
}

}  // namespace
}  // namespace veltra::testing
