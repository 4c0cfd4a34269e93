// The verification of the communications over the register of
// ExportDatabase.h: company 12 (Alfa) communicated on 15/03/2024 and
// 30/09/2024 with three vehicles each, company 3 (Beta) on 10/10/2024,
// company 7 (Gamma) on 01/07/2024, company 9 (Delta) on 20/11/2023 and
// 05/02/2024 with no vehicle.

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "comms/ExportDatabase.h"
#include "reports/CommunicationsCheckChoice.h"
#include "reports/CommunicationsCheckReport.h"
#include "reports/PrintPagination.h"
#include "support/RecordingCanvas.h"

namespace veltra::reports {
namespace {

using testing::RecordingCanvas;

struct PeriodCase {
  std::string start;
  std::string end;
  std::optional<CheckPeriod> accepted;
  std::string_view refusal;  // when not accepted
};

TEST(CheckPeriodTest, AcceptsBothDateFormsInOrderAndRefusesTheRest) {
  const CheckPeriod february{"01/02/2010", "01/02/2010"};
  const PeriodCase cases[] = {
      {"01/02/10", "01/02/10", february, {}},
      {"01.02.2010", "01-02-2010", february, {}},
      {"31/12/2009", "01/01/2010", CheckPeriod{"31/12/2009", "01/01/2010"}, {}},
      {"1/2/2010", "01/02/2010", std::nullopt, InvalidPeriodStartMessage},
      {"31/02/2010", "01/03/2010", std::nullopt, InvalidPeriodStartMessage},
      {"01/02/2010", "31/02/2010", std::nullopt, InvalidPeriodEndMessage},
      {"02/02/2010", "01/02/2010", std::nullopt, PeriodEndsBeforeStartMessage},
      {"01/01/2011", "31/12/2010", std::nullopt, PeriodEndsBeforeStartMessage},
  };
  for (const PeriodCase& check : cases) {
    testing::RecordingPrompter prompter;
    EXPECT_EQ(AcceptCheckPeriod(check.start, check.end, prompter), check.accepted)
        << check.start << " - " << check.end;
    if (check.accepted) {
      EXPECT_TRUE(prompter.messages.empty());
    } else {
      ASSERT_EQ(prompter.messages.size(), 1u) << check.start;
      EXPECT_EQ(prompter.messages[0].text, check.refusal) << check.start << " - " << check.end;
      EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Stop);
    }
  }
}

TEST(CheckPeriodTest, OpensOnTheCurrentMonthUpToToday) {
  EXPECT_EQ(DefaultCheckPeriod("17/03/2024"), (CheckPeriod{"01/03/2024", "17/03/2024"}));
  testing::RecordingPrompter prompter;
  const std::string_view today = "01/03/2024";
  EXPECT_EQ(AcceptCheckPeriodOrDefault(std::nullopt, std::nullopt, today, prompter),
            (CheckPeriod{"01/03/2024", "01/03/2024"}));
  EXPECT_EQ(AcceptCheckPeriodOrDefault("15.02.24", std::nullopt, today, prompter),
            (CheckPeriod{"15/02/2024", "01/03/2024"}));
  EXPECT_EQ(AcceptCheckPeriodOrDefault(std::nullopt, "28/02/2024", today, prompter), std::nullopt);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, PeriodEndsBeforeStartMessage);
}

TEST(CompanyCodesTest, EveryCodeOfTheRegisterWhateverItsLength) {
  const std::vector<CompanyMark> companies = {{{12, "0012 - Alfa"}, false},
                                              {{10001, "10001 - Consorzio"}, true}};
  testing::RecordingPrompter prompter;
  EXPECT_EQ(AcceptCompanyCodes("12,0012,10001,010001", companies, prompter),
            (std::vector<std::int32_t>{12, 12, 10001, 10001}));
  for (const char* refused : {"1000", "12,", "1 2", "-12", "99999999999"}) {
    prompter.clear();
    EXPECT_EQ(AcceptCompanyCodes(refused, companies, prompter), std::nullopt) << refused;
    EXPECT_EQ(prompter.messages.size(), 1u) << refused;
  }
}

class CommunicationsCheckReportTest : public testing::ExportDatabaseTest {
 protected:
  CommunicationsCheckReport loaded(const CheckPeriod& period) {
    CommunicationsCheckReport report(period, 0);
    EXPECT_TRUE(report.load(*connection, prompter));
    return report;
  }

  std::vector<std::int32_t> markedCodes() {
    std::vector<std::int32_t> codes;
    for (const auto& company : CompanyMarks(*connection))
      if (company.marked) codes.push_back(company.item.code);
    return codes;
  }

  RecordingCanvas canvas;
  PrintPagination job;
};

INSTANTIATE_TEST_SUITE_P(Engines, CommunicationsCheckReportTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(CommunicationsCheckReportTest, ANewRegisterHasNoMarkAndNothingToPrint) {
  EXPECT_TRUE(markedCodes().empty());
  auto report = loaded({"01/01/2000", "31/12/2030"});
  EXPECT_EQ(report.rowCount(), 0u);
  EXPECT_FALSE(HasRowsToPrint(report, prompter));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "Non ci sono dati da stampare !!!");
}

TEST_P(CommunicationsCheckReportTest, ClicksFlipTheStoredMarkAndListsSetIt) {
  const auto companies = CompanyMarks(*connection);
  EXPECT_EQ(static_cast<int>(companies.size()), countRows("regazi"));
  EXPECT_EQ(companies[0].item.text, "0000 - *** azienda non assegnata ***");  // '*' sorts first
  EXPECT_EQ(companies[1], (CompanyMark{{12, "0012 - Alfa Citt\u00e0 Autolinee"}, false}));

  EXPECT_EQ(ToggleCompanyMark(*connection, 12), true);
  EXPECT_EQ(fieldOf("regazi", {"12"}, "attiva"), "1");
  EXPECT_EQ(ToggleCompanyMark(*connection, 12), false);
  EXPECT_EQ(fieldOf("regazi", {"12"}, "attiva"), "0");
  EXPECT_EQ(ToggleCompanyMark(*connection, 4242), std::nullopt);

  EXPECT_EQ(SetCompanyMarks(*connection, {3, 4242}, true), std::vector<std::int32_t>{4242});
  EXPECT_TRUE(SetCompanyMarks(*connection, {9, 3}, true).empty());
  EXPECT_EQ(markedCodes(), (std::vector<std::int32_t>{3, 9}));  // Beta, Delta
  EXPECT_TRUE(SetCompanyMarks(*connection, {3}, false).empty());
  EXPECT_EQ(markedCodes(), std::vector<std::int32_t>{9});
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(CommunicationsCheckReportTest, ListsEachMarkedCompanysCommunicationsOfThePeriod) {
  SetCompanyMarks(*connection, {12, 3, 9}, true);
  auto report = loaded({"05/02/2024", "30/09/2024"});
  EXPECT_EQ(report.title(), "Verifica Comunicazioni Aziendali");
  EXPECT_EQ(prompter.busyCalls, std::vector<bool>{true});
  ASSERT_EQ(report.rowCount(), 4u);

  job.begin(report, canvas);
  job.drawPage(report, canvas, 1);
  EXPECT_EQ(canvas.textsEqualTo("Verifica Comunicazioni Pervenute").size(), 1u);
  EXPECT_EQ(canvas.textsEqualTo("Periodo dal 05/02/2024 al 30/09/2024").size(), 1u);
  EXPECT_EQ(canvas.textsEqualTo("Numero Elementi Comunicati").size(), 1u);
  const int firstRow = 500 + 10;
  const std::string alfa = "Alfa Citt\u00e0 Autolinee";
  EXPECT_EQ(canvas.textsOnLine(firstRow),
            (std::vector<std::string>{"0012", alfa, "15/03/2024", "3 Elementi"}));
  EXPECT_EQ(canvas.textsOnLine(firstRow + 100),
            (std::vector<std::string>{"0012", alfa, "30/09/2024", "3 Elementi"}));
  EXPECT_EQ(canvas.textsOnLine(firstRow + 200),
            (std::vector<std::string>{"0003", "Beta Trasporti", std::string(NotReceivedText)}));
  EXPECT_EQ(canvas.textsOnLine(firstRow + 300),
            (std::vector<std::string>{"0009", "Delta Bus", "05/02/2024", "0 Elementi"}));

  const auto& columns = report.columns();
  EXPECT_EQ(columns[1].x, columns[0].x + 6 * RecordingCanvas::CharWidth + 40);
  EXPECT_EQ(columns[2].x, columns[1].x + static_cast<int>(alfa.size() - 1) * 40 + 40);
  EXPECT_EQ(columns[3].width, 39 * RecordingCanvas::CharWidth);
}

TEST_P(CommunicationsCheckReportTest, APageBreakFallsInsideACompanysRows) {
  SetCompanyMarks(*connection, {12}, true);
  auto report = loaded({"01/01/2024", "31/12/2024"});
  // Rows start at 500 and take 100; a bottom limit of 550 takes one per page.
  RecordingCanvas tinyPaper(7016, 600);
  job.begin(report, tinyPaper);
  EXPECT_EQ(report.pageCount(), 2);
  job.drawPage(report, tinyPaper, 2);
  EXPECT_EQ(tinyPaper.textsEqualTo("0012").size(), 1u);
  EXPECT_EQ(tinyPaper.textsEqualTo("30/09/2024").size(), 1u);
  EXPECT_TRUE(tinyPaper.textsEqualTo("15/03/2024").empty());
}

}  // namespace
}  // namespace veltra::reports
