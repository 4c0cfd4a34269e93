#include "app/PageView.h"

#include <QPainter>
#include <QPicture>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "qt/SheetPicture.h"

namespace veltra::app {

namespace {

constexpr int Gap = 12;  // screen pixels around and between the pages
constexpr int ShadowOffset = 3;
constexpr qreal ZoomStep = 1.25;
constexpr qreal SmallestZoom = 0.01;

}  // namespace

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  // Always there, so that fitting the pages does not make it come and go.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &PageView::reportPageInSight);
}

PageView::~PageView() = default;

void PageView::setPages(int count, const QPageLayout& paper, int resolution, PagePainter painter) {
  count_ = std::max(count, 0);
  sheet_ = paper.fullRectPixels(resolution);
  printable_ = paper.paintRectPixels(resolution);
  resolution_ = resolution;
  painter_ = std::move(painter);
  pictures_.clear();
  drawn_ = 0;
  layOut();
  viewport()->update();
}

int PageView::rows() const {
  return (count_ + columns() - 1) / columns();
}

int PageView::rowOf(int page) const {
  return (page - 1) / columns();
}

int PageView::pageAt(int row, int column) const {
  const int page = row * columns() + column + 1;
  return page >= 1 && page <= count_ ? page : 0;
}

QSizeF PageView::pageSize() const {
  return QSizeF(sheet_.size()) * zoom_;
}

qreal PageView::rowHeight() const {
  return pageSize().height() + Gap;
}

qreal PageView::fittingZoom() const {
  if (sheet_.isEmpty()) return zoom_;
  const qreal across =
      qreal(viewport()->width() - (columns() + 1) * Gap) / (columns() * qreal(sheet_.width()));
  const qreal down = qreal(viewport()->height() - 2 * Gap) / qreal(sheet_.height());
  return std::max(SmallestZoom, std::min(across, down));
}

void PageView::setTwoPages(bool two) {
  twoPages_ = two;
  layOut();
  viewport()->update();
}

void PageView::setDrawingPaused(bool paused) {
  paused_ = paused;
  if (!paused_) viewport()->update();
}

void PageView::fitInView() {
  fitted_ = true;
  layOut();
  viewport()->update();
}

void PageView::zoomIn() {
  setZoom(zoom_ * ZoomStep);
}

void PageView::zoomOut() {
  setZoom(zoom_ / ZoomStep);
}

void PageView::setZoom(qreal zoom) {
  // What is at the top-left of the window stays there: from a fitted view,
  // the first page's left edge and its header.
  const QPointF corner = cornerFraction();
  fitted_ = false;
  zoom_ = std::max(SmallestZoom, zoom);
  layOut();
  setCornerFraction(corner);
  viewport()->update();
}

QSizeF PageView::contentSize() const {
  const QSizeF page = pageSize();
  return QSizeF(columns() * page.width() + (columns() + 1) * Gap, rows() * rowHeight() + Gap);
}

QPointF PageView::cornerFraction() const {
  const QSizeF content = contentSize();
  if (content.isEmpty()) return QPointF(0, 0);
  return QPointF(horizontalScrollBar()->value() / content.width(),
                 verticalScrollBar()->value() / content.height());
}

void PageView::setCornerFraction(QPointF corner) {
  const QSizeF content = contentSize();
  horizontalScrollBar()->setValue(static_cast<int>(std::lround(corner.x() * content.width())));
  verticalScrollBar()->setValue(static_cast<int>(std::lround(corner.y() * content.height())));
}

void PageView::showPage(int page) {
  if (page < 1 || page > count_) return;
  verticalScrollBar()->setValue(static_cast<int>(std::lround(rowOf(page) * rowHeight())));
  viewport()->update();
}

int PageView::pageInSight() const {
  if (count_ == 0) return 0;
  const int row = static_cast<int>(std::lround(verticalScrollBar()->value() / rowHeight()));
  return std::clamp(row, 0, rows() - 1) * columns() + 1;
}

void PageView::reportPageInSight() {
  const int page = pageInSight();
  if (page == pageInSight_) return;
  pageInSight_ = page;
  emit pageInSightChanged(page);
}

void PageView::layOut() {
  if (fitted_) zoom_ = fittingZoom();
  const QSizeF content = contentSize();
  const int width = static_cast<int>(std::ceil(content.width()));
  const int height = static_cast<int>(std::ceil(content.height()));
  horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
  horizontalScrollBar()->setPageStep(viewport()->width());
  verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
  verticalScrollBar()->setPageStep(viewport()->height());
  verticalScrollBar()->setSingleStep(std::max(1, static_cast<int>(rowHeight() / 10)));
}

void PageView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  // The row at the top stays there when the pages change size with the window.
  const int row = rows() > 0 ? static_cast<int>(verticalScrollBar()->value() / rowHeight()) : 0;
  layOut();
  verticalScrollBar()->setValue(static_cast<int>(std::lround(row * rowHeight())));
}

std::unique_ptr<QPicture> PageView::drawPage(int page) {
  auto picture = std::make_unique<qt::SheetPicture>(printable_.size(), resolution_);
  QPainter painter(picture.get());
  painter_(painter, page);
  painter.end();
  ++drawn_;
  return picture;
}

void PageView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
  if (count_ == 0 || !painter_) return;
  const QSizeF page = pageSize();
  // Narrower than the window, the pages stand in its middle.
  const qreal left = std::max(0.0, (viewport()->width() - contentSize().width()) / 2) -
                     horizontalScrollBar()->value();
  const qreal top = -verticalScrollBar()->value();
  const int firstRow = std::max(0, static_cast<int>((-top - Gap) / rowHeight()));
  const int lastRow =
      std::min(rows() - 1, static_cast<int>((-top + viewport()->height()) / rowHeight()));
  std::map<int, std::unique_ptr<QPicture>> shown;
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int column = 0; column < columns(); ++column) {
      const int number = pageAt(row, column);
      if (number == 0) continue;
      const QRectF place(left + Gap + column * (page.width() + Gap), top + Gap + row * rowHeight(),
                         page.width(), page.height());
      painter.fillRect(place.translated(ShadowOffset, ShadowOffset),
                       palette().color(QPalette::Shadow));
      painter.fillRect(place, Qt::white);
      const auto kept = pictures_.find(number);
      if (kept == pictures_.end() && paused_) continue;
      auto& picture = shown[number];
      picture = kept != pictures_.end() ? std::move(kept->second) : drawPage(number);
      painter.save();
      painter.translate(place.topLeft());
      painter.scale(zoom_, zoom_);
      painter.translate(printable_.topLeft() - sheet_.topLeft());
      painter.drawPicture(QPointF(0, 0), *picture);
      painter.restore();
    }
  }
  pictures_ = std::move(shown);
}

}  // namespace veltra::app
