#include <gtest/gtest.h>

#include "comms/ExportDatabase.h"
#include "comms/FleetExportChoice.h"

namespace veltra::comms {
namespace {

class FleetExportChoiceTest : public testing::ExportDatabaseTest {
 protected:
  std::optional<FleetExportChoice> accept(const FleetExportForm& form) {
    prompter.clear();
    return AcceptFleetExportForm(form, FleetCompanyItems(*connection), FleetAmbitItems(*connection),
                                 prompter);
  }

  FleetExportForm form() {
    FleetExportForm f;
    f.dateText = "31/12/2024";
    return f;
  }
};

INSTANTIATE_TEST_SUITE_P(Engines, FleetExportChoiceTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(FleetExportChoiceTest, TheListsHoldWhatOccursInTheHistoryByName) {
  // Company 9 sent only empty communications: it has no history row.
  EXPECT_EQ(FleetCompanyItems(*connection), (std::vector<CodeItem>{
                                                {12, "0012 - Alfa Citt\u00e0 Autolinee"},
                                                {3, "0003 - Beta Trasporti"},
                                                {7, "0007 - Gamma Viaggi"},
                                            }));
  EXPECT_EQ(FleetAmbitItems(*connection), (std::vector<CodeItem>{
                                              {4, "0004 - Ambito Est"},
                                              {3, "0003 - Ambito Nord"},
                                              {5, "0005 - Ambito Sud"},
                                          }));
}

TEST_P(FleetExportChoiceTest, NamesLoseTheirTrailingBlanks) {
  rename("regazi", 7, "Gamma Viaggi   ");
  EXPECT_EQ(FleetCompanyItems(*connection).back().text, "0007 - Gamma Viaggi");
}

TEST_P(FleetExportChoiceTest, TheAllChoicesNeedNoCode) {
  FleetExportForm f = form();
  f.companyText = "not a code";  // ignored while all companies are chosen
  f.activeOnly = true;
  const auto choice = accept(f);
  ASSERT_TRUE(choice);
  EXPECT_TRUE(choice->filter.allCompanies);
  EXPECT_EQ(choice->filter.azienda, -1);
  EXPECT_TRUE(choice->filter.allAmbits);
  EXPECT_EQ(choice->filter.ambito, -1);
  EXPECT_TRUE(choice->filter.activeOnly);
  EXPECT_EQ(choice->date, "31/12/2024");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(FleetExportChoiceTest, TypedCodesMustBeListed) {
  FleetExportForm f = form();
  f.allCompanies = false;
  f.companyText = "12";
  f.allAmbits = false;
  f.ambitText = "0005 - Ambito Sud";
  f.dateText = "01-02-24";
  const auto choice = accept(f);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->filter.azienda, 12);
  EXPECT_EQ(choice->filter.ambito, 5);
  EXPECT_EQ(choice->date, "01/02/2024");

  f.companyText = "9";  // a company, but not one of the history
  EXPECT_FALSE(accept(f));
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, InvalidCompanyMessage);
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Stop);
}

TEST_P(FleetExportChoiceTest, ChecksCompanyThenAmbitThenDateStoppingAtTheFirstFault) {
  FleetExportForm f = form();
  f.allCompanies = false;
  f.companyText = "12a";
  f.allAmbits = false;
  f.ambitText = "99";
  f.dateText = "31/02/2024";
  EXPECT_FALSE(accept(f));
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{std::string(InvalidCompanyMessage)});

  f.companyText = "3";
  EXPECT_FALSE(accept(f));
  EXPECT_EQ(prompter.texts(), std::vector<std::string>{std::string(InvalidAmbitMessage)});

  f.ambitText = "4";
  EXPECT_FALSE(accept(f));
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{"ATTENZIONE: la data di generazione è espressa in un formato "
                                     "illegale.\n\nLe date devono essere espresse nella forma "
                                     "GG/MM/AAAA.\n\n"});
}

}  // namespace
}  // namespace veltra::comms
