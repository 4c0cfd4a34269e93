#include "reports/FleetStatisticsReport.h"

#include <algorithm>

#include "reports/FigureTableSection.h"
#include "reports/FleetCharts.h"

namespace veltra::reports {

namespace {

constexpr int TitleGap = 120;  // air above a section's title
constexpr Font TitleFont{"Arial", 10, 700};

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
  charts_ = FleetCharts(now_, before_, choice_.grouping);
  // Each chart follows the table of its figures.
  const std::vector<std::pair<std::size_t, std::optional<std::size_t>>> order = {
      {0, {}}, {1, {}}, {2, 0}, {3, 1}, {4, 2}, {5, {}}};
  for (const auto& [table, chart] : order) {
    addSection(std::make_unique<FigureTableSection>(tables_[table]), &tables_[table]);
    if (chart) addSection(std::make_unique<BarChartSection>(charts_[*chart]), nullptr);
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

void FleetStatisticsReport::drawPage(Canvas& canvas, int page, const PageTable& pages) const {
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
