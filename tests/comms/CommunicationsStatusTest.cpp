#include <gtest/gtest.h>

#include "comms/CommunicationsStatus.h"
#include "comms/ExportDatabase.h"

namespace veltra::comms {
namespace {

using CommunicationsStatusTest = testing::ExportDatabaseTest;

INSTANTIATE_TEST_SUITE_P(Engines, CommunicationsStatusTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(CommunicationsStatusTest, ListsTheCompaniesThatCommunicatedByName) {
  EXPECT_EQ(CommunicatingCompanies(*connection), (std::vector<CodeItem>{
                                                     {12, "0012 - Alfa Citt\u00e0 Autolinee"},
                                                     {3, "0003 - Beta Trasporti"},
                                                     {9, "0009 - Delta Bus"},
                                                     {7, "0007 - Gamma Viaggi"},
                                                 }));
}

TEST_P(CommunicationsStatusTest, ListsACompanysDatesInCalendarOrder) {
  EXPECT_EQ(CommunicationDates(*connection, 9),
            (std::vector<std::string>{"20/11/2023", "05/02/2024"}));
  EXPECT_EQ(CommunicationDates(*connection, 12),
            (std::vector<std::string>{"15/03/2024", "30/09/2024"}));
  EXPECT_TRUE(CommunicationDates(*connection, 1).empty());
}

TEST_P(CommunicationsStatusTest, TellsWhetherACommunicationCarriedVehicles) {
  EXPECT_TRUE(CommunicationHasVehicles(*connection, 12, "30/09/2024"));
  EXPECT_TRUE(CommunicationHasVehicles(*connection, 7, "01/07/2024"));
  EXPECT_FALSE(CommunicationHasVehicles(*connection, 9, "05/02/2024"));
  // Another company's vehicles of the same day do not count.
  EXPECT_FALSE(CommunicationHasVehicles(*connection, 3, "30/09/2024"));
}

TEST_P(CommunicationsStatusTest, TheVerdictRepeatsTheDate) {
  ShowCommunicationVerdict(*connection, 12, "15/03/2024");
  ShowCommunicationVerdict(*connection, 9, "20/11/2023");
  ASSERT_EQ(prompter.messages.size(), 2u);
  EXPECT_EQ(prompter.messages[0].text, "Comunicazione del 15/03/2024\n\nPresentata con contenuti");
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Information);
  EXPECT_EQ(prompter.messages[1].text, "Comunicazione del 20/11/2023\n\nPresentata vuota");
}

TEST_P(CommunicationsStatusTest, TheSelectedItemGivesTheCompany) {
  const auto companies = CommunicatingCompanies(*connection);
  EXPECT_EQ(CommunicationDates(*connection, ItemCode(companies.at(0).text)),
            (std::vector<std::string>{"15/03/2024", "30/09/2024"}));
}

}  // namespace
}  // namespace veltra::comms
