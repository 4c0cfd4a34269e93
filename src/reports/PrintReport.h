#pragma once
// The frame every printed list shares: a table of rows under a three-line
// header and a grey heading band, split into pages by one bottom-limit test
// that both the pagination pass and the drawing of a page apply, so that a
// page draws exactly the rows pagination gave it. A report supplies its
// columns, the texts of its rows, its header lines and where its groups
// begin; every group opens a page of its own.

#include <cstddef>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "reports/Canvas.h"
#include "reports/PackedTexts.h"
#include "reports/PageTable.h"
#include "reports/PrintPagination.h"
#include "ui/Prompter.h"

namespace veltra::reports {

inline constexpr Font ReportFont{"Arial", 8, 400};
inline constexpr int ReportPenWidth = 2;
inline constexpr Rgb BandGrey{192, 192, 192};
// The first title line of every report.
inline constexpr std::string_view ReportBanner = "Veltra - \"DataBase Bus - Regione Ombrena\"";

enum class Align { Left, Right, Centre };

struct ColumnSpec {
  std::string_view heading;
  Align align = Align::Left;
  bool widthFromValues = true;  // false: the heading alone gives the width
  // When set, this text alone gives the width, for a column whose widest
  // value is known beforehand whatever the rows hold.
  std::string_view widthText = {};
};

struct ColumnPlace {
  int x = 0;  // left edge of the column's texts
  int width = 0;

  friend bool operator==(const ColumnPlace&, const ColumnPlace&) = default;
};

struct HeaderLines {
  std::string first;   // beside the page number
  std::string second;  // beside the creation time
  std::string third;
};

// "Pag. %d di %d" and the creation time "GG/MM/AAAA hh:mm" in local time.
std::string PageNumberText(int page, int pageCount);
std::string CreationTimeText(std::time_t createdAt);

class PrintReport;

// A report loaded without a row has nothing to show: the user is told so
// (information box) and false is returned.
bool HasRowsToPrint(const PrintReport& report, ui::Prompter& prompter);

class PrintReport {
 public:
  static constexpr int InitialMargin = 50;

  PrintReport(std::string title, std::vector<ColumnSpec> columns, std::time_t createdAt);
  virtual ~PrintReport() = default;

  virtual std::size_t rowCount() const = 0;

  // Measures the texts, places the columns and records where each page starts.
  // A report that is more than one table lays out its pages itself.
  virtual void paginate(Canvas& canvas, const PageGeometry& geometry, PageTable& pages);
  // Page n as pagination cut it; nothing for a page it did not make. Drawing
  // only reads the report: pages may be drawn at once on canvases of their own.
  virtual void drawPage(Canvas& canvas, int page, const PageTable& pages) const;

  const std::string& title() const { return title_; }
  int usableHeight() const { return usableHeight_; }
  int usableWidth() const { return usableWidth_; }
  int pageCount() const { return pageCount_; }
  int bandTop() const { return bandTop_; }
  const std::vector<ColumnPlace>& columns() const { return places_; }
  // Every row takes a line and 20 units of air.
  int rowHeight() const { return lineHeight_ + 20; }
  // A page takes no further row once y is below this.
  int bottomLimit() const { return topMargin_ + usableHeight_; }
  // The share of the table that fits across the usable width: 1 when it all does.
  virtual double widthFitting() const;

 protected:
  void setPageCount(int count) { pageCount_ = count; }
  // One text per column.
  virtual std::vector<std::string> cells(std::size_t row) const = 0;
  // The cells as the report keeps them, those of a row its first texts, when
  // it keeps them packed; none when it makes them on demand.
  virtual const PackedTexts* keptCells() const { return nullptr; }
  // The title lines of a page whose first row is given.
  virtual HeaderLines headerLines(std::size_t firstRow) const = 0;
  // True when the row begins a group; it then opens a page.
  virtual bool opensGroup(std::size_t /*row*/) const { return false; }

 private:
  struct HeaderLayout {
    int titleY;
    int timeY;
    int thirdY;
    int bandTop;
    int firstRowY;
  };

  void measureColumns(Canvas& canvas);
  // Every row's cells, packed.
  PackedTexts packCells() const;
  void placeColumns();
  HeaderLayout headerLayout() const;
  bool breaksBefore(std::size_t row, std::size_t pageFirstRow, int y) const;
  // Walks the rows as pagination does, telling each new page from 2 on and
  // its first row; stops early when told false. The number of pages.
  int walkPages(const std::function<bool(int, std::size_t)>& newPage) const;
  long firstRowOf(int page, const PageTable& pages) const;

  int drawHeader(Canvas& canvas, int page, std::size_t firstRow) const;
  void drawBand(Canvas& canvas) const;
  void drawRow(Canvas& canvas, std::size_t row, int y) const;
  void drawClosingRules(Canvas& canvas, int y) const;
  void drawRightAligned(Canvas& canvas, int y, std::string_view text) const;
  int tableLeft() const { return places_.front().x - 20; }
  int tableRight() const { return places_.back().x + places_.back().width + 20; }

  std::string title_;
  int topMargin_ = InitialMargin;
  int leftMargin_ = InitialMargin;
  int usableHeight_ = 0;
  int usableWidth_ = 0;
  int pageCount_ = 0;
  std::time_t createdAt_;
  std::vector<ColumnSpec> specs_;
  int lineHeight_ = 0;
  int bandTop_ = 0;
  std::vector<ColumnPlace> places_;
};

}  // namespace veltra::reports
