// The history card: one block per communication, each with only what changed.

#include <gtest/gtest.h>

#include "reports/VehicleCardRegister.h"
#include "reports/VehicleHistoryText.h"

namespace veltra::testing {
namespace {

using reports::VehicleHistoryText;

class VehicleCardHistoryTest : public VehicleCardRegisterTest {};

INSTANTIATE_TEST_SUITE_P(Engines, VehicleCardHistoryTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(VehicleCardHistoryTest, FirstBlockWholeSecondOnlyItsHeadingThirdTheChanges) {
  EXPECT_EQ(VehicleHistoryText(*connection, BusChassis),
            "Telaio: ZFA0000000000001\r\n"
            "\r\nData comunicazione10/01/2024\r\n\r\n"
            "Azienda utilizzatrice: Consorzio Autolinee Montefolco\r\n"
            "Ambito: Provincia di Castelrupe\r\n"
            "Proprietà: Consorzio Autolinee Montefolco\r\n"
            "Carta circolazione: LB001\r\n"
            "Targa: AB123CD\r\n"
            "Data 1^ immatricolazione: 01/02/2015\r\n"
            "Marca e tipo: Iveco Crossway\r\n"
            "Data immatricolazione: 01/02/2015\r\n"
            "Destinazione d'uso: Linea urbana\r\n"
            "Carrozzeria: Interurbano\r\n"
            "Alimentazione: Gasolio\r\n"
            "N.ro posti seduti: 49\r\n"
            "N.ro posti in piedi: 20\r\n"
            "N.ro posti carrozzella: 1\r\n"
            "Lunghezza: 12,500 m.\r\n"
            "Altezza piano calpestabile: 32,0 cm.\r\n"
            "Aria Condizionata: SI\r\n"
            "Pedana carrozzella: SI\r\n"
            "Prezzo di acquisto (IVA esclusa): 1234,50 Euro\r\n"
            "Contributo regionale: 500,00 Euro\r\n"
            "Altri contributi: 0,00 Euro\r\n"
            "Data immissione in servizio: 15/02/2015\r\n"
            "\r\nData comunicazione10/06/2024\r\n\r\n"
            "\r\nData comunicazione10/09/2024\r\n\r\n"
            "Targa: EF456GH\r\n"
            "Aria Condizionata: NO\r\n"
            "Atto erogazione contributo regionale: DGR 12/2024\r\n");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(VehicleCardHistoryTest, BothFlagsPrintedFirstEvenWhenNo) {
  const std::string history = VehicleHistoryText(*connection, BlankPlateChassis);
  EXPECT_NE(history.find("Aria Condizionata: NO\r\nPedana carrozzella: NO\r\nPrezzo"),
            std::string::npos)
      << history;
  // The blank plate is an empty text: never printed while it stays empty.
  EXPECT_EQ(history.find("Targa"), std::string::npos) << history;
  EXPECT_NE(history.find("N.ro aziendale interno: 7\r\n"), std::string::npos);
  EXPECT_NE(history.find("N.ro posti in piedi: 0\r\n"), std::string::npos);
}

TEST_P(VehicleCardHistoryTest, AVehicleWithoutHistoryRowsShowsOnlyItsChassis) {
  EXPECT_EQ(VehicleHistoryText(*connection, QuietChassis), "Telaio: ZFA0000000000005\r\n");
  EXPECT_EQ(VehicleHistoryText(*connection, "NESSUNO"), "Telaio: NESSUNO\r\n");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(VehicleCardHistoryTest, RowsOfAnUnknownCompanyOrAmbitAreLeftOut) {
  EXPECT_EQ(VehicleHistoryText(*connection, OrphanChassis), "Telaio: ZFA0000000000004\r\n");
}

TEST_P(VehicleCardHistoryTest, AChassisWithQuotesOrParenthesesIsOnlyData) {
  EXPECT_NE(VehicleHistoryText(*connection, ParenChassis).find("Targa: CC333CC\r\n"),
            std::string::npos);
  EXPECT_EQ(VehicleHistoryText(*connection, "X' OR 'a'='a"), "Telaio: X' OR 'a'='a\r\n");
  EXPECT_EQ(VehicleHistoryText(*connection, "X\" OR \"a\"=\"a"), "Telaio: X\" OR \"a\"=\"a\r\n");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST(VehicleHistorySelectList, IsThe27ColumnsOfThePart) {
  EXPECT_EQ(
      reports::HistorySelectList(),
      std::string("storia.data, regazi.denom, regprv.denom, storia.prop, storia.interno, "
                  "storia.libretto,") +
          " storia.targa, storia.prima, storia.tipo, storia.dtimm, storia.dest, storia.carroz," +
          " storia.aliment, storia.sedere, storia.piedi, storia.handicap, storia.lung, "
          "storia.altezza," +
          " storia.aria, storia.pedana, storia.prezzo, storia.contrib, storia.atto, "
          "storia.contrib2," +
          " storia.datini, storia.datfin, storia.datrad");
}

}  // namespace
}  // namespace veltra::testing
