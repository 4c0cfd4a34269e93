#pragma once
// What the print view keeps of a print or preview job: the paper, where
// every page starts, the shrinking of a table wider than the paper, and
// whether the job has been paginated or has ended. The view's callbacks go
// through here.

#include "reports/PageTable.h"

namespace veltra::reports {

class Canvas;
class PrintReport;

inline constexpr int ViewMargin = 50;

// In the canvas's units.
struct PageGeometry {
  int pageWidth = 0;
  int pageHeight = 0;
  int top = ViewMargin;
  int bottom = ViewMargin;
  int left = ViewMargin;
  int right = ViewMargin;
};

class PrintPagination {
 public:
  // A new preview or print: nothing is drawn until it has been paginated.
  void startJob();
  // The job's beginning: the paper of the canvas, then the report's pages. A
  // table wider than the paper is drawn smaller, every page alike, so that no
  // column is cut off; the page then takes more rows.
  void begin(PrintReport& report, Canvas& canvas);
  // Draws page n; nothing once the job has ended or before it was paginated.
  void drawPage(const PrintReport& report, Canvas& canvas, int page) const;
  // Printing done, preview closed or job cancelled.
  void finish() { finished_ = true; }

  const PageTable& pages() const { return pages_; }
  bool paginated() const { return paginated_; }
  bool finished() const { return finished_; }

 private:
  PageTable pages_;
  PageGeometry geometry_;
  double scale_ = 1.0;  // below 1 when the table is wider than the paper
  bool paginated_ = false;
  bool finished_ = false;
};

}  // namespace veltra::reports
