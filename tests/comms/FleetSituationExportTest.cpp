#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "comms/ExportDatabase.h"
#include "comms/FleetSituationExport.h"

namespace veltra::comms {
namespace {

using testing::crlfLines;
using testing::readWholeFile;

// Windows-1252 bytes: \xE0 is "à".
const std::string ColumnNames =
    "Telaio\tUltimoAggiornamento\tPropriet\xE0\tAzienda\tDenomAzienda\tAmbito\tDenomAmbito\t"
    "Interno\tLibretto\tTarga\tPrimaImmatr\tMarcaTipo\tDataImmatr\tDestinazione\tCarrozzeria\t"
    "Alimentazione\tNroPostiSeduti\tNroPostiPiedi\tNroPostiCarrozzella\tLunghezza\tAltezzaPiano\t"
    "AriaCondizionata\tPedanaCarrozzella\tPrezzo\tContributoRegione\tAttoRegione\tAltriContributi\t"
    "DataImmissione\tDataDismissione\tDataRadiazione";

const std::string SbvLine =
    "SBV3A0000C0000042\t10/10/2024\tComune di Trebiano\t3\tBeta Trasporti\t4\tAmbito Est\t\t"
    "GH000042\tOM042GH\t01/02/2020\tAutobus citt\xE0\t01/02/2020\tScolastico\tUrbano\tGasolio\t"
    "40\t0\t0\t9,500\t3,0\tN\tN\t1500,00\t0,00\t\t0,00\t01/03/2020\t99/99/9999\t";
const std::string WebLineOfCompanyThree =
    "WEB62801313100877\t10/10/2024\tSociet\xE0 Trasporti Ombrena\t3\tBeta Trasporti\t4\t"
    "Ambito Est\t3-01\tAB123457\tOM513AB\t03/09/2016\tMercedes Citaro\t03/09/2016\tLinea urbana\t"
    "Urbano\tMetano\t30\t70\t1\t11,950\t0,3\tS\tN\t261000,00\t104400,00\tDGR 388/2015\t12500,00\t"
    "15/09/2016\t\t";
const std::string RadLine =
    "RAD0000000000007\t01/07/2024\tGamma Viaggi\t7\tGamma Viaggi\t5\tAmbito Sud\t7\tLB7\tOM007RA\t"
    "15/01/2005\tSetra S 315\t15/01/2005\tNoleggio\tGran turismo\tGasolio\t49\t0\t0\t12,000\t1,1\t"
    "S\tN\t0,00\t0,00\t\t0,00\t01/02/2005\t30/06/2024\t30/06/2024";
const std::string VnemLine =
    "VNEM1A9TH2A009876\t30/09/2024\tComune di Citt\xE0 Alta\t12\tAlfa Citt\xE0 Autolinee\t5\t"
    "Ambito Sud\t205\tCD765432\tOM201CD\t20/02/2012\tIrisbus Crossway\t20/02/2012\t"
    "Linea extraurb.\tInterurbano\tGasolio\t53\t25\t0\t12,800\t0,9\tS\tN\t212000,00\t0,00\t\t0,00\t"
    "01/03/2012\t31/08/2024\t15/09/2024";
const std::string Yv3tLine =
    "YV3T2U829LA195021\t30/09/2024\tLeasing Nord S.p.A.\t12\tAlfa Citt\xE0 Autolinee\t3\t"
    "Ambito Nord\t103\tEF246810\tOM777EF\t10/07/2024\tSolaris Urbino 12\t10/07/2024\tLinea urbana\t"
    "Urbano\tElettrica\t29\t71\t1\t12,000\t0,3\tS\tS\t540000,00\t324000,00\tDGR 97/2024\t"
    "54000,00\t01/09/2024\t\t";
const std::string ZcfaLine =
    "ZCFA1AD0002512345\t30/09/2024\tSociet\xE0 Trasporti Ombrena\t12\tAlfa Citt\xE0 Autolinee\t3\t"
    "Ambito Nord\t101\tAB123456\tOM512AB\t12/05/2015\tIVECO Citelis 12\t12/05/2015\tLinea urbana\t"
    "Urbano\tGasolio\t26\t74\t2\t12,000\t0,3\tS\tS\t238500,00\t95400,00\tDGR 412/2014\t0,00\t"
    "01/06/2015\t\t";

FleetExportChoice everything(const std::string& date) {
  FleetExportChoice choice;
  choice.date = date;
  return choice;
}

FleetExportChoice ofCompany(std::int32_t azienda, const std::string& date) {
  FleetExportChoice choice = everything(date);
  choice.filter.allCompanies = false;
  choice.filter.azienda = azienda;
  return choice;
}

std::vector<std::string> dataLines(const std::string& file) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(file.substr(start, end - start));
  return {lines.begin() + std::min<std::size_t>(6, lines.size()), lines.end()};
}

class FleetSituationExportTest : public testing::ExportDatabaseTest {
 public:
  using ExportDatabaseTest::rename;

  // A text no program of the office writes into a history row: what another
  // tool may leave.
  void setHistoryField(const std::string& telaio, const std::string& data, const std::string& field,
                       const std::string& text) {
    db::TableCursor storia(connection.get(), "storia");
    storia.SelectIndex("codice");
    const std::string keys[] = {telaio, data};
    ASSERT_TRUE(storia.Seek(keys));
    ASSERT_TRUE(storia.Edit());
    storia.SetField(field, text);
    ASSERT_TRUE(storia.Update());
  }

 protected:
  ui::Outcome exportFleet(const FleetExportChoice& choice) {
    prompter.clear();
    prompter.files.push_back(out);
    return ExportFleetSituation(*connection, choice);
  }

  // The data lines of an export that must succeed.
  std::vector<std::string> exported(const FleetExportChoice& choice) {
    EXPECT_EQ(exportFleet(choice), ui::Outcome::Done);
    return dataLines(readWholeFile(out));
  }

  void expectNothingToExport(const FleetExportChoice& choice) {
    EXPECT_EQ(exportFleet(choice), ui::Outcome::Failed);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{std::string(NothingToExportMessage)});
    EXPECT_EQ(prompter.messages.at(0).icon, ui::Icon::Stop);
    EXPECT_TRUE(prompter.fileChoices.empty()) << "no file may be asked for";
    EXPECT_FALSE(std::filesystem::exists(out));
  }

  std::string out = dir.file("SituazioneMezzi.txt");
};

INSTANTIATE_TEST_SUITE_P(Engines, FleetSituationExportTest,
                         ::testing::ValuesIn(testing::testEngines()), testing::engineName);

TEST_P(FleetSituationExportTest, WritesTheWholeFleetAsOfTheDay) {
  EXPECT_EQ(exportFleet(everything("31/12/2024")), ui::Outcome::Done);
  EXPECT_EQ(readWholeFile(out), crlfLines({
                                    "Situazione mezzi al 31/12/2024",
                                    "Mezzi utilizzati da qualsiasi azienda",
                                    "Mezzi assegnati a qualsiasi ambito",
                                    "Compresi i mezzi gi\xE0 radiati",
                                    "",
                                    ColumnNames,
                                    SbvLine,
                                    WebLineOfCompanyThree,
                                    RadLine,
                                    VnemLine,
                                    Yv3tLine,
                                    ZcfaLine,
                                }));
  // A successful run ends silently.
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_EQ(prompter.busyCalls, std::vector<bool>{true});
  ASSERT_EQ(prompter.fileChoices.size(), 1u);
  EXPECT_EQ(prompter.fileChoices[0].title, "Selezione file TXT per esportazione situazione mezzi");
  EXPECT_EQ(prompter.fileChoices[0].proposedName, "SituazioneMezzi");
  EXPECT_EQ(prompter.fileChoices[0].filter, "File TXT (*.txt)|*.txt|Tutti i files (*.*)|*.*||");
}

TEST_P(FleetSituationExportTest, TheHeaderStatesTheChosenCriteria) {
  FleetExportChoice choice = ofCompany(12, "31/12/2024");
  choice.filter.allAmbits = false;
  choice.filter.ambito = 3;
  choice.filter.activeOnly = true;
  EXPECT_EQ(exportFleet(choice), ui::Outcome::Done);
  EXPECT_EQ(readWholeFile(out), crlfLines({
                                    "Situazione mezzi al 31/12/2024",
                                    "Esclusivamente mezzi utilizzati dall'Azienda=12",
                                    "Esclusivamente mezzi assegnati all'Ambito=3",
                                    "Esclusi i mezzi gi\xE0 radiati",
                                    "",
                                    ColumnNames,
                                    Yv3tLine,
                                    ZcfaLine,
                                }));
}

TEST_P(FleetSituationExportTest, AVehicleIsListedUnderTheCompanyOfItsStateOnTheDay) {
  // WEB62801313100877 belonged to company 12 until company 3 took it on 10/10/2024.
  const auto before = exported(ofCompany(12, "09/10/2024"));
  ASSERT_EQ(before.size(), 4u);
  EXPECT_TRUE(
      before[1].starts_with("WEB62801313100877\t15/03/2024\tSociet\xE0 Trasporti Ombrena\t12\t"))
      << before[1];
  EXPECT_EQ(exported(ofCompany(12, "31/12/2024")),
            (std::vector<std::string>{VnemLine, Yv3tLine, ZcfaLine}));
  EXPECT_EQ(exported(ofCompany(3, "31/12/2024")),
            (std::vector<std::string>{SbvLine, WebLineOfCompanyThree}));
}

TEST_P(FleetSituationExportTest, TheDayItselfCounts) {
  const auto lines = exported(ofCompany(12, "30/09/2024"));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3], ZcfaLine);
  const auto dayBefore = exported(ofCompany(12, "29/09/2024"));
  ASSERT_EQ(dayBefore.size(), 3u);  // the vehicle added on 30/09 is not there yet
  EXPECT_TRUE(dayBefore[2].starts_with("ZCFA1AD0002512345\t15/03/2024\t"));
}

TEST_P(FleetSituationExportTest, BeforeTheFirstCommunicationThereIsNothingToExport) {
  expectNothingToExport(everything("14/03/2024"));
}

TEST_P(FleetSituationExportTest, ACompanyWithoutVehiclesOnTheDayHasNothingToExport) {
  // Company 3 has vehicles, but only from 10/10/2024.
  expectNothingToExport(ofCompany(3, "30/06/2024"));
}

TEST_P(FleetSituationExportTest, ActiveOnlyGoesByTheStateOnTheDay) {
  FleetExportChoice choice = everything("30/06/2024");
  choice.filter.activeOnly = true;
  // VNEM1A9TH2A009876 is de-registered on 15/09/2024, but its state of
  // 15/03/2024 has no de-registration date.
  const auto lines = exported(choice);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(lines[0].starts_with("VNEM1A9TH2A009876\t15/03/2024\t")) << lines[0];
  EXPECT_TRUE(lines[0].ends_with("\t01/03/2012\t99/99/9999\t")) << lines[0];

  choice.date = "31/12/2024";
  EXPECT_EQ(exported(choice),
            (std::vector<std::string>{SbvLine, WebLineOfCompanyThree, Yv3tLine, ZcfaLine}));
}

TEST_P(FleetSituationExportTest, AChassisWrittenInOtherCaseIsTheSameVehicle) {
  // The register knows the vehicle by its chassis whatever the case of its
  // letters: the later state replaces the earlier, under the first spelling.
  Communication later(12, "01/12/2024");
  VehicleEntry entry;
  entry.telaio = "zcfa1ad0002512345";
  entry.vehicle.ambito = 3;
  entry.vehicle.prop = "Leasing Nord S.p.A.";
  entry.vehicle.libretto = "AB123456";
  entry.vehicle.targa = "OM512AB";
  entry.vehicle.prima = "12/05/2015";
  entry.vehicle.tipo = "IVECO Citelis 12";
  entry.vehicle.dtimm = "12/05/2015";
  entry.vehicle.dest = "Linea urbana";
  entry.vehicle.carroz = "Urbano";
  entry.vehicle.aliment = "Gasolio";
  entry.vehicle.datini = "01/06/2015";
  later.append(entry);
  importCommunication(later);

  const auto lines = exported(ofCompany(12, "31/12/2024"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_TRUE(lines[2].starts_with("ZCFA1AD0002512345\t01/12/2024\tLeasing Nord S.p.A.\t"))
      << lines[2];
}

TEST_P(FleetSituationExportTest, AFileThatCannotBeCreatedIsReported) {
  std::filesystem::create_directory(out);
  EXPECT_EQ(exportFleet(everything("31/12/2024")), ui::Outcome::Failed);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text, "Impossibile creare\n\n" + out);
  EXPECT_EQ(prompter.messages[0].icon, ui::Icon::Exclamation);
  EXPECT_EQ(prompter.messages[0].caption, "Esportazione situazione mezzi");
}

TEST_P(FleetSituationExportTest, ACancelledFileChoiceWritesNothing) {
  prompter.clear();
  EXPECT_EQ(ExportFleetSituation(*connection, everything("31/12/2024")), ui::Outcome::Cancelled);
  EXPECT_TRUE(prompter.messages.empty());
  EXPECT_FALSE(std::filesystem::exists(out));
}

// Every failure leaves the user's file as it was and no temporary file
// beside it, and says which file and why.
TEST_P(FleetSituationExportTest, AFailedExportLeavesTheExistingFileAndNoTemporary) {
  struct Case {
    const char* name;
    std::string target;
    std::function<void(FleetSituationExportTest&)> damage;
    std::string reason;  // the start of what follows the file's name
  };
  const std::string regularFile = dir.file("VELTRA.MDB");
  // In this order: each case keeps the damage of those before it.
  const std::vector<Case> cases = {
      {"missing folder", dir.file("nessuna/SituazioneMezzi.txt"), [](auto&) {}, ""},
      {"under a regular file", regularFile + "/SituazioneMezzi.txt", [](auto&) {}, ""},
      {"tab", out,
       [](auto& test) {
         test.setHistoryField("ZCFA1AD0002512345", "30/09/2024", "prop", "Societ\u00e0\tOmbrena");
       },
       "\n\nIl mezzo con telaio \"ZCFA1AD0002512345\" ha nel campo \"prop\" una tabulazione"},
      {"line feed in a name", out, [](auto& test) { test.rename("regprv", 3, "Ambito\nNord"); },
       "\n\nIl mezzo con telaio \"YV3T2U829LA195021\" ha nel campo \"regprv.denom\""},
      {"unencodable", out,
       [](auto& test) { test.rename("regazi", 12, "Alfa \u0141\u00f3d\u017a"); },
       "\n\nIl mezzo con telaio \""},
  };
  std::ofstream(out) << "previous";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.damage(*this);
    prompter.clear();
    prompter.files.push_back(c.target);
    EXPECT_EQ(ExportFleetSituation(*connection, everything("31/12/2024")), ui::Outcome::Failed);
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0].text.rfind("Impossibile creare\n\n" + c.target + c.reason, 0),
              0u)
        << prompter.messages[0].text;
    EXPECT_EQ(readWholeFile(out), "previous");
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
  }
}

TEST_P(FleetSituationExportTest, TemporariesOfAKilledExportAreRemovedByTheNext) {
  const std::filesystem::path target(out);
  const auto stale = target.parent_path() / ("." + target.filename().string() + ".k1ll3d");
  const auto unrelated = target.parent_path() / ".altro.txt.k1ll3d";
  std::ofstream(stale) << "half a file";
  std::ofstream(unrelated) << "not ours";
  prompter.files.push_back(out);
  EXPECT_EQ(ExportFleetSituation(*connection, everything("31/12/2024")), ui::Outcome::Done);
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_TRUE(std::filesystem::exists(unrelated));
  EXPECT_TRUE(std::filesystem::exists(out));
}

TEST_P(FleetSituationExportTest, ATextTheCodePageCannotHoldNamesTheVehicleAndTheField) {
  setHistoryField("ZCFA1AD0002512345", "30/09/2024", "prop", "\u0141\u00f3d\u017a Trasporti");
  prompter.files.push_back(out);
  EXPECT_EQ(ExportFleetSituation(*connection, everything("31/12/2024")), ui::Outcome::Failed);
  ASSERT_EQ(prompter.messages.size(), 1u);
  EXPECT_EQ(prompter.messages[0].text,
            "Impossibile creare\n\n" + out +
                "\n\nIl mezzo con telaio \"ZCFA1AD0002512345\" ha nel campo \"prop\" caratteri "
                "che la codifica Windows-1252 non può rappresentare.\nIl dato va corretto nel "
                "database.");
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace veltra::comms
