#pragma once
// The elapsed-time display shown while a long operation holds the interface
// thread: MM:SS in digit pictures with a blinking separator. A worker thread
// at the lowest priority times the ticks, once a second; Qt paints only on
// the interface thread, so each tick is painted there, either when events
// are processed or when the long operation calls keepResponsive between rows.
// The application's idle step ends it, and the worker then hides it.

#include <QFrame>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

class QThread;

namespace veltra::app {

class BusyIndicator : public QFrame {
  Q_OBJECT
 public:
  using Clock = std::function<std::chrono::system_clock::time_point()>;

  explicit BusyIndicator(QWidget* mainWindow, Clock clock = std::chrono::system_clock::now);

  // Another clock, and how often the display changes (a second, as the
  // seconds it counts): tests watch a whole window's operation with them.
  void setTiming(Clock clock, std::chrono::milliseconds tick);
  ~BusyIndicator() override;

  // BeginBusy: the wait cursor; with withIndicator, also the display, unless
  // it already runs.
  void begin(bool withIndicator);
  // The idle step: the wait cursor goes, and a running display stops; the
  // worker hides it at once and ends.
  void stopAtIdle();
  // Between rows of a long operation: paints the tick the worker has timed.
  void keepResponsive();

  bool isRunning() const { return running_.load() != 0; }
  int workerStarts() const { return workerStarts_; }
  bool separatorShown() const { return separatorShown_; }
  // What the display shows now, "MM:SS".
  QString elapsedText() const;

  // Minutes and seconds of an elapsed time, rounded to the nearest second;
  // the minutes start again from 00 after 59.
  static QString formatElapsed(std::chrono::duration<double> elapsed);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void showTick();
  void finishDisplay();
  void workerLoop();
  void joinWorker();
  void centreOverParent();

  Clock clock_;
  std::chrono::milliseconds tick_ = std::chrono::seconds(1);
  std::chrono::system_clock::time_point start_;
  bool blink_ = true;  // the separator shows on this tick
  bool separatorShown_ = true;
  bool cursorSet_ = false;
  int workerStarts_ = 0;
  int digitWidth_ = 0;
  int separatorWidth_ = 0;

  // Shared with the worker thread.
  std::atomic<std::int32_t> running_{0};
  std::atomic<bool> tickDue_{false};
  std::mutex mutex_;
  std::condition_variable wake_;
  std::unique_ptr<QThread> worker_;
};

}  // namespace veltra::app
