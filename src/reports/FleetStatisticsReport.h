#pragma once
// "Statistiche Parco": the fleet figures at a date as tables and horizontal
// bar charts (age classes, fuel shares, accessibility per company or ambit),
// on the frame every report shares, so that the preview, the printer and the
// PDF writer show it as they show the lists. Each table and chart is a
// section: its title, a head (the grey band, or the legend and the scale),
// then its rows; a section cut by the page end takes its head again on the
// next page, and a title never stays alone at the foot of a page.

#include <cstddef>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "comms/FleetStatistics.h"
#include "comms/FleetStatisticsTables.h"
#include "db/DatabaseConnection.h"
#include "reports/BarChartSection.h"
#include "reports/PrintReport.h"
#include "ui/Prompter.h"

namespace veltra::reports {

inline constexpr std::string_view FleetStatisticsTitle = "Statistiche Parco";

class ReportSection;

class FleetStatisticsReport : public PrintReport {
 public:
  explicit FleetStatisticsReport(comms::FleetStatisticsChoice choice,
                                 std::time_t createdAt = std::time(nullptr));
  ~FleetStatisticsReport() override;

  // The figures of the date, and of the one to compare with, from one
  // snapshot of the register. False when reading failed (the failure was shown).
  bool load(db::DatabaseConnection& connection, ui::Prompter& prompter);

  // The tables every output shares.
  const std::vector<comms::FigureTable>& tables() const { return tables_; }
  const std::vector<BarChart>& charts() const { return charts_; }

  // The titles and rows of the sections; none when the register has no
  // vehicle in service at the dates.
  std::size_t rowCount() const override { return blocks_.size(); }

  void paginate(Canvas& canvas, const PageGeometry& geometry, PageTable& pages) override;
  void drawPage(Canvas& canvas, int page, const PageTable& pages) const override;
  double widthFitting() const override;

 protected:
  // The texts of a table's row: labels, then values.
  std::vector<std::string> cells(std::size_t block) const override;
  HeaderLines headerLines(std::size_t firstBlock) const override;

 private:
  // A section's title (row none) or one of its rows.
  struct Block {
    std::size_t section;
    std::optional<std::size_t> row;
    const comms::FigureTable* table;  // none for a chart
  };

  void buildSections();
  void addSection(std::unique_ptr<ReportSection> section, const comms::FigureTable* table);
  int contentTop() const;
  // The height a block takes at y's page, with the head it repeats when it opens the page.
  int blockHeight(std::size_t block, bool opensPage) const;
  bool closesSection(std::size_t block, std::size_t pageEnd) const;
  void drawHeader(Canvas& canvas, int page) const;

  comms::FleetStatisticsChoice choice_;
  comms::FleetFigures now_;
  std::optional<comms::FleetFigures> before_;
  std::vector<comms::FigureTable> tables_;
  std::vector<BarChart> charts_;
  std::vector<std::unique_ptr<ReportSection>> sections_;
  std::vector<Block> blocks_;
  int lineHeight_ = 0;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int bottom_ = 0;
  std::time_t createdAt_;
};

}  // namespace veltra::reports
