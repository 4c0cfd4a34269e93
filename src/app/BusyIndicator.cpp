#include "app/BusyIndicator.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QThread>
#include <algorithm>

#include "app/Pictures.h"

namespace veltra::app {

BusyIndicator::BusyIndicator(QWidget* mainWindow, Clock clock)
    : QFrame(mainWindow), clock_(std::move(clock)) {
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(2);
  setAttribute(Qt::WA_OpaquePaintEvent);
  const auto logical = [](const QImage& picture) {
    return picture.deviceIndependentSize().toSize();
  };
  int height = logical(pictures::separator()).height();
  for (int d = 0; d < 10; ++d) {
    digitWidth_ = std::max(digitWidth_, logical(pictures::digit(d)).width());
    height = std::max(height, logical(pictures::digit(d)).height());
  }
  separatorWidth_ = logical(pictures::separator()).width();
  const int frame = 2 * frameWidth();
  setFixedSize(separatorWidth_ + 4 * digitWidth_ + 30 + frame, height + 30 + frame);
  move(0, 0);
  hide();
}

BusyIndicator::~BusyIndicator() {
  running_.store(0);
  { std::lock_guard lock(mutex_); }
  wake_.notify_all();
  joinWorker();
  if (cursorSet_) QGuiApplication::restoreOverrideCursor();
}

void BusyIndicator::setTiming(Clock clock, std::chrono::milliseconds tick) {
  // The worker reads both: it must not be running.
  stopAtIdle();
  joinWorker();
  clock_ = std::move(clock);
  tick_ = tick;
}

void BusyIndicator::begin(bool withIndicator) {
  if (!cursorSet_) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    cursorSet_ = true;
  }
  if (!withIndicator || isRunning()) return;
  // A display stopped a moment ago may still be winding down: one worker at a time.
  joinWorker();
  start_ = clock_();
  blink_ = true;
  separatorShown_ = true;
  centreOverParent();
  show();
  raise();
  repaint();
  running_.store(1);
  worker_.reset(QThread::create([this] { workerLoop(); }));
  worker_->start(QThread::LowestPriority);
  ++workerStarts_;
  // The box or file dialog just closed must not stay painted over the work.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void BusyIndicator::stopAtIdle() {
  if (cursorSet_) {
    QGuiApplication::restoreOverrideCursor();
    cursorSet_ = false;
  }
  if (running_.exchange(0) == 0) return;
  {
    // Taken so the worker is either before its check or already waiting.
    std::lock_guard lock(mutex_);
  }
  wake_.notify_all();
}

void BusyIndicator::keepResponsive() {
  if (!tickDue_.exchange(false)) return;
  showTick();
  // Lets the rest of the window repaint too; the user's input waits for the
  // end of the operation, as it would on a busy window.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QString BusyIndicator::elapsedText() const {
  return formatElapsed(clock_() - start_);
}

QString BusyIndicator::formatElapsed(std::chrono::duration<double> elapsed) {
  // A clock set back while the display runs counts as no time at all.
  const double seconds = std::max(elapsed.count(), 0.0);
  const auto total = static_cast<long long>(seconds + 0.5);
  return QString::asprintf("%02lld:%02lld", (total / 60) % 60, total % 60);
}

void BusyIndicator::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect area = contentsRect();
  painter.fillRect(area, Qt::black);
  const QString text = elapsedText();
  const auto digitFor = [](QChar c) -> const QImage& {
    return pictures::digit(c.isDigit() ? c.digitValue() : 0);
  };
  const QPoint origin = area.topLeft() + QPoint(10, 10);
  const int w = digitWidth_;
  const int s = separatorWidth_;
  painter.drawImage(origin, digitFor(text[0]));
  painter.drawImage(origin + QPoint(w, 0), digitFor(text[1]));
  if (separatorShown_) painter.drawImage(origin + QPoint(2 * w, 0), pictures::separator());
  painter.drawImage(origin + QPoint(2 * w + s, 0), digitFor(text[3]));
  painter.drawImage(origin + QPoint(3 * w + s, 0), digitFor(text[4]));
  drawFrame(&painter);
}

void BusyIndicator::showTick() {
  separatorShown_ = blink_;
  blink_ = !blink_;
  repaint();
}

void BusyIndicator::finishDisplay() {
  // A new display may have started since the worker saw the stop.
  if (!isRunning()) hide();
}

void BusyIndicator::workerLoop() {
  for (;;) {
    if (running_.load() == 0) {
      QMetaObject::invokeMethod(
          this, [this] { finishDisplay(); }, Qt::QueuedConnection);
      return;
    }
    tickDue_.store(true);
    QMetaObject::invokeMethod(
        this,
        [this] {
          if (tickDue_.exchange(false)) showTick();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, tick_, [this] { return running_.load() == 0; });
  }
}

void BusyIndicator::joinWorker() {
  if (!worker_) return;
  worker_->wait();
  worker_.reset();
}

void BusyIndicator::centreOverParent() {
  const QWidget* parent = parentWidget();
  move((parent->width() - width()) / 2, (parent->height() - height()) / 2);
}

}  // namespace veltra::app
