#include "qt/PdfReport.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include "comms/ExportFile.h"
#include "qt/PainterCanvas.h"
#include "qt/ResponsiveCanvas.h"
#include "reports/PrintPagination.h"

namespace veltra::qt {

namespace {

// Office printers do not reach the sheet's edge: the report's own margins
// start inside this band, so a printed PDF loses nothing.
constexpr double PrinterEdgeMillimetres = 5.0;

// Every page, or only the pagination when drawing is false. False when the
// painter failed or progress stopped it.
bool paintReport(reports::PrintReport& report, QPdfWriter& writer, bool drawing,
                 ui::Prompter* prompter, const PdfPageProgress& progress) {
  QPainter painter;
  if (!painter.begin(&writer)) return false;
  PainterCanvas device(painter);
  ResponsiveCanvas canvas(device, [prompter] {
    if (prompter != nullptr) prompter->keepResponsive();
  });
  reports::PrintPagination job;
  job.begin(report, canvas);
  for (int page = 1; drawing && page <= report.pageCount(); ++page) {
    if (progress && !progress(page, report.pageCount())) return false;
    if (page > 1 && !writer.newPage()) return false;
    job.drawPage(report, canvas, page);
  }
  return painter.end();
}

// The whole file, in memory; none when it was not completed.
std::optional<std::string> pdfBytes(reports::PrintReport& report, PdfPaper paper,
                                    ui::Prompter& prompter, const PdfPageProgress& progress) {
  QBuffer memory;
  memory.open(QIODevice::WriteOnly);
  bool painted = false;
  {
    QPdfWriter writer(&memory);
    writer.setResolution(static_cast<int>(PainterCanvas::UnitsPerInch));
    writer.setPageLayout(PaperLayout(paper));
    writer.setTitle(QString::fromStdString(report.title()));
    writer.setCreator(QStringLiteral("Veltra"));
    painted = paintReport(report, writer, true, &prompter, progress);
  }
  if (!painted) return std::nullopt;
  return memory.data().toStdString();
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
                    ui::Prompter& prompter, const PdfPageProgress& progress) {
  bool stopped = false;
  const auto watched = [&progress, &stopped](int page, int pageCount) {
    stopped = progress && !progress(page, pageCount);
    return !stopped;
  };
  const std::optional<std::string> bytes = pdfBytes(report, paper, prompter, watched);
  if (stopped) return false;
  comms::ExportFiles file(prompter);
  if (!bytes) {
    file.refuse(path, "Il documento non è stato completato.");
    return false;
  }
  return file.stage(path, bytes) && file.publish();
}

// Measured on a PDF writer in memory: the printers of this platform share its
// font metrics, and nothing reaches a printer.
int CountReportPages(reports::PrintReport& report, const QPageLayout& layout, int resolution) {
  QBuffer memory;
  memory.open(QIODevice::WriteOnly);
  QPdfWriter writer(&memory);
  writer.setResolution(resolution);
  writer.setPageLayout(layout);
  paintReport(report, writer, false, nullptr, {});
  return report.pageCount();
}

}  // namespace veltra::qt
