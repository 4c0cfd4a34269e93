#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "comms/CompanySituationExport.h"
#include "comms/ExportDatabase.h"

namespace veltra::comms {
namespace {

using testing::crlfLines;
using testing::readWholeFile;

// Windows-1252 bytes: \xE0 is "à".
const std::string CompanyThreeFile = crlfLines({
    "<ComunicazioneBusQz>2",
    "<Azienda=3>",
    "<Data=31/12/2024>",
    "SBV3A0000C0000042\t3\t4\tComune di Trebiano\t\tGH000042\tOM042GH\t01/02/2020\t"
    "Autobus citt\xE0\t01/02/2020\tScolastico\tUrbano\tGasolio\t40\t0\t0\t9,500\t3,0\tN\tN\t"
    "1500,00\t0,00\t\t0,00\t01/03/2020\t99/99/9999\t",
    "WEB62801313100877\t3\t4\tSociet\xE0 Trasporti Ombrena\t3-01\tAB123457\tOM513AB\t03/09/2016\t"
    "Mercedes Citaro\t03/09/2016\tLinea urbana\tUrbano\tMetano\t30\t70\t1\t11,950\t0,3\tS\tN\t"
    "261000,00\t104400,00\tDGR 388/2015\t12500,00\t15/09/2016\t\t",
    "</ComunicazioneBusQz>25202",
});

const std::string CompanyTwelveFile = crlfLines({
    "<ComunicazioneBusQz>2",
    "<Azienda=12>",
    "<Data=31/12/2024>",
    "YV3T2U829LA195021\t12\t3\tLeasing Nord S.p.A.\t103\tEF246810\tOM777EF\t10/07/2024\t"
    "Solaris Urbino 12\t10/07/2024\tLinea urbana\tUrbano\tElettrica\t29\t71\t1\t12,000\t0,3\tS\tS\t"
    "540000,00\t324000,00\tDGR 97/2024\t54000,00\t01/09/2024\t\t",
    "ZCFA1AD0002512345\t12\t3\tSociet\xE0 Trasporti Ombrena\t101\tAB123456\tOM512AB\t12/05/2015\t"
    "IVECO Citelis 12\t12/05/2015\tLinea urbana\tUrbano\tGasolio\t26\t74\t2\t12,000\t0,3\tS\tS\t"
    "238500,00\t95400,00\tDGR 412/2014\t0,00\t01/06/2015\t\t",
    "</ComunicazioneBusQz>26532",
});

std::map<std::string, std::string> filesIn(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files[entry.path().filename().string()] = readWholeFile(entry.path().string());
  return files;
}

class CompanySituationExportTest : public testing::ExportDatabaseTest {
 protected:
  void SetUp() override {
    ExportDatabaseTest::SetUp();
    folder = dir.path() / "situazioni";
    std::filesystem::create_directory(folder);
  }

  ui::Outcome exportTo(const std::filesystem::path& target) {
    prompter.files.push_back((target / "ComunicazioneBus.TXT").string());
    return ExportCompanySituations(*connection, "31/12/2024");
  }

  std::filesystem::path folder;
};

INSTANTIATE_TEST_SUITE_P(Engines, CompanySituationExportTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(CompanySituationExportTest, WritesOneExactFilePerCompanyWithActiveVehicles) {
  EXPECT_EQ(exportTo(folder), ui::Outcome::Done);
  // Company 7's only vehicle is de-registered and company 9 has none: no file.
  const std::map<std::string, std::string> expected{
      {"ComunicazioneBusQz_3.txt", CompanyThreeFile},
      {"ComunicazioneBusQz_12.txt", CompanyTwelveFile},
  };
  EXPECT_EQ(filesIn(folder), expected);

  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            "Le situazioni dei mezzi Aziendali è stata generata con successo\n"
            "e può essere inoltrata alle Aziende T.P.L.");
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Information);
  EXPECT_EQ(prompter.busyCalls, std::vector<bool>{true});
  ASSERT_EQ(prompter.fileChoices.size(), 1u);
  EXPECT_EQ(prompter.fileChoices[0].title, "Selezione Cartella Situazioni Mezzi Aziendali");
  EXPECT_EQ(prompter.fileChoices[0].proposedName, "ComunicazioneBus");
}

TEST_P(CompanySituationExportTest, ExistingFilesAreReplacedWhole) {
  std::ofstream(folder / "ComunicazioneBusQz_12.txt") << std::string(5000, 'x');
  EXPECT_EQ(exportTo(folder), ui::Outcome::Done);
  EXPECT_EQ(readWholeFile((folder / "ComunicazioneBusQz_12.txt").string()), CompanyTwelveFile);
}

TEST_P(CompanySituationExportTest, ACancelledFolderChoiceWritesNothing) {
  EXPECT_EQ(ExportCompanySituations(*connection, "31/12/2024"), ui::Outcome::Cancelled);
  EXPECT_TRUE(filesIn(folder).empty());
  EXPECT_TRUE(prompter.messages.empty());
}

TEST_P(CompanySituationExportTest, AFileThatCannotBeCreatedStopsTheExport) {
  // A folder in the place of company 3's file: it is the first to be written.
  std::filesystem::create_directory(folder / "ComunicazioneBusQz_3.txt");
  EXPECT_EQ(exportTo(folder), ui::Outcome::Failed);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            "Impossibile creare\n\n" + (folder / "ComunicazioneBusQz_3.txt").string());
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Exclamation);
  EXPECT_FALSE(std::filesystem::exists(folder / "ComunicazioneBusQz_12.txt"));
}

TEST_P(CompanySituationExportTest, AFailureAtALaterCompanyLeavesEveryFileAsItWas) {
  std::ofstream(folder / "ComunicazioneBusQz_3.txt") << "previous";
  std::filesystem::create_directory(folder / "ComunicazioneBusQz_12.txt");
  EXPECT_EQ(exportTo(folder), ui::Outcome::Failed);
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{"Impossibile creare\n\n" +
                                     (folder / "ComunicazioneBusQz_12.txt").string()});
  const std::map<std::string, std::string> unchanged{{"ComunicazioneBusQz_3.txt", "previous"},
                                                     {"ComunicazioneBusQz_12.txt", ""}};
  EXPECT_EQ(filesIn(folder), unchanged);
}

TEST_P(CompanySituationExportTest, AStoredTabIsRefusedNamingTheVehicleAndTheField) {
  db::TableCursor bus(connection.get(), "bus");
  bus.SelectIndex("codice");
  const std::string chassis = "ZCFA1AD0002512345";
  ASSERT_TRUE(bus.Seek({&chassis, 1}));
  ASSERT_TRUE(bus.Edit());
  bus.SetField("atto", "DGR\t412");
  ASSERT_TRUE(bus.Update());
  EXPECT_EQ(exportTo(folder), ui::Outcome::Failed);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].text.starts_with(
      "Impossibile creare\n\n" + (folder / "ComunicazioneBusQz_12.txt").string() +
      "\n\nIl mezzo con telaio \"ZCFA1AD0002512345\" ha nel campo \"atto\" una tabulazione"))
      << prompter.messages[0].text;
  EXPECT_TRUE(filesIn(folder).empty());
}

TEST_P(CompanySituationExportTest, ATextWindows1252CannotHoldIsRefusedBeforeTheFileIsTouched) {
  db::TableCursor bus(connection.get(), "bus");
  bus.SelectIndex("codice");
  const std::string chassis = "SBV3A0000C0000042";
  ASSERT_TRUE(bus.Seek({&chassis, 1}));
  bus.Edit();
  bus.SetField("tipo", "Autobus \u20ac\u0141");  // the euro sign is in the code page, Ł is not
  ASSERT_TRUE(bus.Update());
  std::ofstream(folder / "ComunicazioneBusQz_3.txt") << "previous";

  EXPECT_EQ(exportTo(folder), ui::Outcome::Failed);
  EXPECT_EQ(readWholeFile((folder / "ComunicazioneBusQz_3.txt").string()), "previous");
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_TRUE(prompter.messages[0].text.starts_with(
      "Impossibile creare\n\n" + (folder / "ComunicazioneBusQz_3.txt").string() + "\n\n"));
  EXPECT_FALSE(std::filesystem::exists(folder / "ComunicazioneBusQz_12.txt"));
}

class EmptyRegisterSituationTest : public testing::CommsDatabaseTest {};

INSTANTIATE_TEST_SUITE_P(Engines, EmptyRegisterSituationTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(EmptyRegisterSituationTest, WithoutActiveVehiclesNoFileIsWrittenButTheRunSucceeds) {
  prompter.files.push_back(dir.file("ComunicazioneBus.TXT"));
  EXPECT_EQ(ExportCompanySituations(*connection, "31/12/2024"), ui::Outcome::Done);
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_FALSE(entry.path().filename().string().starts_with("Comunicazione"));
  EXPECT_EQ(prompter.fileChoices.size(), 1u);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, SituationsWrittenMessage);
}

TEST(SituationFilePath, NamesTheFileAfterTheCompanyCodeWithoutLeadingZeros) {
#ifdef _WIN32
  EXPECT_EQ(SituationFilePath("C:\\Uscite\\Città", 7),
            "C:\\Uscite\\Città\\ComunicazioneBusQz_7.txt");
  EXPECT_EQ(SituationFilePath("C:\\Uscite\\", 120), "C:\\Uscite\\ComunicazioneBusQz_120.txt");
#else
  EXPECT_EQ(SituationFilePath("/srv/uscita", 7), "/srv/uscita/ComunicazioneBusQz_7.txt");
  EXPECT_EQ(SituationFilePath("/srv/uscita/", 120), "/srv/uscita/ComunicazioneBusQz_120.txt");
#endif
}

}  // namespace
}  // namespace veltra::comms
