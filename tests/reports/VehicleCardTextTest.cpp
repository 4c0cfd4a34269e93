// The vehicle card as the user reads it, line by line, on an imported register.

#include <gtest/gtest.h>

#include "reports/VehicleCardItems.h"
#include "reports/VehicleCardRegister.h"
#include "reports/VehicleCardText.h"

namespace veltra::testing {
namespace {

using reports::VehicleCardText;

class VehicleCardTextTest : public VehicleCardRegisterTest {};

INSTANTIATE_TEST_SUITE_P(Engines, VehicleCardTextTest, ::testing::ValuesIn(testing::testEngines()),
                         testing::engineName);

TEST_P(VehicleCardTextTest, EveryLineInOrderWithTheLatestValues) {
  EXPECT_EQ(VehicleCardText(*connection, BusChassis),
            "Azienda utilizzatrice: Consorzio Autolinee Montefolco\r\n"
            "Ambito: Provincia di Castelrupe\r\n"
            "\r\n"
            "Telaio: ZFA0000000000001\r\n"
            "Proprietà: Consorzio Autolinee Montefolco\r\n"
            "N.ro aziendale interno: \r\n"
            "Carta circolazione: LB001\r\n"
            "Targa: EF456GH\r\n"
            "Data 1^ immatricolazione: 01/02/2015\r\n"
            "Marca e tipo: Iveco Crossway\r\n"
            "Data immatricolazione: 01/02/2015\r\n"
            "\r\n"
            "Destinazione d'uso: Linea urbana\r\n"
            "Carrozzeria: Interurbano\r\n"
            "Alimentazione: Gasolio\r\n"
            "N.ro posti seduti: 49\r\n"
            "N.ro posti in piedi: 20\r\n"
            "N.ro posti carrozzella: 1\r\n"
            "Lunghezza: 12,500 m.\r\n"
            "Altezza piano calpestabile: 32,0 cm.\r\n"
            "Aria Condizionata: NO\r\n"
            "Pedana carrozzella: SI\r\n"
            "\r\n"
            "Prezzo di acquisto (IVA esclusa): 1234,50 Euro\r\n"
            "Contributo regionale: 500,00 Euro\r\n"
            "Atto erogazione contributo regionale: DGR 12/2024\r\n"
            "Altri contributi: 0,00 Euro\r\n"
            "\r\n"
            "Data immissione in servizio: 15/02/2015\r\n"
            "Data dismissione: \r\n"
            "Data radiazione: \r\n"
            "\r\n"
            "Data ultimo aggiornamento: 10/09/2024\r\n");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(VehicleCardTextTest, UnknownCompanyAndAmbitAreNamedSo) {
  const std::string card = VehicleCardText(*connection, OrphanChassis);
  EXPECT_TRUE(
      card.starts_with("Azienda utilizzatrice: *** Azienda Sconosciuta ***\r\n"
                       "Ambito: *** Ambito Sconosciuto ***\r\n\r\n"
                       "Telaio: ZFA0000000000004\r\n"))
      << card;
  EXPECT_TRUE(card.ends_with("Data ultimo aggiornamento: 01/03/2024\r\n")) << card;
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(VehicleCardTextTest, AVehicleWithoutHistoryStillHasItsCard) {
  const std::string card = VehicleCardText(*connection, QuietChassis);
  EXPECT_NE(card.find("Telaio: ZFA0000000000005\r\nProprietà: Leasing Nord\r\n"), std::string::npos)
      << card;
  EXPECT_NE(card.find("Aria Condizionata: NO\r\nPedana carrozzella: NO\r\n\r\n"),
            std::string::npos);
  EXPECT_NE(card.find("Lunghezza: 10,000 m.\r\nAltezza piano calpestabile: 1,5 cm.\r\n"),
            std::string::npos);
}

TEST_P(VehicleCardTextTest, ABlankPlateIsAnEmptyLine) {
  const std::string card = VehicleCardText(*connection, BlankPlateChassis);
  EXPECT_NE(card.find("\r\nTarga: \r\nData 1^"), std::string::npos) << card;
}

TEST_P(VehicleCardTextTest, AChassisNotInBusIsNotAvailable) {
  EXPECT_EQ(VehicleCardText(*connection, "NESSUNO"), "\r\n\r\nInformazioni non disponibili");
  EXPECT_EQ(VehicleCardText(*connection, ""), "\r\n\r\nInformazioni non disponibili");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(VehicleCardTextTest, AChassisWithAParenthesisIsFoundByItsWholeCode) {
  const std::string card = VehicleCardText(*connection, ParenChassis);
  EXPECT_NE(card.find("\r\nTelaio: FIAT(A\r\n"), std::string::npos) << card;
}

TEST_P(VehicleCardTextTest, DecimalNumbersWithTheirDecimalsCommaAndUnit) {
  using comms::FieldKind;
  EXPECT_EQ(reports::ShownNumber(FieldKind::Length, 12.5), "12,500 m.");
  EXPECT_EQ(reports::ShownNumber(FieldKind::Length, 12.0), "12,000 m.");
  EXPECT_EQ(reports::ShownNumber(FieldKind::Height, 0.3), "0,3 cm.");
  EXPECT_EQ(reports::ShownNumber(FieldKind::Amount, 1234.5), "1234,50 Euro");
  EXPECT_EQ(reports::ShownNumber(FieldKind::Amount, 0.0), "0,00 Euro");
  EXPECT_EQ(reports::ShownNumber(FieldKind::Amount, 1234567.0), "1234567,00 Euro");
}

TEST_P(VehicleCardTextTest, AHugeLengthIsShownWhole) {
  // The import takes 1e70 as a length: the card shows every digit and the comma.
  comms::Communication huge(5, "20/12/2024");
  comms::VehicleEntry entry = bus();
  entry.kind = comms::EntryKind::Var;
  entry.vehicle.lung = 1e70;
  huge.append(entry);
  importCommunication(huge);
  const std::string card = VehicleCardText(*connection, BusChassis);
  EXPECT_NE(card.find("\r\nLunghezza: "
                      "10000000000000000725314363815292351261583744096465219555182101554790400,000"
                      " m.\r\n"),
            std::string::npos)
      << card;
}

}  // namespace
}  // namespace veltra::testing
