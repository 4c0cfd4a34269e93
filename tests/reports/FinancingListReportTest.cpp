// The financing list over the register of ExportDatabase.h: OM201CD (company
// 12), OM042GH (company 3) and OM007RA (company 7) have no act, the first and
// the last are de-registered; OM513AB (company 3), OM512AB and OM777EF
// (company 12) each have an act of their own.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comms/ExportDatabase.h"
#include "reports/FinancingListReport.h"
#include "reports/PrintPagination.h"
#include "support/RecordingCanvas.h"

namespace veltra::reports {
namespace {

using testing::RecordingCanvas;

std::string actLine(const std::string& act) {
  return "Atto regionale erogazione finanziamento: " + act;
}

class FinancingListReportTest : public testing::ExportDatabaseTest {
 protected:
  FinancingListReport loaded(const VehicleListChoice& choice = {}) {
    FinancingListReport report(choice, 0);
    EXPECT_TRUE(report.load(*connection, prompter));
    return report;
  }

  std::vector<std::string> plates(const FinancingListReport& report) {
    std::vector<std::string> found;
    for (const auto& row : report.rows().rows()) found.push_back(row.vehicle.targa);
    return found;
  }

  void setBusField(const std::string& telaio, const std::string& field, const std::string& value) {
    db::TableCursor bus(connection.get(), "bus");
    ASSERT_TRUE(bus.SelectIndex("codice"));
    ASSERT_TRUE(bus.Seek({&telaio, 1}));
    ASSERT_TRUE(bus.Edit());
    ASSERT_TRUE(bus.SetField(field, value));
    ASSERT_TRUE(bus.Update());
  }

  // The texts drawn on the row of the plate, left to right.
  std::vector<std::string> rowOf(std::string_view plate) {
    return canvas.textsOnLine(canvas.textsEqualTo(plate).at(0).y);
  }

  RecordingCanvas canvas;
  PrintPagination job;
};

INSTANTIATE_TEST_SUITE_P(Engines, FinancingListReportTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(FinancingListReportTest, GroupsEveryVehicleByActThoseWithoutOneFirst) {
  auto report = loaded();
  EXPECT_EQ(report.title(), "Rubrica Mezzi (Finanziamento)");
  EXPECT_EQ(plates(report), (std::vector<std::string>{"OM201CD", "OM042GH", "OM007RA", "OM513AB",
                                                      "OM512AB", "OM777EF"}));
  EXPECT_EQ(prompter.busyCalls, std::vector<bool>{true});

  job.begin(report, canvas);
  EXPECT_EQ(report.pageCount(), 4);
  EXPECT_EQ(job.pages().firstRow(2), 3);
  EXPECT_EQ(job.pages().firstRow(4), 5);
  job.drawPage(report, canvas, 1);
  EXPECT_EQ(canvas.textsEqualTo(actLine("ASSENTE")).size(), 1u);
  EXPECT_EQ(canvas.textsEqualTo("Elenco Mezzi").size(), 1u);
  EXPECT_EQ(canvas.textsEqualTo("Pag. 1 di 4").size(), 1u);
  EXPECT_EQ(canvas.textsEqualTo("Radiazione").size(), 1u);
  EXPECT_TRUE(canvas.textsEqualTo("OM513AB").empty());
  // De-registered, with its radiation date before the last update.
  EXPECT_EQ(rowOf("OM007RA"),
            (std::vector<std::string>{"Gamma Viaggi", "Gamma Viaggi", "OM007RA", "RAD0000000000007",
                                      "LB7", "15/01/2005", "Setra S 315", "0,00", "0,00", "0,00",
                                      "01/02/2005", "30/06/2024", "30/06/2024", "01/07/2024"}));

  canvas.clear();
  job.drawPage(report, canvas, 2);
  EXPECT_EQ(canvas.textsEqualTo(actLine("DGR 388/2015")).size(), 1u);
  EXPECT_EQ(canvas.textsEqualTo("OM513AB").size(), 1u);
  EXPECT_TRUE(canvas.textsEqualTo("OM512AB").empty());
}

TEST_P(FinancingListReportTest, ActsDifferingOnlyByTrailingBlanksShareTheirPages) {
  setBusField("WEB62801313100877", "atto", "DGR 412/2014   ");
  auto report = loaded();
  job.begin(report, canvas);
  EXPECT_EQ(report.pageCount(), 3);
  job.drawPage(report, canvas, 2);
  EXPECT_EQ(canvas.textsEqualTo(actLine("DGR 412/2014")).size(), 1u);
  EXPECT_EQ(canvas.textsEqualTo("OM512AB").size(), 1u);
  EXPECT_EQ(canvas.textsEqualTo("OM513AB").size(), 1u);
}

TEST_P(FinancingListReportTest, AnActSpeltInTwoCasesIsOneGroupUnderItsFirstSpelling) {
  // By company name: Alfa's and Gamma's capitals enclose Beta's small letters.
  setBusField("ZCFA1AD0002512345", "atto", "DGR 5/2011");
  setBusField("WEB62801313100877", "atto", "dgr 5/2011");
  setBusField("RAD0000000000007", "atto", "DGR 5/2011");
  auto report = loaded();
  EXPECT_EQ(plates(report), (std::vector<std::string>{"OM201CD", "OM042GH", "OM512AB", "OM513AB",
                                                      "OM007RA", "OM777EF"}));
  job.begin(report, canvas);
  EXPECT_EQ(report.pageCount(), 3);
  job.drawPage(report, canvas, 2);
  EXPECT_EQ(canvas.textsEqualTo(actLine("DGR 5/2011")).size(), 1u);
  for (const char* plate : {"OM512AB", "OM513AB", "OM007RA"})
    EXPECT_EQ(canvas.textsEqualTo(plate).size(), 1u) << plate;

  // Paper for one row a page: Beta's page goes on with the group's spelling.
  RecordingCanvas shortPaper(20000, 600);
  PrintPagination shortJob;
  shortJob.begin(report, shortPaper);
  EXPECT_EQ(report.pageCount(), 6);
  shortJob.drawPage(report, shortPaper, 4);
  EXPECT_EQ(shortPaper.textsEqualTo("OM513AB").size(), 1u);
  EXPECT_EQ(shortPaper.textsEqualTo(actLine("DGR 5/2011")).size(), 1u);
}

TEST_P(FinancingListReportTest, AmountsHaveTwoDecimalsWithACommaRightAligned) {
  setBusField("SBV3A0000C0000042", "prezzo", "12.5");
  auto report = loaded({false, 3, true, -1});
  job.begin(report, canvas);
  job.drawPage(report, canvas, 1);
  const auto price = canvas.textsEqualTo("12,50");
  ASSERT_EQ(price.size(), 1u);
  const ColumnPlace& column = report.columns()[7];
  EXPECT_EQ(price[0].x + 5 * RecordingCanvas::CharWidth, column.x + column.width);
}

TEST_P(FinancingListReportTest, CompanyAndAmbitNarrowOnBothFieldsOfTheVehicle) {
  EXPECT_EQ(plates(loaded({false, 12, true, -1})),
            (std::vector<std::string>{"OM201CD", "OM512AB", "OM777EF"}));
  EXPECT_EQ(plates(loaded({false, 12, false, 3})),
            (std::vector<std::string>{"OM512AB", "OM777EF"}));
  EXPECT_EQ(plates(loaded({true, -1, false, 5})), (std::vector<std::string>{"OM201CD", "OM007RA"}));
  EXPECT_EQ(loaded({false, 3, false, 3}).rowCount(), 0u);
}

}  // namespace
}  // namespace veltra::reports
