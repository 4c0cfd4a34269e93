// The report frame on a recording canvas: where pages start, what each page
// draws, and the header, band and rules at their coordinates. The paper is
// A4 sideways (7016 x 4961), texts 80 high and 40 wide per character, so the
// header ends at 500, rows take 100 and the bottom limit is 4911: a page
// holds 45 rows.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "reports/PrintPagination.h"
#include "reports/PrintReport.h"
#include "support/RecordingCanvas.h"

namespace veltra::reports {
namespace {

using testing::DrawnLine;
using testing::RecordingCanvas;

constexpr int RowsPerPage = 45;

// Rows "r<i>" with their number right-aligned; a row whose group differs
// from the one before opens a page.
class NumberedReport : public PrintReport {
 public:
  explicit NumberedReport(std::vector<int> groups)
      : PrintReport("Prova", {{"Nome"}, {"Valore", Align::Right, false}}, 0),
        groups_(std::move(groups)) {}
  static NumberedReport ungrouped(std::size_t rows) {
    return NumberedReport(std::vector<int>(rows, 0));
  }

  std::size_t rowCount() const override { return groups_.size(); }

 protected:
  std::vector<std::string> cells(std::size_t row) const override {
    return {"r" + std::to_string(row), std::to_string(row)};
  }
  HeaderLines headerLines(std::size_t firstRow) const override {
    return {"Primo", "Secondo", "Gruppo " + std::to_string(groups_[firstRow])};
  }
  bool opensGroup(std::size_t row) const override {
    return row > 0 && groups_[row] != groups_[row - 1];
  }

 private:
  std::vector<int> groups_;
};

// The row numbers page n draws, in drawing order.
std::vector<int> rowsDrawn(RecordingCanvas& canvas, PrintPagination& job, PrintReport& report,
                           int page) {
  canvas.clear();
  job.drawPage(report, canvas, page);
  std::vector<int> rows;
  for (const auto& text : canvas.texts)
    if (text.text.size() > 1 && text.text[0] == 'r') rows.push_back(std::stoi(text.text.substr(1)));
  return rows;
}

struct Paginated {
  explicit Paginated(PrintReport& report, RecordingCanvas canvas = RecordingCanvas())
      : canvas(std::move(canvas)) {
    job.startJob();
    job.begin(report, this->canvas);
  }
  RecordingCanvas canvas;
  PrintPagination job;
};

TEST(PrintReportTest, OnePageReportReadsPageOneOfOne) {
  auto report = NumberedReport::ungrouped(3);
  Paginated run(report);
  EXPECT_EQ(report.pageCount(), 1);
  EXPECT_EQ(report.usableWidth(), 7016 - 100);
  EXPECT_EQ(report.usableHeight(), 4961 - 100);

  run.job.drawPage(report, run.canvas, 1);
  const auto page = run.canvas.textsEqualTo("Pag. 1 di 1");
  ASSERT_EQ(page.size(), 1u);
  EXPECT_EQ(page[0].x + 11 * RecordingCanvas::CharWidth, 50 + 6916);  // ends at the right margin
  EXPECT_EQ(page[0].y, 50);
  EXPECT_EQ(run.canvas.fonts.back(), (Font{"Arial", 8, 400}));
  EXPECT_EQ(run.canvas.pens.back(), 2);
  EXPECT_EQ(run.canvas.saves, 1);
  EXPECT_EQ(run.canvas.restores, 1);
}

TEST(PrintReportTest, CreationTimeIsDayMonthYearHourMinute) {
  std::tm moment{};
  moment.tm_year = 2024 - 1900;
  moment.tm_mon = 2;
  moment.tm_mday = 5;
  moment.tm_hour = 9;
  moment.tm_min = 7;
  moment.tm_isdst = -1;
  EXPECT_EQ(CreationTimeText(std::mktime(&moment)), "05/03/2024 09:07");
}

TEST(PrintReportTest, PageTableHoldsTheFirstRowOfEveryPage) {
  auto report = NumberedReport::ungrouped(2 * RowsPerPage + 10);
  Paginated run(report);
  EXPECT_EQ(report.pageCount(), 3);
  EXPECT_EQ(run.job.pages().firstRow(1), 0);
  EXPECT_EQ(run.job.pages().firstRow(2), RowsPerPage);
  EXPECT_EQ(run.job.pages().firstRow(3), 2 * RowsPerPage);

  // Every row once, on the page pagination gave it.
  std::vector<int> all;
  for (int page = 1; page <= 3; ++page) {
    const auto rows = rowsDrawn(run.canvas, run.job, report, page);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), run.job.pages().firstRow(page));
    all.insert(all.end(), rows.begin(), rows.end());
  }
  std::vector<int> expected(2 * RowsPerPage + 10);
  for (std::size_t i = 0; i < expected.size(); ++i) expected[i] = static_cast<int>(i);
  EXPECT_EQ(all, expected);
}

TEST(PrintReportTest, RowStartingJustAboveTheLimitIsDrawnWhole) {
  auto report = NumberedReport::ungrouped(RowsPerPage + 1);
  Paginated run(report);
  run.job.drawPage(report, run.canvas, 1);
  // The last row of page 1 starts at 4900, 11 above the limit, and runs to 5000.
  const auto last = run.canvas.textsEqualTo("r44");
  ASSERT_EQ(last.size(), 1u);
  EXPECT_EQ(last[0].y, 4900 + 10);
  EXPECT_TRUE(run.canvas.textsEqualTo("r45").empty());
  // The page closes under it.
  const DrawnLine closing{3243, 5000, 3713, 5000};
  EXPECT_NE(std::find(run.canvas.lines.begin(), run.canvas.lines.end(), closing),
            run.canvas.lines.end());
  EXPECT_EQ(rowsDrawn(run.canvas, run.job, report, 2), std::vector<int>{45});
}

// The limit is "greater than": a row starting on it stays on the page.
TEST(PrintReportTest, RowStartingExactlyAtTheLimitStaysOnThePage) {
  auto report = NumberedReport::ungrouped(RowsPerPage + 1);
  // 11 less paper puts the limit at 4900, where row 44 starts.
  Paginated run(report, RecordingCanvas(7016, 4961 - 11));
  EXPECT_EQ(report.pageCount(), 2);
  EXPECT_EQ(run.job.pages().firstRow(2), RowsPerPage);
}

// A text looked for and not drawn fails the test instead of ending the run:
// at(0) throws where [0] would read past the end.
TEST(PrintReportTest, HeaderBandRowsAndClosingRulesStandWhereTheyShould) {
  auto report = NumberedReport::ungrouped(3);
  Paginated run(report);
  // Widths 160 and 240 from the headings; the 480-wide table is moved right
  // by half of 6916 - 530.
  ASSERT_EQ(report.columns(), (std::vector<ColumnPlace>{{3263, 160}, {3463, 240}}));
  EXPECT_EQ(report.bandTop(), 380);
  run.job.drawPage(report, run.canvas, 1);
  const auto& canvas = run.canvas;

  EXPECT_EQ(canvas.textsEqualTo("Primo").at(0).y, 50);
  EXPECT_EQ(canvas.textsEqualTo("Secondo").at(0).y, 140);
  EXPECT_EQ(canvas.textsEqualTo(CreationTimeText(0)).at(0).y, 140);
  EXPECT_EQ(canvas.textsEqualTo("Gruppo 0").at(0).x, 50);
  EXPECT_EQ(canvas.textsEqualTo("Gruppo 0").at(0).y, 250);

  ASSERT_EQ(canvas.rects.size(), 1u);
  EXPECT_EQ(canvas.rects.at(0), (testing::FilledRect{3243, 380, 3723, 500, {192, 192, 192}}));
  const auto heading = canvas.textsEqualTo("Valore");
  EXPECT_EQ(heading.at(0).x, 3463);
  EXPECT_EQ(heading.at(0).y, 400);
  EXPECT_EQ(heading.at(0).background, (Rgb{192, 192, 192}));
  EXPECT_EQ(canvas.textsEqualTo("r2").at(0).background, White);
  // Right-aligned values end at the column's right edge.
  EXPECT_EQ(canvas.textsEqualTo("2").at(0).x, 3463 + 240 - 40);
  EXPECT_EQ(canvas.textsEqualTo("2").at(0).y, 710);

  const std::vector<DrawnLine> expected = {
      {3243, 380, 3723, 380},                                                  // band top
      {3243, 380, 3243, 500}, {3443, 380, 3443, 500},                          // band verticals
      {3243, 500, 3723, 500}, {3243, 600, 3723, 600}, {3243, 700, 3723, 700},  // rows
      {3243, 800, 3713, 800},                                                  // closing rule
      {3243, 380, 3243, 800}, {3443, 380, 3443, 800}, {3723, 380, 3723, 800}};
  EXPECT_EQ(canvas.lines, expected);
}

TEST(PrintReportTest, EveryGroupStartsAPage) {
  NumberedReport report({1, 1, 2, 3, 3, 3});
  Paginated run(report);
  EXPECT_EQ(report.pageCount(), 3);
  EXPECT_EQ(rowsDrawn(run.canvas, run.job, report, 2), std::vector<int>{2});
  EXPECT_EQ(rowsDrawn(run.canvas, run.job, report, 3), (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(run.canvas.textsEqualTo("Gruppo 3").size(), 1u);
}

TEST(PrintReportTest, PagesBeyondTheTableAreNotRecordedYetStillPrint) {
  PageTable table;
  table.set(PageTableSize, 7);
  table.set(PageTableSize + 1, 9);
  EXPECT_EQ(table.firstRow(PageTableSize), 7);
  EXPECT_EQ(table.firstRow(PageTableSize + 1), -1);

  std::vector<int> groups(PageTableSize + 5);
  for (std::size_t i = 0; i < groups.size(); ++i) groups[i] = static_cast<int>(i);
  NumberedReport report(groups);
  Paginated run(report);
  EXPECT_EQ(report.pageCount(), PageTableSize + 5);
  EXPECT_EQ(run.job.pages().firstRow(PageTableSize + 2), -1);
  EXPECT_EQ(rowsDrawn(run.canvas, run.job, report, PageTableSize + 2),
            std::vector<int>{PageTableSize + 1});
}

// A header taller than the paper still leaves one row on every page.
TEST(PrintReportTest, EveryPageTakesAtLeastItsFirstRow) {
  auto report = NumberedReport::ungrouped(3);
  Paginated run(report, RecordingCanvas(7016, 300));
  EXPECT_EQ(report.pageCount(), 3);
  for (int page = 1; page <= 3; ++page)
    EXPECT_EQ(rowsDrawn(run.canvas, run.job, report, page), std::vector<int>{page - 1});
}

// A table wider than the paper is drawn smaller, so no column is cut off.
TEST(PrintReportTest, TableWiderThanThePaperIsDrawnSmaller) {
  constexpr int Paper = 300;
  auto report = NumberedReport::ungrouped(3);
  Paginated run(report, RecordingCanvas(Paper, 4961));
  run.canvas.clear();
  run.job.drawPage(report, run.canvas, 1);
  ASSERT_EQ(run.canvas.scales.size(), 1u);
  const double scale = run.canvas.scales.front();
  EXPECT_LT(scale, 1.0);
  for (const DrawnLine& line : run.canvas.lines)
    EXPECT_LE(std::max(line.x1, line.x2) * scale, Paper - ViewMargin * scale + 1);
}

TEST(PrintReportTest, NothingIsDrawnBeforePaginationOrAfterTheJobEnds) {
  auto report = NumberedReport::ungrouped(3);
  RecordingCanvas canvas;
  PrintPagination job;
  job.drawPage(report, canvas, 1);
  EXPECT_TRUE(canvas.texts.empty());
  job.begin(report, canvas);
  job.finish();
  job.drawPage(report, canvas, 1);
  EXPECT_TRUE(canvas.texts.empty());
  job.startJob();
  EXPECT_FALSE(job.paginated());
}

}  // namespace
}  // namespace veltra::reports
