#pragma once
// A register for the card tests, built the way the office builds it: by
// importing company communications. Company 5 (ambit 2) sends three
// communications: the second repeats the first unchanged for the bus, the
// third changes its plate, its air conditioning and its act. Company 8 sends
// a vehicle whose company and ambit rows are then lost; another vehicle loses
// its history rows; one has a blank plate and one a chassis with "(".

#include <fstream>
#include <string>

#include "comms/CommsDatabase.h"
#include "comms/Communication.h"
#include "comms/ImportCommunication.h"
#include "comms/TaggedFileWriter.h"

namespace veltra::testing {

inline constexpr const char* BusChassis = "ZFA0000000000001";
inline constexpr const char* BlankPlateChassis = "ZFA0000000000002";
inline constexpr const char* ParenChassis = "FIAT(A";
inline constexpr const char* OrphanChassis = "ZFA0000000000004";
inline constexpr const char* QuietChassis = "ZFA0000000000005";
inline constexpr const char* CompanyFive = "Consorzio Autolinee Montefolco";
inline constexpr const char* AmbitTwo = "Provincia di Castelrupe";

class VehicleCardRegisterTest : public CommsDatabaseTest {
 protected:
  void SetUp() override {
    CommsDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    comms::Communication first(5, "10/01/2024");
    first.append(bus());
    first.append(other(BlankPlateChassis, " "));
    first.append(other(ParenChassis, "CC333CC"));
    first.append(other(QuietChassis, "QU555QU"));
    importCommunication(first);
    comms::Communication same(5, "10/06/2024");
    same.append(bus());
    importCommunication(same);
    comms::Communication changes(5, "10/09/2024");
    comms::VehicleEntry changed = bus();
    changed.vehicle.targa = "EF456GH";
    changed.vehicle.aria = 0;
    changed.vehicle.atto = "DGR 12/2024";
    changes.append(changed);
    importCommunication(changes);
    comms::Communication lost(8, "01/03/2024");
    comms::VehicleEntry orphan = other(OrphanChassis, "OR888OR");
    orphan.vehicle.ambito = 11;
    lost.append(orphan);
    importCommunication(lost);
    executeWithoutRelations(path,
                            "DELETE FROM regazi WHERE codice = 8;"
                            "DELETE FROM regprv WHERE codice = 11;"
                            "DELETE FROM storia WHERE telaio = '" +
                                std::string(QuietChassis) + "'");
    prompter.clear();
  }

  // Every item filled but interno, atto, datfin and datrad; 12.5 m. long,
  // 1234.5 Euro, with air conditioning and a ramp.
  static comms::VehicleEntry bus() {
    comms::VehicleEntry entry;
    entry.kind = comms::EntryKind::New;
    entry.telaio = BusChassis;
    comms::VehicleData& v = entry.vehicle;
    v.ambito = 2;
    v.prop = CompanyFive;
    v.libretto = "LB001";
    v.targa = "AB123CD";
    v.prima = "01/02/2015";
    v.tipo = "Iveco Crossway";
    v.dtimm = "01/02/2015";
    v.dest = "Linea urbana";
    v.carroz = "Interurbano";
    v.aliment = "Gasolio";
    v.sedere = 49;
    v.piedi = 20;
    v.handicap = 1;
    v.lung = 12.5;
    v.altezza = 32.0;
    v.aria = 1;
    v.pedana = 1;
    v.prezzo = 1234.5;
    v.contrib = 500.0;
    v.contrib2 = 0.0;
    v.datini = "15/02/2015";
    return entry;
  }

  static comms::VehicleEntry other(const std::string& chassis, const std::string& plate) {
    comms::VehicleEntry entry;
    entry.kind = comms::EntryKind::New;
    entry.telaio = chassis;
    comms::VehicleData& v = entry.vehicle;
    v.ambito = 2;
    v.prop = "Leasing Nord";
    v.interno = "7";
    v.libretto = "LB" + chassis.substr(chassis.size() - 1);
    v.targa = plate;
    v.prima = "01/01/2010";
    v.tipo = "Setra S 315";
    v.dtimm = "01/01/2010";
    v.dest = "Noleggio";
    v.carroz = "Gran turismo";
    v.aliment = "Metano";
    v.sedere = 30;
    v.lung = 10.0;
    v.altezza = 1.5;
    v.prezzo = 99000.0;
    v.datini = "01/02/2010";
    return entry;
  }

  void importCommunication(const comms::Communication& communication) {
    const std::string file = dir.file("VariazioniBusQz_" + std::to_string(communication.azienda()) +
                                      "_" + std::to_string(++imported) + ".txt");
    std::ofstream(file, std::ios::binary) << comms::CommunicationFileText(communication).value();
    prompter.files.push_back(file);
    ASSERT_EQ(comms::ImportCommunication(*connection).outcome, ui::Outcome::Done)
        << ::testing::PrintToString(prompter.texts());
  }

  int imported = 0;
};

}  // namespace veltra::testing
