#include "reports/FleetStatisticsReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace veltra::reports {

namespace {

constexpr int RuleOffset = 20;
constexpr int ColumnGap = 40;
constexpr int TitleGap = 120;      // air above a section's title
constexpr int BarGap = 8;          // between the bars of one row
constexpr int MinimumBars = 1200;  // the bars' room, however long the labels
// One colour a series, told apart in grey on a black-and-white printer too.
constexpr Rgb SeriesColours[] = {{40, 80, 150}, {230, 150, 60}, {130, 170, 220}, {150, 90, 30}};
constexpr Font TitleFont{"Arial", 10, 700};

std::string decimalText(double value, const char* format) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  std::string result = text;
  std::replace(result.begin(), result.end(), '.', ',');
  return result;
}

}  // namespace

// A table or a chart, as the pages take it: its head and its rows.
class ReportSection {
 public:
  virtual ~ReportSection() = default;
  virtual const std::string& title() const = 0;
  virtual std::size_t rowCount() const = 0;
  // Sizes its columns or its scale for the canvas's font and the width.
  virtual void measure(Canvas& canvas, int lineHeight, int width) = 0;
  // The width it needs, beyond which the page is drawn smaller.
  virtual int neededWidth() const = 0;
  virtual int headHeight() const = 0;
  virtual int rowHeight() const = 0;
  virtual void drawHead(Canvas& canvas, int left, int y) const = 0;
  virtual void drawRow(Canvas& canvas, int left, std::size_t row, int y) const = 0;
  // Closes the section drawn from its head at headTop down to y.
  virtual void drawEnd(Canvas& canvas, int left, int headTop, int y) const = 0;
};

namespace {

class TableSection : public ReportSection {
 public:
  explicit TableSection(const comms::FigureTable& table) : table_(table) {}

  const std::string& title() const override { return table_.title; }
  std::size_t rowCount() const override { return table_.rows.size(); }

  void measure(Canvas& canvas, int lineHeight, int /*width*/) override {
    lineHeight_ = lineHeight;
    std::vector<std::vector<std::string>> texts{headings(), subheadings()};
    for (const comms::FigureRow& row : table_.rows) texts.push_back(comms::RowTexts(table_, row));
    widths_.assign(texts.front().size(), 0);
    for (std::size_t line = 0; line < texts.size(); ++line)
      for (std::size_t column = 0; column < texts[line].size(); ++column)
        if (line < 2 || !isNote(line - 1, column))
          widths_[column] = std::max(widths_[column], canvas.measure(texts[line][column]).width);
  }

  int neededWidth() const override { return right(); }
  int headHeight() const override { return headLines() * lineHeight_ + 2 * RuleOffset; }
  int rowHeight() const override { return lineHeight_ + 20; }

  void drawHead(Canvas& canvas, int left, int y) const override {
    const int bottom = y + headHeight();
    canvas.fillRect(left, y, left + right(), bottom, BandGrey);
    canvas.setTextBackground(BandGrey);
    canvas.line(left, y, left + right(), y);
    const auto texts = headings();
    const auto under = subheadings();
    for (std::size_t column = 0; column < texts.size(); ++column) {
      drawCell(canvas, left, column, y + RuleOffset, texts[column]);
      drawCell(canvas, left, column, y + RuleOffset + lineHeight_, under[column]);
    }
    canvas.setTextBackground(White);
    for (std::size_t column = 0; column < widths_.size(); ++column)
      canvas.line(left + x(column) - RuleOffset, y, left + x(column) - RuleOffset, bottom);
  }

  void drawRow(Canvas& canvas, int left, std::size_t row, int y) const override {
    canvas.line(left, y, left + right(), y);
    const auto texts = comms::RowTexts(table_, table_.rows[row]);
    for (std::size_t column = 0; column < texts.size(); ++column) {
      if (isNote(row + 1, column))
        canvas.text(left + x(column), y + 10, texts[column]);
      else
        drawCell(canvas, left, column, y + 10, texts[column]);
    }
  }

  void drawEnd(Canvas& canvas, int left, int headTop, int y) const override {
    canvas.line(left, y, left + right(), y);
    for (std::size_t column = 0; column < widths_.size(); ++column)
      if (column == 0 || !noteBetween(column))
        canvas.line(left + x(column) - RuleOffset, headTop, left + x(column) - RuleOffset, y);
    canvas.line(left + right(), headTop, left + right(), y);
  }

 private:
  std::vector<std::string> headings() const {
    std::vector<std::string> texts = table_.labelHeadings;
    for (const comms::FigureColumn& column : table_.columns) texts.push_back(column.heading);
    return texts;
  }
  // The dates under the headings beside two dates; the labels have none.
  std::vector<std::string> subheadings() const {
    std::vector<std::string> texts(table_.labelHeadings.size());
    for (const comms::FigureColumn& column : table_.columns) texts.push_back(column.subheading);
    return texts;
  }
  int headLines() const {
    return table_.columns.empty() || table_.columns.front().subheading.empty() ? 1 : 2;
  }
  bool isValue(std::size_t column) const { return column >= table_.labelHeadings.size(); }
  // A note runs over the value columns: line 0 is the headings.
  bool isNote(std::size_t line, std::size_t column) const {
    return line > 0 && isValue(column) && !table_.rows[line - 1].note.empty();
  }
  bool noteBetween(std::size_t column) const {
    return isValue(column) && column > table_.labelHeadings.size() &&
           std::any_of(table_.rows.begin(), table_.rows.end(),
                       [](const comms::FigureRow& row) { return !row.note.empty(); });
  }
  int x(std::size_t column) const {
    int at = RuleOffset;
    for (std::size_t i = 0; i < column; ++i) at += widths_[i] + ColumnGap;
    return at;
  }
  int right() const { return x(widths_.size() - 1) + widths_.back() + RuleOffset; }
  void drawCell(Canvas& canvas, int left, std::size_t column, int y,
                const std::string& text) const {
    if (text.empty()) return;
    const int shift = isValue(column) ? widths_[column] - canvas.measure(text).width : 0;
    canvas.text(left + x(column) + shift, y, text);
  }

  const comms::FigureTable& table_;
  int lineHeight_ = 0;
  std::vector<int> widths_;
};

// The smallest of 1, 2 and 5 times a power of ten that reaches the value.
double niceMaximum(double value) {
  if (value <= 0.0) return 1.0;
  const double power = std::pow(10.0, std::floor(std::log10(value)));
  for (double factor : {1.0, 2.0, 5.0, 10.0})
    if (factor * power >= value * (1 - 1e-12)) return factor * power;
  return 10.0 * power;
}

class ChartSection : public ReportSection {
 public:
  explicit ChartSection(const BarChart& chart) : chart_(chart) {
    double largest = 0.0;
    for (const auto& values : chart_.values)
      for (const auto& value : values) largest = std::max(largest, value.value_or(0.0));
    maximum_ = chart_.percent ? 100.0 : niceMaximum(largest);
  }

  const std::string& title() const override { return chart_.title; }
  std::size_t rowCount() const override { return chart_.categories.size(); }

  void measure(Canvas& canvas, int lineHeight, int width) override {
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

  int neededWidth() const override { return barLeft() + MinimumBars + valueWidth_ + ColumnGap; }
  // The legend, then the scale over the bars.
  int headHeight() const override { return 2 * (lineHeight_ + 20); }
  int rowHeight() const override {
    return static_cast<int>(chart_.series.size()) * (lineHeight_ + BarGap) + 2 * RuleOffset;
  }

  void drawHead(Canvas& canvas, int left, int y) const override {
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

  void drawRow(Canvas& canvas, int left, std::size_t row, int y) const override {
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
  void drawEnd(Canvas& canvas, int left, int headTop, int y) const override {
    const int axisY = headTop + headHeight();
    canvas.line(left + barLeft(), axisY, left + barRight(), axisY);
    canvas.line(left + barLeft(), axisY, left + barLeft(), y);
    for (int tick = 0; tick <= ticks(); ++tick) {
      const int at = left + barX(maximum_ * tick / ticks());
      canvas.line(at, axisY - 15, at, axisY);
    }
  }

 private:
  int barLeft() const { return labelWidth_ + ColumnGap + tickHalf_; }
  int barRight() const {
    return std::max(barLeft() + MinimumBars, width_ - valueWidth_ - ColumnGap);
  }
  int barX(double value) const {
    return barLeft() + static_cast<int>(std::lround((barRight() - barLeft()) * value / maximum_));
  }
  // 5 steps, or 4 for a scale that ends in 2; whole vehicles for a small count.
  int ticks() const {
    if (!chart_.percent && maximum_ <= 5.0) return static_cast<int>(maximum_);
    const double lead = maximum_ / std::pow(10.0, std::floor(std::log10(maximum_)));
    return std::lround(lead) == 2 ? 4 : 5;
  }
  std::string valueText(double value) const {
    if (chart_.percent) return decimalText(value, "%.1f") + " %";
    return decimalText(value, value == std::floor(value) ? "%.0f" : "%.1f");
  }
  std::string tickText(double value) const {
    return chart_.percent ? decimalText(value, "%.0f") + " %" : valueText(value);
  }
  Rgb colour(std::size_t series) const { return SeriesColours[series % std::size(SeriesColours)]; }

  const BarChart& chart_;
  double maximum_ = 1.0;
  int lineHeight_ = 0;
  int labelWidth_ = 0;
  int valueWidth_ = 0;
  int tickHalf_ = 0;
  int width_ = 0;
};

std::optional<double> share(int part, int whole) {
  if (whole == 0) return std::nullopt;
  return 100.0 * part / whole;
}

std::string atDate(const std::string& date) {
  return "al " + date;
}

// The figures of each date, now first.
std::vector<const comms::FleetFigures*> datesOf(const comms::FleetFigures& now,
                                                const std::optional<comms::FleetFigures>& before) {
  std::vector<const comms::FleetFigures*> dates{&now};
  if (before) dates.push_back(&*before);
  return dates;
}

BarChart ageChart(const std::vector<const comms::FleetFigures*>& dates) {
  BarChart chart{"Mezzi per classe di età (anni compiuti dalla prima immatricolazione)",
                 "Età",
                 "Mezzi",
                 false,
                 {},
                 {"fino a 5 anni", "6-10 anni", "11-15 anni", "oltre 15 anni",
                  std::string(comms::NotStatedText)},
                 {}};
  for (const auto* figures : dates) chart.series.push_back(atDate(figures->date));
  for (int age = 0; age < comms::AgeClassCount; ++age) {
    chart.values.emplace_back();
    for (const auto* figures : dates)
      chart.values.back().push_back(double(figures->region.ageClasses[age]));
  }
  return chart;
}

BarChart fuelChart(const std::vector<const comms::FleetFigures*>& dates) {
  BarChart chart{
      "Quota dei mezzi per alimentazione", "Alimentazione", "% dei mezzi", true, {}, {}, {}};
  std::map<std::string, std::vector<std::optional<double>>> shares;
  for (std::size_t date = 0; date < dates.size(); ++date) {
    const comms::GroupFigures& region = dates[date]->region;
    chart.series.push_back(atDate(dates[date]->date));
    for (const auto& [fuel, count] : region.fuels) {
      auto& values = shares[fuel];
      values.resize(dates.size());
      values[date] = share(count, region.vehicles);
    }
  }
  for (auto& [fuel, values] : shares) {
    chart.categories.push_back(fuel.empty() ? std::string(comms::NotStatedText) : fuel);
    chart.values.push_back(std::move(values));
  }
  return chart;
}

BarChart accessibilityChart(const std::vector<const comms::FleetFigures*>& dates,
                            comms::FleetGrouping grouping) {
  const bool byCompany = grouping == comms::FleetGrouping::Company;
  BarChart chart{byCompany ? "Accessibilità per azienda" : "Accessibilità per ambito",
                 byCompany ? "Azienda" : "Ambito",
                 "% dei mezzi",
                 true,
                 {},
                 {},
                 {}};
  for (const auto* figures : dates)
    chart.series.push_back("Aria condizionata " + atDate(figures->date));
  for (const auto* figures : dates)
    chart.series.push_back("Pedana carrozzella " + atDate(figures->date));
  for (const comms::GroupFigures& group : dates.front()->groups) {
    if (group.vehicles == 0) continue;
    chart.categories.push_back(comms::CodeItemText(group.code, group.name));
    std::vector<std::optional<double>> values;
    for (bool ramp : {false, true})
      for (const auto* figures : dates) {
        const auto same = std::find_if(figures->groups.begin(), figures->groups.end(),
                                       [&](const auto& other) { return other.code == group.code; });
        if (same == figures->groups.end())
          values.emplace_back();
        else
          values.push_back(share(ramp ? same->withPedana : same->withAria, same->vehicles));
      }
    chart.values.push_back(std::move(values));
  }
  return chart;
}

}  // namespace

FleetStatisticsReport::FleetStatisticsReport(comms::FleetStatisticsChoice choice,
                                             std::time_t createdAt)
    : PrintReport(std::string(FleetStatisticsTitle), {}, createdAt),
      choice_(std::move(choice)),
      createdAt_(createdAt) {}

FleetStatisticsReport::~FleetStatisticsReport() = default;

bool FleetStatisticsReport::load(db::DatabaseConnection& connection, ui::Prompter& prompter) {
  prompter.beginBusy(true);
  db::ReadSnapshot snapshot(connection);
  bool read = comms::ComputeFleetFigures(connection, choice_, choice_.date, now_);
  before_.reset();
  if (read && choice_.compareDate) {
    before_.emplace();
    read = comms::ComputeFleetFigures(connection, choice_, *choice_.compareDate, *before_);
  }
  buildSections();
  return read;
}

void FleetStatisticsReport::buildSections() {
  sections_.clear();
  blocks_.clear();
  charts_.clear();
  tables_.clear();
  const bool anyVehicle = now_.registerVehicles > 0 || (before_ && before_->registerVehicles > 0);
  if (!anyVehicle) return;
  tables_ = comms::FigureTables(now_, choice_.grouping);
  if (before_)
    tables_ = comms::ComparedTables(tables_, comms::FigureTables(*before_, choice_.grouping),
                                    now_.date, before_->date);
  const auto dates = datesOf(now_, before_);
  charts_ = {ageChart(dates), fuelChart(dates), accessibilityChart(dates, choice_.grouping)};
  // Each chart follows the table of its figures.
  const std::vector<std::pair<std::size_t, std::optional<std::size_t>>> order = {
      {0, {}}, {1, {}}, {2, 0}, {3, 1}, {4, 2}, {5, {}}};
  for (const auto& [table, chart] : order) {
    addSection(std::make_unique<TableSection>(tables_[table]), &tables_[table]);
    if (chart) addSection(std::make_unique<ChartSection>(charts_[*chart]), nullptr);
  }
}

// A section without rows is left out, title and all.
void FleetStatisticsReport::addSection(std::unique_ptr<ReportSection> section,
                                       const comms::FigureTable* table) {
  const std::size_t rows = section->rowCount();
  if (rows == 0) return;
  const std::size_t index = sections_.size();
  sections_.push_back(std::move(section));
  blocks_.push_back({index, std::nullopt, table});
  for (std::size_t row = 0; row < rows; ++row) blocks_.push_back({index, row, table});
}

int FleetStatisticsReport::contentTop() const {
  return top_ + 3 * lineHeight_ + 10 + 30 + 50;
}

int FleetStatisticsReport::blockHeight(std::size_t block, bool opensPage) const {
  const ReportSection& section = *sections_[blocks_[block].section];
  if (!blocks_[block].row) return TitleGap + lineHeight_ + 60 + section.headHeight();
  return section.rowHeight() + (opensPage ? section.headHeight() : 0);
}

void FleetStatisticsReport::paginate(Canvas& canvas, const PageGeometry& geometry,
                                     PageTable& pages) {
  left_ = geometry.left;
  top_ = geometry.top;
  width_ = geometry.pageWidth - geometry.left - geometry.right;
  bottom_ = geometry.pageHeight - geometry.bottom;
  canvas.selectFont(ReportFont);
  canvas.selectPen(ReportPenWidth);
  lineHeight_ = canvas.measure(ReportBanner).height;
  for (const auto& section : sections_) section->measure(canvas, lineHeight_, width_);
  pages.set(1, 0);
  int page = 1;
  int y = contentTop();
  for (std::size_t block = 0; block < blocks_.size(); ++block) {
    const bool opensPage = y == contentTop();
    // A title keeps its section's first row with it.
    const int needed =
        blockHeight(block, opensPage) + (blocks_[block].row ? 0 : blockHeight(block + 1, false));
    if (!opensPage && y + needed > bottom_) {
      pages.set(++page, static_cast<long>(block));
      y = contentTop();
    }
    y += blockHeight(block, y == contentTop());
  }
  setPageCount(blocks_.empty() ? 0 : page);
}

double FleetStatisticsReport::widthFitting() const {
  int needed = 0;
  for (const auto& section : sections_) needed = std::max(needed, section->neededWidth());
  return needed > width_ ? static_cast<double>(width_) / needed : 1.0;
}

bool FleetStatisticsReport::closesSection(std::size_t block, std::size_t pageEnd) const {
  return block + 1 >= pageEnd || blocks_[block + 1].section != blocks_[block].section;
}

void FleetStatisticsReport::drawPage(Canvas& canvas, int page, const PageTable& pages) {
  if (page < 1 || page > pageCount()) return;
  const long first = pages.firstRow(page);
  const long next = page < pageCount() ? pages.firstRow(page + 1) : static_cast<long>(rowCount());
  if (first < 0 || next < first) return;
  canvas.selectFont(ReportFont);
  canvas.selectPen(ReportPenWidth);
  drawHeader(canvas, page);
  int y = contentTop();
  int headTop = y;
  const auto end = static_cast<std::size_t>(next);
  for (auto block = static_cast<std::size_t>(first); block < end; ++block) {
    const ReportSection& section = *sections_[blocks_[block].section];
    if (!blocks_[block].row) {
      canvas.selectFont(TitleFont);
      canvas.text(left_, y + TitleGap, section.title());
      canvas.selectFont(ReportFont);
      y += TitleGap + lineHeight_ + 60;
    }
    if (!blocks_[block].row || block == static_cast<std::size_t>(first)) {
      headTop = y;
      section.drawHead(canvas, left_, y);
      y += section.headHeight();
    }
    if (blocks_[block].row) {
      section.drawRow(canvas, left_, *blocks_[block].row, y);
      y += section.rowHeight();
    }
    if (closesSection(block, end)) section.drawEnd(canvas, left_, headTop, y);
  }
}

void FleetStatisticsReport::drawHeader(Canvas& canvas, int page) const {
  const HeaderLines lines = headerLines(0);
  const auto rightAligned = [&](int y, const std::string& text) {
    canvas.text(left_ + width_ - canvas.measure(text).width, y, text);
  };
  const int timeY = top_ + lineHeight_ + 10;
  canvas.text(left_, top_, lines.first);
  rightAligned(top_, PageNumberText(page, pageCount()));
  canvas.text(left_, timeY, lines.second);
  rightAligned(timeY, CreationTimeText(createdAt_));
  canvas.text(left_, timeY + lineHeight_ + 30, lines.third);
}

std::vector<std::string> FleetStatisticsReport::cells(std::size_t block) const {
  const Block& at = blocks_[block];
  if (at.table == nullptr || !at.row) return {};
  return comms::RowTexts(*at.table, at.table->rows[*at.row]);
}

HeaderLines FleetStatisticsReport::headerLines(std::size_t /*firstBlock*/) const {
  std::string second = std::string(FleetStatisticsTitle) + " al " + choice_.date;
  if (choice_.compareDate) second += " confrontate con il " + *choice_.compareDate;
  std::string third =
      choice_.grouping == comms::FleetGrouping::Company ? "Per azienda" : "Per ambito";
  if (choice_.company >= 0)
    third += " - solo l'Azienda " + comms::CodeItemText(choice_.company, choice_.companyName);
  third += " - mezzi in servizio alla data: " + std::to_string(now_.region.vehicles);
  return {std::string(ReportBanner), second, third};
}

}  // namespace veltra::reports
