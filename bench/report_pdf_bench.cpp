// The vehicle list by company written to PDF, beside the floor of that work,
// over the register of support/ReportRegister.h (50,050 vehicles in service):
//   - Floor: the rows loaded by the report's query, then the same texts of
//     the same rows written on the same number of pages by the small writer
//     of support/FloorPdf.h (one standard font, one deflated stream a page);
//   - Report: the rows loaded, then WritePdfReport as veltra-cli runs it
//     (A4 sideways); its floor_ratio counter is its median processor time
//     over the floor's median of the same run (processor time: the machine
//     may be shared, and wall time then says more of the neighbours).
// Both run in this process, one after the other, on the offscreen platform.
// Run by hand:
//   build/ci/bench/report_pdf_bench
//
// Counters: pages is the page count, pdf_MiB the size of the file written.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "db/DatabaseConnection.h"
#include "qt/PainterCanvas.h"
#include "qt/PdfReport.h"
#include "reports/PrintPagination.h"
#include "reports/VehicleListReport.h"
#include "support/BenchSupport.h"
#include "support/FloorPdf.h"
#include "support/OffscreenBenchMain.h"
#include "support/ReportRegister.h"

namespace {

using namespace veltra;
using namespace veltra::bench;

const std::string Folder = "/tmp/veltra-report-bench/";

// The report with its texts in reach of the floor writer.
class OpenReport : public reports::VehicleListReport {
 public:
  OpenReport() : VehicleListReport(reports::VehicleListOrder::ByCompany, {}) {}
  using VehicleListReport::cells;
  using VehicleListReport::headerLines;
};

OpenReport loadedReport(db::DatabaseConnection& connection, BenchPrompter& prompter) {
  OpenReport report;
  if (!report.load(connection, prompter) || report.rowCount() != ReportListedVehicles) std::abort();
  return report;
}

// Where each page of the real report starts, and where its columns stand.
struct RealLayout {
  std::vector<std::size_t> pageFirstRows;
  std::vector<double> columnPoints;
};

RealLayout realLayout(OpenReport& report) {
  QBuffer memory;
  memory.open(QIODevice::WriteOnly);
  QPdfWriter writer(&memory);
  writer.setResolution(static_cast<int>(qt::PainterCanvas::UnitsPerInch));
  writer.setPageLayout(qt::PaperLayout(qt::PdfPaper::A4Landscape));
  QPainter painter(&writer);
  qt::PainterCanvas canvas(painter);
  reports::PrintPagination job;
  job.begin(report, canvas);
  RealLayout layout;
  for (int page = 1; page <= report.pageCount(); ++page)
    layout.pageFirstRows.push_back(static_cast<std::size_t>(job.pages().firstRow(page)));
  for (const auto& column : report.columns()) layout.columnPoints.push_back(column.x * 0.12);
  return layout;
}

double processSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double floorSeconds = 0.0;

void BM_FloorPdf(benchmark::State& state) {
  BenchPrompter prompter;
  db::DatabaseConnection connection(prompter, reportRegisterPath());
  RealLayout layout;
  {
    auto report = loadedReport(connection, prompter);
    layout = realLayout(report);
  }
  const QString path = QString::fromStdString(Folder + "floor.pdf");
  std::size_t pages = 0;
  std::vector<double> seconds;
  for (auto _ : state) {
    const double started = processSeconds();
    auto report = loadedReport(connection, prompter);
    FloorPdf pdf(842, 595);
    std::vector<FloorCell> cells(layout.columnPoints.size());
    for (std::size_t page = 0; page < layout.pageFirstRows.size(); ++page) {
      const std::size_t first = layout.pageFirstRows[page];
      const std::size_t end = page + 1 < layout.pageFirstRows.size()
                                  ? layout.pageFirstRows[page + 1]
                                  : report.rowCount();
      const auto header = report.headerLines(first);
      pdf.beginPage({header.first, header.second, header.third});
      for (std::size_t row = first; row < end; ++row) {
        const auto texts = report.cells(row);
        for (std::size_t column = 0; column < cells.size(); ++column)
          cells[column] = {layout.columnPoints[column], texts[column]};
        pdf.row(cells);
      }
      pdf.endPage();
    }
    if (!pdf.write(path)) state.SkipWithError("floor.pdf not written");
    pages = pdf.pageCount();
    seconds.push_back(processSeconds() - started);
  }
  floorSeconds = median(seconds);
  state.counters["cpu_s"] = floorSeconds;
  state.counters["pages"] = static_cast<double>(pages);
  state.counters["pdf_MiB"] =
      static_cast<double>(std::filesystem::file_size(Folder + "floor.pdf")) / (1024.0 * 1024.0);
}

void BM_ReportPdf(benchmark::State& state) {
  BenchPrompter prompter;
  db::DatabaseConnection connection(prompter, reportRegisterPath());
  const std::string path = Folder + "report.pdf";
  int pages = 0;
  std::vector<double> seconds;
  for (auto _ : state) {
    const double started = processSeconds();
    auto report = loadedReport(connection, prompter);
    if (!qt::WritePdfReport(report, path, qt::PdfPaper::A4Landscape, prompter))
      state.SkipWithError("report.pdf not written");
    pages = report.pageCount();
    seconds.push_back(processSeconds() - started);
  }
  state.counters["pages"] = pages;
  state.counters["pdf_MiB"] =
      static_cast<double>(std::filesystem::file_size(path)) / (1024.0 * 1024.0);
  state.counters["cpu_s"] = median(seconds);
  if (floorSeconds > 0) state.counters["floor_ratio"] = median(seconds) / floorSeconds;
}

}  // namespace

BENCHMARK(BM_FloorPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
  return veltra::bench::runOffscreenBenchmarks(argc, argv);
}
