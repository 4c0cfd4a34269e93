#include "reports/PrintPagination.h"

#include "reports/Canvas.h"
#include "reports/PrintReport.h"

namespace veltra::reports {

void PrintPagination::startJob() {
  paginated_ = false;
  finished_ = false;
}

void PrintPagination::begin(PrintReport& report, Canvas& canvas) {
  geometry_.pageWidth = canvas.pageWidth();
  geometry_.pageHeight = canvas.pageHeight();
  report.paginate(canvas, geometry_, pages_);
  paginated_ = true;
}

void PrintPagination::drawPage(PrintReport& report, Canvas& canvas, int page) {
  if (finished_ || !paginated_) return;
  currentPage_ = page;
  canvas.save();
  report.drawPage(canvas, page, pages_);
  canvas.restore();
}

}  // namespace veltra::reports
