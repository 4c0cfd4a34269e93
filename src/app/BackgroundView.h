#pragma once
// What the main window shows between commands: its picture, centred on a
// field of the picture's own top-left colour.

#include <QPoint>
#include <QSize>
#include <QWidget>

namespace veltra::app {

class BackgroundView : public QWidget {
  Q_OBJECT
 public:
  explicit BackgroundView(QWidget* parent = nullptr);

  // Where the picture's top-left corner goes in a client area of that size.
  static QPoint pictureOrigin(const QSize& client);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace veltra::app
