#pragma once
// A small register built the way the office builds it: by importing company
// communications. Company 12 sends the two sample files of examples/ (three
// vehicles, then two changes, a de-registration and a new vehicle); company 3
// takes over one of its vehicles and adds one; company 7 sends a vehicle
// already de-registered; company 9 sends two empty communications.
// Companies and ambits get names of the tests' own, so that the expected
// files do not depend on the seeded code lists.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "comms/CommsDatabase.h"
#include "comms/Communication.h"
#include "comms/ImportCommunication.h"
#include "comms/TaggedFileWriter.h"

namespace veltra::testing {

inline std::string readWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The lines joined and each ended by CR LF, as the exported files are.
inline std::string crlfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

class ExportDatabaseTest : public CommsDatabaseTest {
 protected:
  void SetUp() override {
    CommsDatabaseTest::SetUp();
    if (HasFatalFailure()) return;
    rename("regazi", 3, "Beta Trasporti");
    rename("regazi", 7, "Gamma Viaggi");
    rename("regazi", 9, "Delta Bus");
    rename("regazi", 12, "Alfa Citt\u00e0 Autolinee");
    rename("regprv", 3, "Ambito Nord");
    rename("regprv", 4, "Ambito Est");
    rename("regprv", 5, "Ambito Sud");
    importFile(std::string(VELTRA_SOURCE_DIR) + "/examples/VariazioniBusQz_12_20240315.txt");
    importFile(std::string(VELTRA_SOURCE_DIR) + "/examples/VariazioniBusQz_12_20240930.txt");
    importCommunication(companyThree());
    importCommunication(companySeven());
    importCommunication(comms::Communication(9, "20/11/2023"));
    importCommunication(comms::Communication(9, "05/02/2024"));
    prompter.clear();
  }

  void rename(const std::string& table, int code, const std::string& name) {
    db::TableCursor cursor(connection.get(), table);
    cursor.SelectIndex("codice");
    const std::string key = std::to_string(code);
    ASSERT_TRUE(cursor.Seek({&key, 1}));
    ASSERT_TRUE(cursor.Edit());
    cursor.SetField("denom", name);
    ASSERT_TRUE(cursor.Update());
  }

  void importFile(const std::string& file) {
    prompter.files.push_back(file);
    const auto outcome = comms::ImportCommunication(*connection);
    ASSERT_EQ(outcome.outcome, ui::Outcome::Done) << file;
  }

  void importCommunication(const comms::Communication& communication) {
    const std::string file = dir.file("VariazioniBusQz_" + std::to_string(communication.azienda()) +
                                      "_" + std::to_string(++imported) + ".txt");
    std::ofstream(file, std::ios::binary) << comms::CommunicationFileText(communication).value();
    importFile(file);
  }

  // WEB62801313100877 moves from company 12 to company 3 on 10/10/2024.
  static comms::Communication companyThree() {
    comms::Communication communication(3, "10/10/2024");
    comms::VehicleEntry moved;
    moved.kind = comms::EntryKind::Var;
    moved.telaio = "WEB62801313100877";
    moved.vehicle.ambito = 4;
    moved.vehicle.prop = "Societ\u00e0 Trasporti Ombrena";
    moved.vehicle.interno = "3-01";
    moved.vehicle.libretto = "AB123457";
    moved.vehicle.targa = "OM513AB";
    moved.vehicle.prima = "03/09/2016";
    moved.vehicle.tipo = "Mercedes Citaro";
    moved.vehicle.dtimm = "03/09/2016";
    moved.vehicle.dest = "Linea urbana";
    moved.vehicle.carroz = "Urbano";
    moved.vehicle.aliment = "Metano";
    moved.vehicle.sedere = 30;
    moved.vehicle.piedi = 70;
    moved.vehicle.handicap = 1;
    moved.vehicle.lung = 11.95;
    moved.vehicle.altezza = 0.3;
    moved.vehicle.aria = 1;
    moved.vehicle.pedana = 0;
    moved.vehicle.prezzo = 261000.0;
    moved.vehicle.contrib = 104400.0;
    moved.vehicle.atto = "DGR 388/2015";
    moved.vehicle.contrib2 = 12500.0;
    moved.vehicle.datini = "15/09/2016";
    communication.append(moved);

    comms::VehicleEntry added;
    added.kind = comms::EntryKind::New;
    added.telaio = "SBV3A0000C0000042";
    added.vehicle.ambito = 4;
    added.vehicle.prop = "Comune di Trebiano";
    added.vehicle.libretto = "GH000042";
    added.vehicle.targa = "OM042GH";
    added.vehicle.prima = "01/02/2020";
    added.vehicle.tipo = "Autobus citt\u00e0";
    added.vehicle.dtimm = "01/02/2020";
    added.vehicle.dest = "Scolastico";
    added.vehicle.carroz = "Urbano";
    added.vehicle.aliment = "Gasolio";
    added.vehicle.sedere = 40;
    added.vehicle.lung = 9.5;
    added.vehicle.altezza = 3.0;
    added.vehicle.prezzo = 1500.0;
    added.vehicle.datini = "01/03/2020";
    added.vehicle.datfin = "99/99/9999";
    communication.append(added);
    return communication;
  }

  static comms::Communication companySeven() {
    comms::Communication communication(7, "01/07/2024");
    comms::VehicleEntry retired;
    retired.kind = comms::EntryKind::New;
    retired.telaio = "RAD0000000000007";
    retired.vehicle.ambito = 5;
    retired.vehicle.prop = "Gamma Viaggi";
    retired.vehicle.interno = "7";
    retired.vehicle.libretto = "LB7";
    retired.vehicle.targa = "OM007RA";
    retired.vehicle.prima = "15/01/2005";
    retired.vehicle.tipo = "Setra S 315";
    retired.vehicle.dtimm = "15/01/2005";
    retired.vehicle.dest = "Noleggio";
    retired.vehicle.carroz = "Gran turismo";
    retired.vehicle.aliment = "Gasolio";
    retired.vehicle.sedere = 49;
    retired.vehicle.lung = 12.0;
    retired.vehicle.altezza = 1.1;
    retired.vehicle.aria = 1;
    retired.vehicle.datini = "01/02/2005";
    retired.vehicle.datfin = "30/06/2024";
    retired.vehicle.datrad = "30/06/2024";
    communication.append(retired);
    return communication;
  }

  int imported = 0;
};

}  // namespace veltra::testing
