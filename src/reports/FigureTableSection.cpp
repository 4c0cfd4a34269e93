#include "reports/FigureTableSection.h"

#include <algorithm>

#include "reports/PrintReport.h"

namespace veltra::reports {

void FigureTableSection::measure(Canvas& canvas, int lineHeight, int /*width*/) {
  lineHeight_ = lineHeight;
  std::vector<std::vector<std::string>> texts{headings(), subheadings()};
  for (const comms::FigureRow& row : table_.rows) texts.push_back(comms::RowTexts(table_, row));
  widths_.assign(texts.front().size(), 0);
  for (std::size_t line = 0; line < texts.size(); ++line)
    for (std::size_t column = 0; column < texts[line].size(); ++column)
      if (line < 2 || !isNote(line - 1, column))
        widths_[column] = std::max(widths_[column], canvas.measure(texts[line][column]).width);
}

int FigureTableSection::headHeight() const {
  return headLines() * lineHeight_ + 2 * RuleOffset;
}

void FigureTableSection::drawHead(Canvas& canvas, int left, int y) const {
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

void FigureTableSection::drawRow(Canvas& canvas, int left, std::size_t row, int y) const {
  canvas.line(left, y, left + right(), y);
  const auto texts = comms::RowTexts(table_, table_.rows[row]);
  for (std::size_t column = 0; column < texts.size(); ++column) {
    if (isNote(row + 1, column))
      canvas.text(left + x(column), y + 10, texts[column]);
    else
      drawCell(canvas, left, column, y + 10, texts[column]);
  }
}

void FigureTableSection::drawEnd(Canvas& canvas, int left, int headTop, int y) const {
  canvas.line(left, y, left + right(), y);
  for (std::size_t column = 0; column < widths_.size(); ++column)
    if (column == 0 || !noteBetween(column))
      canvas.line(left + x(column) - RuleOffset, headTop, left + x(column) - RuleOffset, y);
  canvas.line(left + right(), headTop, left + right(), y);
}

std::vector<std::string> FigureTableSection::headings() const {
  std::vector<std::string> texts = table_.labelHeadings;
  for (const comms::FigureColumn& column : table_.columns) texts.push_back(column.heading);
  return texts;
}

// The dates under the headings beside two dates; the labels have none.
std::vector<std::string> FigureTableSection::subheadings() const {
  std::vector<std::string> texts(table_.labelHeadings.size());
  for (const comms::FigureColumn& column : table_.columns) texts.push_back(column.subheading);
  return texts;
}

int FigureTableSection::headLines() const {
  return table_.columns.empty() || table_.columns.front().subheading.empty() ? 1 : 2;
}

bool FigureTableSection::isValue(std::size_t column) const {
  return column >= table_.labelHeadings.size();
}

// A note runs over the value columns: line 0 is the headings.
bool FigureTableSection::isNote(std::size_t line, std::size_t column) const {
  return line > 0 && isValue(column) && !table_.rows[line - 1].note.empty();
}

bool FigureTableSection::noteBetween(std::size_t column) const {
  return isValue(column) && column > table_.labelHeadings.size() &&
         std::any_of(table_.rows.begin(), table_.rows.end(),
                     [](const comms::FigureRow& row) { return !row.note.empty(); });
}

int FigureTableSection::x(std::size_t column) const {
  int at = RuleOffset;
  for (std::size_t i = 0; i < column; ++i) at += widths_[i] + ColumnGap;
  return at;
}

int FigureTableSection::right() const {
  return x(widths_.size() - 1) + widths_.back() + RuleOffset;
}

void FigureTableSection::drawCell(Canvas& canvas, int left, std::size_t column, int y,
                                  const std::string& text) const {
  if (text.empty()) return;
  const int shift = isValue(column) ? widths_[column] - canvas.measure(text).width : 0;
  canvas.text(left + x(column) + shift, y, text);
}

}  // namespace veltra::reports
