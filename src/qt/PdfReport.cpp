#include "qt/PdfReport.h"

#include <QBuffer>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "qt/PainterCanvas.h"
#include "reports/PrintPagination.h"

namespace veltra::qt {

namespace {

// Office printers do not reach the sheet's edge: the report's own margins
// start inside this band, so a printed PDF loses nothing.
constexpr double PrinterEdgeMillimetres = 5.0;

// Every page, or only the pagination when drawing is false.
bool paintReport(reports::PrintReport& report, QPdfWriter& writer, bool drawing) {
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  PainterCanvas canvas(painter);
  reports::PrintPagination job;
  job.begin(report, canvas);
  for (int page = 1; drawing && page <= report.pageCount(); ++page) {
    if (page > 1 && !writer.newPage()) return false;
    job.drawPage(report, canvas, page);
  }
  return painter.end();
}

bool writeFile(reports::PrintReport& report, QFile& file, PdfPaper paper) {
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  bool written = false;
  {
    QPdfWriter writer(&file);
    writer.setResolution(static_cast<int>(PainterCanvas::UnitsPerInch));
    writer.setPageLayout(PaperLayout(paper));
    writer.setTitle(QString::fromStdString(report.title()));
    writer.setCreator(QStringLiteral("Veltra"));
    written = paintReport(report, writer, true);
  }
  file.close();
  written = written && file.error() == QFileDevice::NoError;
  if (!written) file.remove();
  return written;
}

}  // namespace

QPageLayout PaperLayout(PdfPaper paper) {
  const auto orientation =
      paper == PdfPaper::A4Portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
  const double edge = PrinterEdgeMillimetres;
  return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(edge, edge, edge, edge),
                     QPageLayout::Millimeter);
}

bool WritePdfReport(reports::PrintReport& report, const std::string& path, PdfPaper paper,
                    ui::Prompter& prompter) {
  QFile file(QString::fromStdString(path));
  if (writeFile(report, file, paper)) return true;
  prompter.message("Impossibile scrivere il file PDF\n\n" + path, ui::Icon::Exclamation);
  return false;
}

// Measured on a PDF writer in memory: the printers of this platform share its
// font metrics, and nothing reaches a printer.
int CountReportPages(reports::PrintReport& report, const QPageLayout& layout, int resolution) {
  QBuffer memory;
  memory.open(QIODevice::WriteOnly);
  QPdfWriter writer(&memory);
  writer.setResolution(resolution);
  writer.setPageLayout(layout);
  paintReport(report, writer, false);
  return report.pageCount();
}

}  // namespace veltra::qt
