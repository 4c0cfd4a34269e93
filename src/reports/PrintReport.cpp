#include "reports/PrintReport.h"

#include <algorithm>
#include <cstdio>

#include "db/platform/LocalTime.h"

namespace veltra::reports {

namespace {

// The air around the table: the band and the rules stand this far from the
// column texts, and columns are this far apart.
constexpr int RuleOffset = 20;
constexpr int ColumnGap = 40;

}  // namespace

std::string PageNumberText(int page, int pageCount) {
  char text[64];
  std::snprintf(text, sizeof text, "Pag. %d di %d", page, pageCount);
  return text;
}

std::string CreationTimeText(std::time_t createdAt) {
  const std::tm local = platform::LocalTime(createdAt);
  char text[64];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d", local.tm_mday, local.tm_mon + 1,
                local.tm_year + 1900, local.tm_hour, local.tm_min);
  return text;
}

bool HasRowsToPrint(const PrintReport& report, ui::Prompter& prompter) {
  if (report.rowCount() > 0) return true;
  prompter.message("Non ci sono dati da stampare !!!", ui::Icon::Information);
  return false;
}

PrintReport::PrintReport(std::string title, std::vector<ColumnSpec> columns, std::time_t createdAt)
    : title_(std::move(title)), createdAt_(createdAt), specs_(std::move(columns)) {}

void PrintReport::paginate(Canvas& canvas, const PageGeometry& geometry, PageTable& pages) {
  topMargin_ = geometry.top;
  leftMargin_ = geometry.left;
  usableHeight_ = geometry.pageHeight - geometry.bottom - geometry.top;
  usableWidth_ = geometry.pageWidth - geometry.right - geometry.left;
  canvas.selectFont(ReportFont);
  canvas.selectPen(ReportPenWidth);
  measureColumns(canvas);
  placeColumns();
  bandTop_ = headerLayout().bandTop;
  pages.set(1, 0);
  pageCount_ = walkPages([&](int page, std::size_t row) {
    pages.set(page, static_cast<long>(row));
    return true;
  });
}

// A column is as wide as the widest of its texts and its heading.
void PrintReport::measureColumns(Canvas& canvas) {
  places_.assign(specs_.size(), {});
  lineHeight_ = 0;
  auto widen = [&](std::size_t column, int width) {
    places_[column].width = std::max(places_[column].width, width);
  };
  for (std::size_t column = 0; column < specs_.size(); ++column) {
    const ColumnSpec& spec = specs_[column];
    const TextSize size = canvas.measure(spec.widthText.empty() ? spec.heading : spec.widthText);
    widen(column, size.width);
    lineHeight_ = std::max(lineHeight_, size.height);
  }
  const PackedTexts* kept = keptCells();
  const PackedTexts packed = kept != nullptr ? PackedTexts(0) : packCells();
  const PackedTexts& cells = kept != nullptr ? *kept : packed;
  std::vector<std::string_view> texts;
  texts.reserve(rowCount());
  for (std::size_t column = 0; column < specs_.size(); ++column) {
    if (!specs_[column].widthFromValues) continue;
    texts.clear();
    for (std::size_t row = 0; row < rowCount(); ++row) texts.push_back(cells.text(row, column));
    widen(column, canvas.widest(texts));
  }
}

PackedTexts PrintReport::packCells() const {
  PackedTexts packed(specs_.size());
  for (std::size_t row = 0; row < rowCount(); ++row) {
    const std::vector<std::string> texts = cells(row);
    for (std::size_t column = 0; column < specs_.size(); ++column)
      packed.append(column < texts.size() ? std::string_view(texts[column]) : std::string_view());
  }
  return packed;
}

void PrintReport::placeColumns() {
  int x = leftMargin_ + RuleOffset;
  for (ColumnPlace& place : places_) {
    place.x = x;
    x += place.width + ColumnGap;
  }
  const int spare = usableWidth_ - tableRight();
  if (spare > 0)
    for (ColumnPlace& place : places_) place.x += spare / 2;
}

double PrintReport::widthFitting() const {
  const int needed = tableRight() - leftMargin_;
  return needed > usableWidth_ ? static_cast<double>(usableWidth_) / needed : 1.0;
}

PrintReport::HeaderLayout PrintReport::headerLayout() const {
  HeaderLayout layout{};
  layout.titleY = topMargin_;
  layout.timeY = layout.titleY + lineHeight_ + 10;
  layout.thirdY = layout.timeY + lineHeight_ + 30;
  layout.bandTop = layout.thirdY + lineHeight_ + 50;
  layout.firstRowY = layout.bandTop + lineHeight_ + 2 * RuleOffset;
  return layout;
}

// A page always takes its first row, even when the header alone fills the
// paper: otherwise that row would be printed on no page at all.
bool PrintReport::breaksBefore(std::size_t row, std::size_t pageFirstRow, int y) const {
  return row > pageFirstRow && (opensGroup(row) || y > bottomLimit());
}

int PrintReport::walkPages(const std::function<bool(int, std::size_t)>& newPage) const {
  const int top = headerLayout().firstRowY;
  int page = 1;
  std::size_t pageFirstRow = 0;
  int y = top;
  for (std::size_t row = 0; row < rowCount(); ++row) {
    if (breaksBefore(row, pageFirstRow, y)) {
      ++page;
      if (!newPage(page, row)) break;
      pageFirstRow = row;
      y = top;
    }
    y += rowHeight();
  }
  return page;
}

// Pages beyond the table are found by walking the rows again: slow, but only
// for reports of thousands of pages, and they still print every row.
long PrintReport::firstRowOf(int page, const PageTable& pages) const {
  const long recorded = pages.firstRow(page);
  if (recorded >= 0) return recorded;
  long found = -1;
  walkPages([&](int walked, std::size_t row) {
    if (walked == page) found = static_cast<long>(row);
    return walked < page;
  });
  return found;
}

void PrintReport::drawPage(Canvas& canvas, int page, const PageTable& pages) const {
  if (page < 1 || page > pageCount_) return;
  const long first = firstRowOf(page, pages);
  if (first < 0 || static_cast<std::size_t>(first) >= rowCount()) return;
  const auto firstRow = static_cast<std::size_t>(first);
  canvas.selectFont(ReportFont);
  canvas.selectPen(ReportPenWidth);
  int y = drawHeader(canvas, page, firstRow);
  for (std::size_t row = firstRow; row < rowCount() && !breaksBefore(row, firstRow, y); ++row) {
    drawRow(canvas, row, y);
    y += rowHeight();
  }
  drawClosingRules(canvas, y);
}

int PrintReport::drawHeader(Canvas& canvas, int page, std::size_t firstRow) const {
  const HeaderLayout layout = headerLayout();
  const HeaderLines lines = headerLines(firstRow);
  canvas.text(leftMargin_, layout.titleY, lines.first);
  drawRightAligned(canvas, layout.titleY, PageNumberText(page, pageCount_));
  canvas.text(leftMargin_, layout.timeY, lines.second);
  drawRightAligned(canvas, layout.timeY, CreationTimeText(createdAt_));
  canvas.text(leftMargin_, layout.thirdY, lines.third);
  drawBand(canvas);
  return layout.firstRowY;
}

void PrintReport::drawRightAligned(Canvas& canvas, int y, std::string_view text) const {
  canvas.text(leftMargin_ + usableWidth_ - canvas.measure(text).width, y, text);
}

void PrintReport::drawBand(Canvas& canvas) const {
  const int bottom = bandTop_ + lineHeight_ + 2 * RuleOffset;
  canvas.fillRect(tableLeft(), bandTop_, tableRight(), bottom, BandGrey);
  canvas.setTextBackground(BandGrey);
  canvas.line(tableLeft(), bandTop_, tableRight(), bandTop_);
  for (std::size_t column = 0; column < places_.size(); ++column)
    canvas.text(places_[column].x, bandTop_ + RuleOffset, specs_[column].heading);
  canvas.setTextBackground(White);
  for (const ColumnPlace& place : places_)
    canvas.line(place.x - RuleOffset, bandTop_, place.x - RuleOffset, bottom);
}

void PrintReport::drawRow(Canvas& canvas, std::size_t row, int y) const {
  canvas.line(tableLeft(), y, tableRight(), y);
  const PackedTexts* kept = keptCells();
  const std::vector<std::string> made = kept != nullptr ? std::vector<std::string>() : cells(row);
  for (std::size_t column = 0; column < places_.size(); ++column) {
    const ColumnPlace& place = places_[column];
    const std::string_view text = kept != nullptr ? kept->text(row, column) : made[column];
    if (text.empty()) continue;
    int x = place.x;
    if (specs_[column].align == Align::Right)
      x += place.width - canvas.measure(text).width;
    else if (specs_[column].align == Align::Centre)
      x += (place.width - canvas.measure(text).width) / 2;
    canvas.text(x, y + 10, text);
  }
}

// The bottom rule stops 10 short of the right border.
void PrintReport::drawClosingRules(Canvas& canvas, int y) const {
  canvas.line(tableLeft(), y, tableRight() - 10, y);
  for (const ColumnPlace& place : places_)
    canvas.line(place.x - RuleOffset, bandTop_, place.x - RuleOffset, y);
  canvas.line(tableRight(), bandTop_, tableRight(), y);
}

}  // namespace veltra::reports
