#pragma once
// The pages of the print view, drawn as they come into sight: a report of
// thousands of pages shows its first at once, and a page is drawn only while
// it is on screen. Two pages side by side (1-2, 3-4...) or one at a time;
// fitted to the window, or larger or smaller from there.

#include <QAbstractScrollArea>
#include <QPageLayout>
#include <functional>
#include <map>
#include <memory>

class QPicture;

namespace veltra::app {

class PageView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  // Paints page n (from 1) with a painter open on the printable area of one sheet.
  using PagePainter = std::function<void(QPainter& painter, int page)>;

  explicit PageView(QWidget* parent = nullptr);
  ~PageView() override;

  // count pages of the paper's size at resolution dots per inch; the pages
  // drawn before are dropped.
  void setPages(int count, const QPageLayout& paper, int resolution, PagePainter painter);
  int pageCount() const { return count_; }

  bool twoPages() const { return twoPages_; }
  void setTwoPages(bool two);
  // Screen pixels per pixel of the sheet.
  qreal zoomFactor() const { return zoom_; }
  // A row of pages as large as the window holds it, and so as the window changes size.
  void fitInView();
  void zoomIn();
  void zoomOut();
  // While paused, only pages drawn before show; the others stay blank until
  // it resumes, as their report is busy being paginated or written.
  void setDrawingPaused(bool paused);
  // Scrolls to the row of page n.
  void showPage(int page);
  // The first page of the row at the top of the window, however it got there.
  int pageInSight() const;

  // The pages drawn since setPages: only those that came into sight.
  int pagesDrawn() const { return drawn_; }

 signals:
  // The row at the top changed: by the keys, the wheel, the scroll bar or a resize.
  void pageInSightChanged(int page);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int columns() const { return twoPages_ ? 2 : 1; }
  int rows() const;
  int rowOf(int page) const;
  // The page at that place, or 0 where there is none.
  int pageAt(int row, int column) const;
  QSizeF pageSize() const;
  qreal rowHeight() const;
  QSizeF contentSize() const;  // every row of pages with the gaps, on screen
  qreal fittingZoom() const;
  void setZoom(qreal zoom);
  // Where the window's top-left corner falls, as a fraction of the content's width and height.
  QPointF cornerFraction() const;
  void setCornerFraction(QPointF corner);
  void reportPageInSight();
  void layOut();
  std::unique_ptr<QPicture> drawPage(int page);

  int count_ = 0;
  QRect sheet_;      // the whole paper, in pixels of the sheet
  QRect printable_;  // where the painter draws, within it
  int resolution_ = 0;
  PagePainter painter_;
  bool twoPages_ = true;
  bool fitted_ = true;
  bool paused_ = false;
  qreal zoom_ = 0.1;
  int drawn_ = 0;
  int pageInSight_ = 0;  // as last reported
  // The pages painted last: a small scroll draws nothing again.
  std::map<int, std::unique_ptr<QPicture>> pictures_;
};

}  // namespace veltra::app
