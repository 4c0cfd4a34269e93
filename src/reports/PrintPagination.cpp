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
  scale_ = 1.0;
  report.paginate(canvas, geometry_, pages_);
  const double fitting = report.widthFitting();
  if (fitting < 1.0) {
    scale_ = fitting;
    geometry_.pageWidth = static_cast<int>(geometry_.pageWidth / fitting);
    geometry_.pageHeight = static_cast<int>(geometry_.pageHeight / fitting);
    pages_ = PageTable();
    report.paginate(canvas, geometry_, pages_);
  }
  paginated_ = true;
}

void PrintPagination::drawPage(const PrintReport& report, Canvas& canvas, int page) const {
  if (finished_ || !paginated_) return;
  canvas.save();
  if (scale_ < 1.0) canvas.scale(scale_);
  report.drawPage(canvas, page, pages_);
  canvas.restore();
}

}  // namespace veltra::reports
