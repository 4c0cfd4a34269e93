#include "qt/PdfReport.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <system_error>
#include <thread>

#include "comms/ExportFile.h"
#include "qt/PainterCanvas.h"
#include "qt/PdfJoin.h"
#include "qt/ResponsiveCanvas.h"
#include "reports/PrintPagination.h"

namespace veltra::qt {

namespace {

// Office printers do not reach the sheet's edge: the report's own margins
// start inside this band, so a printed PDF loses nothing.
constexpr double PrinterEdgeMillimetres = 5.0;

// A long report's second half is painted at once on a writer of its own.
// Below this many pages the second writer's start and its own copy of the
// fonts cost more than it saves.
constexpr int PagesWorthSharing = 16;

struct DocumentSetup {
  QPageLayout layout;
  int resolution;
  std::string title;
};

// A PDF document written into memory.
class PdfDocument {
 public:
  explicit PdfDocument(const DocumentSetup& setup) : writer_(&memory_) {
    memory_.open(QIODevice::WriteOnly);
    writer_.setResolution(setup.resolution);
    writer_.setPageLayout(setup.layout);
    writer_.setTitle(QString::fromStdString(setup.title));
    writer_.setCreator(QStringLiteral("Veltra"));
  }

  QPdfWriter& writer() { return writer_; }
  // Whole once its painter has ended.
  std::string_view bytes() const {
    return {memory_.data().constData(), static_cast<std::size_t>(memory_.data().size())};
  }

 private:
  QBuffer memory_;
  QPdfWriter writer_;
};

// Asked before each page with its number; false stops the drawing.
using PageCheck = std::function<bool(int page)>;

// Pages first to last of a paginated job. False when the writer failed or
// the check stopped it.
bool drawPages(const reports::PrintReport& report, const reports::PrintPagination& job,
               reports::Canvas& canvas, QPdfWriter& writer, int first, int last,
               const PageCheck& carryOn) {
  for (int page = first; page <= last; ++page) {
    if (!carryOn(page)) return false;
    if (page > first && !writer.newPage()) return false;
    job.drawPage(report, canvas, page);
  }
  return true;
}

// What the two halves' painters tell each other.
struct SharedPainting {
  std::atomic<int> drawnApart{0};  // pages of the second half drawn so far
  std::atomic<bool> stop{false};
};

// The second half, on a thread of its own: it never speaks to the user.
std::unique_ptr<PdfDocument> paintApart(const reports::PrintReport& report,
                                        const reports::PrintPagination& job,
                                        const DocumentSetup& setup, int first, int last,
                                        SharedPainting& shared) {
  auto part = std::make_unique<PdfDocument>(setup);
  QPainter painter;
  if (!painter.begin(&part->writer())) return nullptr;
  bool drawn = false;
  {
    PainterCanvas canvas(painter);
    drawn = drawPages(report, job, canvas, part->writer(), first, last, [&](int page) {
      shared.drawnApart = page - first;
      return !shared.stop;
    });
  }
  if (!painter.end() || !drawn) return nullptr;
  shared.drawnApart = last - first + 1;
  return part;
}

int firstPageApart(int pageCount) {
  const bool shared = pageCount >= PagesWorthSharing && std::thread::hardware_concurrency() > 1;
  return shared ? pageCount / 2 + 1 : pageCount + 1;
}

// The whole file, in memory; none when it was not completed. Progress is
// told the pages begun in both halves.
std::optional<std::string> pdfBytes(reports::PrintReport& report, PdfPaper paper,
                                    ui::Prompter& prompter, const PdfPageProgress& progress) {
  const DocumentSetup setup{PaperLayout(paper), static_cast<int>(PainterCanvas::UnitsPerInch),
                            report.title()};
  PdfDocument document(setup);
  QPainter painter;
  if (!painter.begin(&document.writer())) return std::nullopt;
  SharedPainting shared;
  std::future<std::unique_ptr<PdfDocument>> apart;
  bool drawn = false;
  {
    PainterCanvas device(painter);
    ResponsiveCanvas canvas(device, [&prompter] { prompter.keepResponsive(); });
    reports::PrintPagination job;
    job.begin(report, canvas);
    const int count = report.pageCount();
    int firstApart = firstPageApart(count);
    try {
      if (firstApart <= count)
        apart = std::async(std::launch::async, paintApart, std::cref(report), std::cref(job),
                           std::cref(setup), firstApart, count, std::ref(shared));
    } catch (const std::system_error&) {
      firstApart = count + 1;  // no thread to be had: one painter draws them all
    }
    drawn = drawPages(report, job, canvas, document.writer(), 1, firstApart - 1,
                      [&](int page) { return progress(page + shared.drawnApart, count); });
    shared.stop = !drawn;
    while (apart.valid() &&
           apart.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
      prompter.keepResponsive();
      const int begun = std::min(firstApart + shared.drawnApart, count);
      if (!shared.stop && !progress(begun, count)) shared.stop = true;
    }
  }
  const bool ended = painter.end();
  const bool sharing = apart.valid();
  const std::unique_ptr<PdfDocument> second = sharing ? apart.get() : nullptr;
  if (!drawn || !ended || shared.stop) return std::nullopt;
  if (!sharing) return std::string(document.bytes());
  if (!second) return std::nullopt;
  return JoinPdfDocuments({document.bytes(), second->bytes()});
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
  PdfDocument document({layout, resolution, {}});
  QPainter painter;
  if (painter.begin(&document.writer())) {
    PainterCanvas canvas(painter);
    reports::PrintPagination job;
    job.begin(report, canvas);
  }
  return report.pageCount();
}

}  // namespace veltra::qt
