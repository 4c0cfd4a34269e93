#pragma once
// A horizontal bar chart on the page, drawn with the canvas's rules, boxes
// and texts: the legend and the value scale as its head, then one row of
// bars a category, each bar with its value at its end.

#include <optional>
#include <string>
#include <vector>

#include "reports/ReportSection.h"

namespace veltra::reports {

// The bars of a chart: one row per category, one bar per series.
struct BarChart {
  std::string title;
  std::string categoryCaption;  // what the rows are
  std::string valueCaption;     // what the bars measure
  bool percent = false;         // the scale runs to 100
  std::vector<std::string> series;
  std::vector<std::string> categories;
  std::vector<std::vector<std::optional<double>>> values;  // [category][series]
};

class BarChartSection : public ReportSection {
 public:
  explicit BarChartSection(const BarChart& chart);

  const std::string& title() const override { return chart_.title; }
  std::size_t rowCount() const override { return chart_.categories.size(); }
  void measure(Canvas& canvas, int lineHeight, int width) override;
  int neededWidth() const override;
  int headHeight() const override;
  int rowHeight() const override;
  void drawHead(Canvas& canvas, int left, int y) const override;
  void drawRow(Canvas& canvas, int left, std::size_t row, int y) const override;
  void drawEnd(Canvas& canvas, int left, int headTop, int y) const override;

 private:
  int barLeft() const;
  int barRight() const;
  int barX(double value) const;
  int ticks() const;
  std::string valueText(double value) const;
  std::string tickText(double value) const;

  const BarChart& chart_;
  double maximum_ = 1.0;
  int lineHeight_ = 0;
  int labelWidth_ = 0;
  int valueWidth_ = 0;
  int tickHalf_ = 0;
  int width_ = 0;
};

}  // namespace veltra::reports
