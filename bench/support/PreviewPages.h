#pragma once
// The preview's work after a report is loaded, as the desktop does it: the
// pagination on the painter of a sheet of A4 sideways at 600 dpi, with the
// real font metrics, then page 1 drawn into a sheet of its own when asked.

#include <QPainter>
#include <cstdlib>

#include "qt/PainterCanvas.h"
#include "qt/PdfReport.h"
#include "qt/SheetPicture.h"
#include "reports/PrintPagination.h"
#include "reports/PrintReport.h"

namespace veltra::bench {

inline QSize previewSheetPixels() {
  constexpr int Resolution = static_cast<int>(qt::PainterCanvas::UnitsPerInch);
  return qt::PaperLayout(qt::PdfPaper::A4Landscape).paintRectPixels(Resolution).size();
}

inline void previewPages(reports::PrintReport& report, bool drawFirstPage) {
  constexpr int Resolution = static_cast<int>(qt::PainterCanvas::UnitsPerInch);
  qt::SheetPicture sheet(previewSheetPixels(), Resolution);
  QPainter measuring(&sheet);
  qt::PainterCanvas canvas(measuring);
  reports::PrintPagination job;
  job.startJob();
  job.begin(report, canvas);
  measuring.end();
  if (!drawFirstPage) return;
  qt::SheetPicture page(previewSheetPixels(), Resolution);
  QPainter painter(&page);
  qt::PainterCanvas pageCanvas(painter);
  job.drawPage(report, pageCanvas, 1);
  painter.end();
  if (page.size() == 0) std::abort();
}

}  // namespace veltra::bench
