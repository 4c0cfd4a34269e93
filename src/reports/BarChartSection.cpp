#include "reports/BarChartSection.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace veltra::reports {

namespace {

constexpr int BarGap = 8;          // between the bars of one row
constexpr int MinimumBars = 1200;  // the bars' room, however long the labels
// One colour a series, told apart in grey on a black-and-white printer too.
constexpr Rgb SeriesColours[] = {{40, 80, 150}, {230, 150, 60}, {130, 170, 220}, {150, 90, 30}};

std::string decimalText(double value, const char* format) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  std::string result = text;
  std::replace(result.begin(), result.end(), '.', ',');
  return result;
}

// The smallest of 1, 2 and 5 times a power of ten that reaches the value.
double niceMaximum(double value) {
  if (value <= 0.0) return 1.0;
  const double power = std::pow(10.0, std::floor(std::log10(value)));
  for (double factor : {1.0, 2.0, 5.0, 10.0})
    if (factor * power >= value * (1 - 1e-12)) return factor * power;
  return 10.0 * power;
}

Rgb colour(std::size_t series) {
  return SeriesColours[series % std::size(SeriesColours)];
}

}  // namespace

BarChartSection::BarChartSection(const BarChart& chart) : chart_(chart) {
  double largest = 0.0;
  for (const auto& values : chart_.values)
    for (const auto& value : values) largest = std::max(largest, value.value_or(0.0));
  maximum_ = chart_.percent ? 100.0 : niceMaximum(largest);
}

void BarChartSection::measure(Canvas& canvas, int lineHeight, int width) {
  lineHeight_ = lineHeight;
  labelWidth_ = canvas.measure(chart_.categoryCaption).width;
  for (const std::string& category : chart_.categories)
    labelWidth_ = std::max(labelWidth_, canvas.measure(category).width);
  tickHalf_ = canvas.measure(tickText(maximum_)).width / 2 + 10;
  // The bars' values, and the scale's caption after its last tick.
  valueWidth_ = std::max(canvas.measure(valueText(maximum_ * 10)).width,
                         tickHalf_ + ColumnGap + canvas.measure(chart_.valueCaption).width);
  width_ = width;
}

int BarChartSection::neededWidth() const {
  return barLeft() + MinimumBars + valueWidth_ + ColumnGap;
}

// The legend, then the scale over the bars.
int BarChartSection::headHeight() const {
  return 2 * (lineHeight_ + 20);
}

int BarChartSection::rowHeight() const {
  return static_cast<int>(chart_.series.size()) * (lineHeight_ + BarGap) + 2 * RuleOffset;
}

void BarChartSection::drawHead(Canvas& canvas, int left, int y) const {
  int x = left + barLeft();
  for (std::size_t series = 0; series < chart_.series.size(); ++series) {
    canvas.fillRect(x, y + 10, x + lineHeight_, y + 10 + lineHeight_, colour(series));
    canvas.text(x + lineHeight_ + 20, y + 10, chart_.series[series]);
    x += lineHeight_ + 20 + canvas.measure(chart_.series[series]).width + 2 * ColumnGap;
  }
  const int scaleY = y + lineHeight_ + 30;
  canvas.text(left, scaleY, chart_.categoryCaption);
  for (int tick = 0; tick <= ticks(); ++tick) {
    const std::string text = tickText(maximum_ * tick / ticks());
    const int at = left + barX(maximum_ * tick / ticks());
    canvas.text(at - canvas.measure(text).width / 2, scaleY, text);
  }
  canvas.text(left + width_ - canvas.measure(chart_.valueCaption).width, scaleY,
              chart_.valueCaption);
}

void BarChartSection::drawRow(Canvas& canvas, int left, std::size_t row, int y) const {
  const int barsHeight = static_cast<int>(chart_.series.size()) * (lineHeight_ + BarGap);
  canvas.text(left, y + RuleOffset + (barsHeight - lineHeight_) / 2, chart_.categories[row]);
  int barTop = y + RuleOffset;
  for (std::size_t series = 0; series < chart_.series.size(); ++series) {
    const auto& value = chart_.values[row][series];
    if (value) {
      const int end = left + barX(*value);
      if (*value > 0.0)
        canvas.fillRect(left + barLeft(), barTop, end, barTop + lineHeight_, colour(series));
      canvas.text(end + 20, barTop, valueText(*value));
    }
    barTop += lineHeight_ + BarGap;
  }
}

// The value axis with its ticks along the top, the category axis on the left.
void BarChartSection::drawEnd(Canvas& canvas, int left, int headTop, int y) const {
  const int axisY = headTop + headHeight();
  canvas.line(left + barLeft(), axisY, left + barRight(), axisY);
  canvas.line(left + barLeft(), axisY, left + barLeft(), y);
  for (int tick = 0; tick <= ticks(); ++tick) {
    const int at = left + barX(maximum_ * tick / ticks());
    canvas.line(at, axisY - 15, at, axisY);
  }
}

int BarChartSection::barLeft() const {
  return labelWidth_ + ColumnGap + tickHalf_;
}

int BarChartSection::barRight() const {
  return std::max(barLeft() + MinimumBars, width_ - valueWidth_ - ColumnGap);
}

int BarChartSection::barX(double value) const {
  return barLeft() + static_cast<int>(std::lround((barRight() - barLeft()) * value / maximum_));
}

// 5 steps, or 4 for a scale that ends in 2; whole vehicles for a small count.
int BarChartSection::ticks() const {
  if (!chart_.percent && maximum_ <= 5.0) return static_cast<int>(maximum_);
  const double lead = maximum_ / std::pow(10.0, std::floor(std::log10(maximum_)));
  return std::lround(lead) == 2 ? 4 : 5;
}

std::string BarChartSection::valueText(double value) const {
  if (chart_.percent) return decimalText(value, "%.1f") + " %";
  return decimalText(value, value == std::floor(value) ? "%.0f" : "%.1f");
}

std::string BarChartSection::tickText(double value) const {
  return chart_.percent ? decimalText(value, "%.0f") + " %" : valueText(value);
}

}  // namespace veltra::reports
