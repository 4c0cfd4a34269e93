#include <gtest/gtest.h>

#include "comms/ApplyCommunication.h"
#include "comms/CommsDatabase.h"
#include "reports/FleetStatisticsReport.h"
#include "reports/PrintPagination.h"
#include "support/RecordingCanvas.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::reports {
namespace {

using testing::RecordingCanvas;

// 45 companies of 3 vehicles each: the accessibility chart and the tables
// run over several pages.
class FleetStatisticsReportTest : public testing::CommsDatabaseTest {
 protected:
  void SetUp() override {
    CommsDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    for (std::int32_t company = 1; company <= 45; ++company)
      ASSERT_EQ(comms::ApplyCommunication(*connection,
                                          testing::SyntheticCommunication(company, "10/01/2024", 3))
                    .outcome,
                ui::Outcome::Done);
  }

  std::unique_ptr<FleetStatisticsReport> loaded(const std::string& date) {
    comms::FleetStatisticsChoice choice;
    choice.date = date;
    choice.compareDate = "01/01/2024";
    auto report = std::make_unique<FleetStatisticsReport>(choice, 0);
    EXPECT_TRUE(report->load(*connection, prompter));
    return report;
  }
};

TEST_P(FleetStatisticsReportTest, EveryRowIsDrawnOnceWithinThePaperAndCutSectionsRepeatTheirHead) {
  const auto owned = loaded("31/12/2024");
  FleetStatisticsReport& report = *owned;
  RecordingCanvas canvas;
  PrintPagination job;
  job.begin(report, canvas);
  ASSERT_GT(report.pageCount(), 2);
  for (int page = 1; page <= report.pageCount(); ++page) job.drawPage(report, canvas, page);
  // The tables beside two dates are wider than the paper: every page is
  // drawn smaller, its margins too.
  ASSERT_FALSE(canvas.scales.empty());
  const double scale = canvas.scales.front();
  EXPECT_EQ(canvas.scales.size(), static_cast<std::size_t>(report.pageCount()));
  for (const auto& text : canvas.texts) {
    EXPECT_LE((text.y + RecordingCanvas::TextHeight) * scale,
              canvas.pageHeight() - ViewMargin * scale)
        << text.text;
    const auto width = static_cast<int>(db::Utf8Length(text.text)) * RecordingCanvas::CharWidth;
    EXPECT_LE((text.x + width) * scale, canvas.pageWidth() - ViewMargin * scale) << text.text;
  }
  // Company 7 once for each of its rows in the tables, and once in the chart.
  const auto isSeventh = [](const std::string& label) { return label.rfind("0007 - ", 0) == 0; };
  long rows = 1;
  for (const auto& table : report.tables())
    rows += std::count_if(table.rows.begin(), table.rows.end(),
                          [&](const auto& row) { return isSeventh(row.labels.front()); });
  EXPECT_EQ(std::count_if(canvas.texts.begin(), canvas.texts.end(),
                          [&](const auto& drawn) { return isSeventh(drawn.text); }),
            rows);
  // Each page that opens inside the chart shows its legend again.
  const auto legends = canvas.textsEqualTo("Aria condizionata al 31/12/2024");
  EXPECT_GE(legends.size(), 2u);
  EXPECT_EQ(canvas.textsEqualTo(PageNumberText(report.pageCount(), report.pageCount())).size(), 1u);
}

TEST_P(FleetStatisticsReportTest, AnEmptyRegisterHasNothingToPrint) {
  const auto report = loaded("31/12/2023");
  EXPECT_EQ(report->rowCount(), 0u);
  EXPECT_FALSE(HasRowsToPrint(*report, prompter));
  EXPECT_EQ(prompter.texts().back(), "Non ci sono dati da stampare !!!");
}

INSTANTIATE_TEST_SUITE_P(Engines, FleetStatisticsReportTest,
                         ::testing::Values(testing::TestEngine::File), testing::engineName);

}  // namespace
}  // namespace veltra::reports
