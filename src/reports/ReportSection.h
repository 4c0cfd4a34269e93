#pragma once
// A table or a chart of the "Statistiche Parco" as its pages take it: a head
// (repeated on the next page when the page end cuts it), then its rows.

#include <cstddef>
#include <string>

#include "reports/Canvas.h"

namespace veltra::reports {

// The spacing tables and charts share, in canvas units.
inline constexpr int RuleOffset = 20;  // between a rule and the text beside it
inline constexpr int ColumnGap = 40;

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

}  // namespace veltra::reports
