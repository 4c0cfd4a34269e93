// The vehicle lists over a register built by importing communications (see
// ExportDatabase.h): in service are OM042GH and OM513AB of company 3, ambit
// 4, and OM512AB and OM777EF of company 12, ambit 3; two more vehicles are
// de-registered.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comms/ExportDatabase.h"
#include "reports/PrintPagination.h"
#include "reports/VehicleListChoice.h"
#include "reports/VehicleListReport.h"
#include "support/RecordingCanvas.h"

namespace veltra::reports {
namespace {

using testing::RecordingCanvas;

const std::string ByCompanyGroup12 =
    "Azienda 12 - Alfa Citt\u00e0 Autolinee         Ambito 3 - Ambito Nord";

class VehicleListReportTest : public testing::ExportDatabaseTest {
 protected:
  VehicleListReport loaded(VehicleListOrder order, const VehicleListChoice& choice = {}) {
    VehicleListReport report(order, choice, 0);
    EXPECT_TRUE(report.load(*connection, prompter));
    return report;
  }

  std::vector<std::string> plates(const VehicleListReport& report) {
    std::vector<std::string> found;
    for (std::size_t row = 0; row < report.rowCount(); ++row)
      found.push_back(report.cells(row).front());
    return found;
  }

  // The text drawn in the column, on the row of page 1 whose plate is given.
  testing::DrawnText cellOf(const VehicleListReport& report, std::string_view plate,
                            std::size_t column) {
    const int y = canvas.textsEqualTo(plate).at(0).y;
    const int x = report.columns()[column].x;
    const int nextX =
        column + 1 < report.columns().size() ? report.columns()[column + 1].x : 1 << 30;
    for (const auto& text : canvas.texts)
      if (text.y == y && text.x >= x && text.x < nextX) return text;
    return {};
  }

  RecordingCanvas canvas;
  PrintPagination job;
};

INSTANTIATE_TEST_SUITE_P(Engines, VehicleListReportTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(VehicleListReportTest, ListsVehiclesInServiceGroupByGroup) {
  auto report = loaded(VehicleListOrder::ByCompany);
  EXPECT_EQ(report.title(), "Rubrica Mezzi x Azienda");
  EXPECT_EQ(plates(report), (std::vector<std::string>{"OM042GH", "OM513AB", "OM512AB", "OM777EF"}));
  EXPECT_EQ(prompter.busyCalls, std::vector<bool>{true});

  job.begin(report, canvas);
  EXPECT_EQ(report.pageCount(), 2);
  EXPECT_EQ(job.pages().firstRow(2), 2);
  job.drawPage(report, canvas, 2);
  EXPECT_EQ(canvas.textsEqualTo(ByCompanyGroup12).size(), 1u);
  EXPECT_EQ(canvas.textsEqualTo("Veltra - \"DataBase Bus - Regione Ombrena\"").size(), 1u);
  EXPECT_EQ(canvas.textsEqualTo("Elenco Mezzi").size(), 1u);
  EXPECT_EQ(canvas.textsEqualTo("Pag. 2 di 2").size(), 1u);
  EXPECT_TRUE(canvas.textsEqualTo("OM042GH").empty());
  EXPECT_EQ(canvas.textsEqualTo("OM777EF").size(), 1u);
  EXPECT_EQ(canvas.textsEqualTo("Ultimo Agg.").size(), 1u);
}

TEST_P(VehicleListReportTest, ByAmbitPutsTheAmbitFirst) {
  auto report = loaded(VehicleListOrder::ByAmbit);
  EXPECT_EQ(report.title(), "Rubrica Mezzi x Ambito");
  EXPECT_EQ(plates(report), (std::vector<std::string>{"OM512AB", "OM777EF", "OM042GH", "OM513AB"}));
  job.begin(report, canvas);
  job.drawPage(report, canvas, 1);
  EXPECT_EQ(
      canvas.textsEqualTo("Ambito 3 - Ambito Nord         Azienda 12 - Alfa Citt\u00e0 Autolinee")
          .size(),
      1u);
}

TEST_P(VehicleListReportTest, ChosenCompanyOrAmbitNarrowsTheList) {
  EXPECT_EQ(plates(loaded(VehicleListOrder::ByCompany, {false, 12, true, -1})),
            (std::vector<std::string>{"OM512AB", "OM777EF"}));
  EXPECT_EQ(plates(loaded(VehicleListOrder::ByCompany, {true, -1, false, 4})),
            (std::vector<std::string>{"OM042GH", "OM513AB"}));
  EXPECT_EQ(loaded(VehicleListOrder::ByCompany, {false, 7, true, -1}).rowCount(), 0u);
}

TEST_P(VehicleListReportTest, CellsShowNumbersAlignedAndFlagsOnlyWhenTrue) {
  auto report = loaded(VehicleListOrder::ByCompany, {false, 12, true, -1});
  job.begin(report, canvas);
  job.drawPage(report, canvas, 1);
  const auto rightEdge = [&](std::size_t column) {
    return report.columns()[column].x + report.columns()[column].width;
  };
  const auto length = cellOf(report, "OM512AB", 11);
  EXPECT_EQ(length.text, "12,000");
  EXPECT_EQ(length.x + 6 * RecordingCanvas::CharWidth, rightEdge(11));
  const auto height = cellOf(report, "OM512AB", 12);
  EXPECT_EQ(height.text, "0,3");
  EXPECT_EQ(height.x + 3 * RecordingCanvas::CharWidth, rightEdge(12));
  EXPECT_EQ(cellOf(report, "OM512AB", 8).text, "26");
  EXPECT_EQ(cellOf(report, "OM512AB", 17).text, "30/09/2024");
  // "SI" centred in "AriaCond": (320 - 80) / 2.
  EXPECT_EQ(cellOf(report, "OM512AB", 13).x, report.columns()[13].x + 120);

  canvas.clear();
  auto company3 = loaded(VehicleListOrder::ByCompany, {false, 3, true, -1});
  job.begin(company3, canvas);
  job.drawPage(company3, canvas, 1);
  EXPECT_EQ(cellOf(company3, "OM042GH", 13).text, "");  // no air conditioning
  EXPECT_EQ(cellOf(company3, "OM042GH", 14).text, "");  // no ramp
  EXPECT_EQ(cellOf(company3, "OM513AB", 13).text, "SI");
}

TEST_P(VehicleListReportTest, GroupLongerThanAPageKeepsItsHeaderLine) {
  auto report = loaded(VehicleListOrder::ByCompany, {false, 12, true, -1});
  // Rows start at 500 and take 100: a bottom limit of 650 takes both rows,
  // one of 550 only the first.
  RecordingCanvas shortPaper(7016, 700);
  job.begin(report, shortPaper);
  EXPECT_EQ(report.pageCount(), 1);
  RecordingCanvas tinyPaper(7016, 600);
  job.begin(report, tinyPaper);
  EXPECT_EQ(report.pageCount(), 2);
  job.drawPage(report, tinyPaper, 2);
  EXPECT_EQ(tinyPaper.textsEqualTo(ByCompanyGroup12).size(), 1u);
  EXPECT_EQ(tinyPaper.textsEqualTo("OM777EF").size(), 1u);
  EXPECT_TRUE(tinyPaper.textsEqualTo("OM512AB").empty());
}

TEST_P(VehicleListReportTest, ColumnsAreCentredByHalfTheSpareWidth) {
  auto report = loaded(VehicleListOrder::ByCompany);
  // Wider than A4: the table starts at the left margin.
  job.begin(report, canvas);
  EXPECT_EQ(report.columns().front().x, 50 + 20);

  RecordingCanvas widePaper(12000, 4961);
  job.begin(report, widePaper);
  const auto& columns = report.columns();
  const int span = columns.back().x + columns.back().width - columns.front().x;
  const int spare = report.usableWidth() - (50 + 20 + span + 20);
  ASSERT_GT(spare, 0);
  EXPECT_EQ(columns.front().x, 50 + 20 + spare / 2);
  for (std::size_t i = 1; i < columns.size(); ++i)
    EXPECT_EQ(columns[i].x, columns[i - 1].x + columns[i - 1].width + 40);
  // "Telaio" is as wide as the longest chassis, "Seduti" as its heading.
  EXPECT_EQ(columns[1].width, 17 * RecordingCanvas::CharWidth);
  EXPECT_EQ(columns[8].width, 6 * RecordingCanvas::CharWidth);
}

TEST_P(VehicleListReportTest, DialogOffersCompaniesAndAmbitsWithVehiclesByName) {
  const auto companies = VehicleListCompanyItems(*connection);
  EXPECT_EQ(companies, (std::vector<comms::CodeItem>{{12, "0012 - Alfa Citt\u00e0 Autolinee"},
                                                     {3, "0003 - Beta Trasporti"},
                                                     {7, "0007 - Gamma Viaggi"}}));
  const auto ambits = VehicleListAmbitItems(*connection);
  EXPECT_EQ(ambits.size(), 3u);
  EXPECT_EQ(VehicleListDialogTitle(VehicleListDialog::Financing), "Rubrica Mezzi x Finanziamento");

  const auto chosen =
      AcceptVehicleListForm({false, "12", true, "", false}, companies, ambits, prompter);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(chosen->azienda, 12);
  EXPECT_EQ(chosen->ambito, -1);
  EXPECT_FALSE(chosen->preview);
  EXPECT_TRUE(prompter.messages.empty());

  EXPECT_FALSE(AcceptVehicleListForm({false, "0009 - Delta Bus", true, "", true}, companies, ambits,
                                     prompter));
  EXPECT_FALSE(AcceptVehicleListForm({true, "", false, "0099", true}, companies, ambits, prompter));
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0].text, comms::InvalidCompanyMessage);
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Stop);
  EXPECT_EQ(prompter.messages[1].text, comms::InvalidAmbitMessage);
}

}  // namespace
}  // namespace veltra::reports
