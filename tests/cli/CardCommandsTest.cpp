// card and history as a user or a script calls them: the texts of the two
// card dialogs, with line feeds, on standard output.

#include <gtest/gtest.h>

#include "reports/VehicleCardRegister.h"
#include "reports/VehicleCardText.h"
#include "reports/VehicleHistoryText.h"
#include "support/RunProgram.h"

namespace veltra::testing {
namespace {

// The card with one line feed per CR LF.
std::string withLineFeeds(std::string card) {
  std::string text;
  for (std::size_t i = 0; i < card.size(); ++i)
    if (!(card[i] == '\r' && i + 1 < card.size() && card[i + 1] == '\n')) text += card[i];
  return text;
}

class CardCommandsTest : public VehicleCardRegisterTest {
 protected:
  ProgramRun cli(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"--db", path};
    all.insert(all.end(), args.begin(), args.end());
    return runProgram(VELTRA_CLI_PATH, all, {"VELTRA_SETTINGS=" + dir.file("veltra.ini")});
  }
};

INSTANTIATE_TEST_SUITE_P(Engines, CardCommandsTest, ::testing::ValuesIn(testing::testEngines()),
                         testing::engineName);

TEST_P(CardCommandsTest, CardIsTheDialogsTextWithLineFeeds) {
  const auto run = cli({"card", BusChassis});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_TRUE(run.err.empty()) << run.err;
  EXPECT_EQ(run.out, withLineFeeds(reports::VehicleCardText(*connection, BusChassis)));
  EXPECT_TRUE(
      run.out.starts_with("Azienda utilizzatrice: Consorzio Autolinee Montefolco\n"
                          "Ambito: Provincia di Castelrupe\n\n"
                          "Telaio: ZFA0000000000001\n"))
      << run.out;
  EXPECT_NE(run.out.find("\nLunghezza: 12,500 m.\n"), std::string::npos);
  EXPECT_NE(
      run.out.find("\nPedana carrozzella: SI\n\nPrezzo di acquisto (IVA esclusa): 1234,50 Euro\n"),
      std::string::npos);
  EXPECT_TRUE(run.out.ends_with("\n\nData ultimo aggiornamento: 10/09/2024\n")) << run.out;
  EXPECT_EQ(run.out.find('\r'), std::string::npos);
}

TEST_P(CardCommandsTest, HistoryIsTheDialogsTextWithLineFeeds) {
  const auto run = cli({"history", BusChassis});
  EXPECT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.out, withLineFeeds(reports::VehicleHistoryText(*connection, BusChassis)));
  EXPECT_NE(run.out.find("\nData comunicazione10/06/2024\n\n\nData comunicazione10/09/2024\n\n"
                         "Targa: EF456GH\nAria Condizionata: NO\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(cli({"history", QuietChassis}).out, "Telaio: ZFA0000000000005\n");
}

TEST_P(CardCommandsTest, AChassisNotInBusIsNotAvailable) {
  const auto card = cli({"card", "NESSUNO"});
  EXPECT_EQ(card.exitStatus, 0);
  // The card's text has no line feed of its own at its end; the console adds one.
  EXPECT_EQ(card.out, "\n\nInformazioni non disponibili\n");
  EXPECT_TRUE(card.err.empty()) << card.err;
  EXPECT_EQ(cli({"history", "NESSUNO"}).out, "Telaio: NESSUNO\n");
}

TEST_P(CardCommandsTest, TheChassisIsTakenWhole) {
  // On the command line there is no selector item: FIAT(A is its own key.
  const auto run = cli({"card", ParenChassis});
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_NE(run.out.find("\nTelaio: FIAT(A\n"), std::string::npos) << run.out;
}

TEST_P(CardCommandsTest, OneChassisExactly) {
  for (const std::string command : {"card", "history"}) {
    const auto none = cli({command});
    EXPECT_EQ(none.exitStatus, 2);
    EXPECT_NE(none.err.find("veltra-cli: " + command + " vuole un CHASSIS"), std::string::npos)
        << none.err;
    EXPECT_TRUE(none.out.empty());
    EXPECT_EQ(cli({command, BusChassis, QuietChassis}).exitStatus, 2);
  }
}

TEST_P(CardCommandsTest, WithoutADatabaseItRefuses) {
  const auto run = runProgram(VELTRA_CLI_PATH, {"card", BusChassis},
                              {"VELTRA_SETTINGS=" + dir.file("nessuna.ini")});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_TRUE(run.out.empty());
  EXPECT_FALSE(run.err.empty());
}

}  // namespace
}  // namespace veltra::testing
