#pragma once
// A table of figures on the page: a grey band of headings (with the dates
// under them beside two dates), then one ruled line a row; the labels on the
// left, the values right-aligned, a row's note running over the values.

#include <string>
#include <vector>

#include "comms/FleetStatisticsTables.h"
#include "reports/ReportSection.h"

namespace veltra::reports {

class FigureTableSection : public ReportSection {
 public:
  explicit FigureTableSection(const comms::FigureTable& table) : table_(table) {}

  const std::string& title() const override { return table_.title; }
  std::size_t rowCount() const override { return table_.rows.size(); }
  void measure(Canvas& canvas, int lineHeight, int width) override;
  int neededWidth() const override { return right(); }
  int headHeight() const override;
  int rowHeight() const override { return lineHeight_ + 20; }
  void drawHead(Canvas& canvas, int left, int y) const override;
  void drawRow(Canvas& canvas, int left, std::size_t row, int y) const override;
  void drawEnd(Canvas& canvas, int left, int headTop, int y) const override;

 private:
  std::vector<std::string> headings() const;
  std::vector<std::string> subheadings() const;
  int headLines() const;
  bool isValue(std::size_t column) const;
  bool isNote(std::size_t line, std::size_t column) const;
  bool noteBetween(std::size_t column) const;
  int x(std::size_t column) const;
  int right() const;
  void drawCell(Canvas& canvas, int left, std::size_t column, int y, const std::string& text) const;

  const comms::FigureTable& table_;
  int lineHeight_ = 0;
  std::vector<int> widths_;
};

}  // namespace veltra::reports
