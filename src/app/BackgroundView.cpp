#include "app/BackgroundView.h"

#include <QPainter>

#include "app/Pictures.h"

namespace veltra::app {

BackgroundView::BackgroundView(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted below, so Qt need not erase first; together with
  // the backing store, which composes the frame off-screen and shows it in
  // one copy, that keeps resizing free of flicker.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QPoint BackgroundView::pictureOrigin(const QSize& client) {
  const QSize picture = pictures::background().deviceIndependentSize().toSize();
  return {(client.width() - picture.width()) / 2, (client.height() - picture.height()) / 2};
}

void BackgroundView::paintEvent(QPaintEvent* /*event*/) {
  const QImage& picture = pictures::background();
  QPainter painter(this);
  painter.fillRect(rect(), picture.pixelColor(0, 0));
  painter.drawImage(pictureOrigin(size()), picture);
}

}  // namespace veltra::app
