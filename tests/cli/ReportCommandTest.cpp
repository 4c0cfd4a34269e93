// report as a script calls it: a real PDF, read back with poppler's pdfinfo
// and pdftotext, and the refusals with their messages.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "comms/ApplyCommunication.h"
#include "comms/DateInput.h"
#include "db/DatabaseConnection.h"
#include "db/TableCursor.h"
#include "reports/CommunicationsCheckChoice.h"
#include "reports/CommunicationsCheckReport.h"
#include "reports/VehicleListReport.h"
#include "schema/DatabaseCreation.h"
#include "support/PdfText.h"
#include "support/RecordingPrompter.h"
#include "support/RunProgram.h"
#include "support/TempDir.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::testing {
namespace {

namespace fs = std::filesystem;

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
    ++count;
  return count;
}

class ReportCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingPrompter quiet;
    ASSERT_EQ(schema::BuildNewDatabase(quiet, database, "").outcome, ui::Outcome::Done);
  }

  void addCompany(std::int32_t azienda, std::size_t vehicles, std::string date = "15/01/2024") {
    RecordingPrompter quiet;
    db::DatabaseConnection connection(quiet, database);
    ASSERT_TRUE(comms::ApplyCommunication(
                    connection, SyntheticCommunication(azienda, std::move(date), vehicles))
                    .done());
  }

  // The company's synthetic vehicles with their acts in small letters.
  void addCompanyWithSmallActs(std::int32_t azienda, std::size_t vehicles) {
    const auto synthetic = SyntheticCommunication(azienda, "15/01/2024", vehicles);
    comms::Communication small(azienda, "15/01/2024");
    for (comms::VehicleEntry entry : synthetic.entries()) {
      for (char& c : entry.vehicle.atto) c = static_cast<char>(std::tolower(c));
      small.append(std::move(entry));
    }
    RecordingPrompter quiet;
    db::DatabaseConnection connection(quiet, database);
    ASSERT_TRUE(comms::ApplyCommunication(connection, small).done());
  }

  void registerCompany(std::int32_t codice, const std::string& name) {
    RecordingPrompter quiet;
    db::DatabaseConnection connection(quiet, database);
    db::TableCursor regazi(&connection, "regazi");
    ASSERT_TRUE(regazi.AddNew());
    ASSERT_TRUE(regazi.SetField("codice", std::to_string(codice)));
    ASSERT_TRUE(regazi.SetField("denom", name));
    ASSERT_TRUE(regazi.Update());
  }

  // The codes of the companies under observation.
  std::vector<std::int32_t> markedCompanies() {
    RecordingPrompter quiet;
    db::DatabaseConnection connection(quiet, database);
    std::vector<std::int32_t> codes;
    for (const auto& mark : reports::CompanyMarks(connection))
      if (mark.marked) codes.push_back(mark.item.code);
    std::sort(codes.begin(), codes.end());
    return codes;
  }

  ProgramRun cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--db", database});
    return runProgram(VELTRA_CLI_PATH, args, {"VELTRA_SETTINGS=" + dir.file("veltra.ini")});
  }

  // The chassis the list holds, as the core loads them.
  std::vector<std::string> listedChassis(reports::VehicleListOrder order) {
    RecordingPrompter quiet;
    db::DatabaseConnection connection(quiet, database);
    reports::VehicleListReport report(order, {});
    EXPECT_TRUE(report.load(connection, quiet));
    std::vector<std::string> chassis;
    for (std::size_t row = 0; row < report.rowCount(); ++row)
      chassis.push_back(report.cells(row)[1]);
    return chassis;
  }

  std::map<std::string, std::string> pdfInfo(const std::string& pdf) {
    const auto run = veltra::testing::pdfInfo(pdf);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    std::map<std::string, std::string> fields;
    std::size_t start = 0;
    for (auto end = run.out.find('\n'); end != std::string::npos; end = run.out.find('\n', start)) {
      const std::string line = run.out.substr(start, end - start);
      const auto colon = line.find(':');
      if (colon != std::string::npos)
        fields[line.substr(0, colon)] = line.substr(line.find_first_not_of(' ', colon + 1));
      start = end + 1;
    }
    return fields;
  }

  // One text per page.
  std::vector<std::string> pdfPages(const std::string& pdf) {
    const auto run = pdfText(pdf);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (auto end = run.out.find('\f'); end != std::string::npos; end = run.out.find('\f', start)) {
      pages.push_back(run.out.substr(start, end - start));
      start = end + 1;
    }
    return pages;
  }

  TempDir dir;
  std::string database = dir.file("VELTRA.MDB");
  std::string pdf = dir.file("rubrica.pdf");
};

TEST_F(ReportCommandTest, ByCompanyWritesEveryVehicleOnceOverSeveralA4SidewaysPages) {
  // 600 vehicles over 11 ambits: groups longer than a page.
  addCompany(3, 600);
  addCompany(12, 30);
  const auto run = cli({"report", "by-company", "--pdf", pdf});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(run.err, "");

  auto info = pdfInfo(pdf);
  EXPECT_EQ(info["Title"], "Rubrica Mezzi x Azienda");
  EXPECT_EQ(info["Page size"], "842 x 595 pts (A4)");
  const auto pages = pdfPages(pdf);
  ASSERT_GT(pages.size(), 22u) << "22 groups, and some run over a page";
  EXPECT_EQ(info["Pages"], std::to_string(pages.size()));

  std::string all;
  for (std::size_t n = 0; n < pages.size(); ++n) {
    const std::string& page = pages[n];
    EXPECT_NE(page.find("Pag. " + std::to_string(n + 1) + " di " + std::to_string(pages.size())),
              std::string::npos)
        << page;
    EXPECT_NE(page.find("Elenco Mezzi"), std::string::npos);
    EXPECT_NE(page.find("Veltra - \"DataBase Bus - Regione Ombrena\""), std::string::npos);
    EXPECT_NE(page.find("Ultimo Agg."), std::string::npos) << "the heading band's last column";
    EXPECT_EQ(occurrences(page, "Azienda 3 - ") + occurrences(page, "Azienda 12 - "), 1u)
        << "one group per page";
    all += page;
  }
  const auto chassis = listedChassis(reports::VehicleListOrder::ByCompany);
  ASSERT_EQ(chassis.size(), 618u) << "de-registered vehicles are not listed";
  for (const std::string& one : chassis) EXPECT_EQ(occurrences(all, one), 1u) << one;
}

TEST_F(ReportCommandTest, PortraitTurnsThePaperUpright) {
  addCompany(12, 8);
  const auto run = cli({"report", "by-ambit", "--pdf", pdf, "--portrait", "--company", "12"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  auto info = pdfInfo(pdf);
  EXPECT_EQ(info["Title"], "Rubrica Mezzi x Ambito");
  EXPECT_EQ(info["Page size"], "595 x 842 pts (A4)");
}

TEST_F(ReportCommandTest, RefusalsAndEmptyReportsWriteNoFile) {
  // No vehicle at all: nothing to print, said on standard output.
  auto run = cli({"report", "by-company", "--pdf", pdf});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "Non ci sono dati da stampare !!!\n");
  EXPECT_FALSE(fs::exists(pdf));

  addCompany(12, 5);
  run = cli({"report", "by-company", "--pdf", pdf, "--company", "3"});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err,
            "ATTENZIONE: Il Codice Azienda non è valido.\n\n"
            "Occorre selezionare un Codice Azienda presente nella lista.\n\n\n");
  run = cli({"report", "by-ambit", "--pdf", pdf, "--ambit", "x1"});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err.rfind("ATTENZIONE: Il Codice Ambito non è valido.", 0), 0u) << run.err;
  EXPECT_FALSE(fs::exists(pdf));

  run = cli({"report", "by-company", "--pdf", dir.file("missing/rubrica.pdf")});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err, "Impossibile creare\n\n" + dir.file("missing/rubrica.pdf") + "\n");
}

// A PDF that cannot be written whole (here past a file-size limit, as on a
// full disk) leaves the previous file as it was and nothing beside it.
TEST_F(ReportCommandTest, AFailedWriteKeepsThePreviousPdf) {
  addCompany(12, 200);
  std::ofstream(pdf) << "previous";
  const auto run = runProgram("/bin/sh",
                              {"-c", "ulimit -f 4; exec \"$0\" \"$@\"", VELTRA_CLI_PATH, "--db",
                               database, "report", "by-company", "--pdf", pdf},
                              {"VELTRA_SETTINGS=" + dir.file("veltra.ini")});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err, "Impossibile scrivere\n\n" + pdf + "\n");
  std::ifstream kept(pdf);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "previous");
  for (const auto& entry : fs::directory_iterator(dir.path()))
    EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
}

TEST_F(ReportCommandTest, AnEmptyCodeIsCodeZeroWhenItsCompanyHasVehicles) {
  addCompany(12, 5);
  auto run = cli({"report", "by-company", "--pdf", pdf, "--company", ""});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err, std::string(comms::InvalidCompanyMessage) + "\n");
  run = cli({"report", "by-ambit", "--pdf", pdf, "--ambit", ""});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err, std::string(comms::InvalidAmbitMessage) + "\n");
  EXPECT_FALSE(fs::exists(pdf));

  addCompany(0, 3);
  run = cli({"report", "by-company", "--pdf", pdf, "--company", ""});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const auto pages = pdfPages(pdf);
  ASSERT_FALSE(pages.empty());
  for (const auto& page : pages) {
    EXPECT_NE(page.find("Azienda 0 - "), std::string::npos) << page;
    EXPECT_EQ(page.find("Azienda 12 - "), std::string::npos) << page;
  }
}

TEST_F(ReportCommandTest, FinancingKeepsAnActSpeltInTwoCasesOnOnePage) {
  // Acts DGR 101/2001 to DGR 103/2003 for company 12, in small letters for 3.
  addCompany(12, 4);
  addCompanyWithSmallActs(3, 4);
  const auto run = cli({"report", "financing", "--pdf", pdf});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  const auto pages = pdfPages(pdf);
  ASSERT_EQ(pages.size(), 4u) << "three acts and the vehicles without one";
  for (const auto& page : pages) EXPECT_EQ(occurrences(page, "ZCF"), 2u) << page;
}

TEST_F(ReportCommandTest, MalformedReportCommandsAreUsageErrors) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"report"},
        {"report", "by-plate", "--pdf", "x.pdf"},
        {"report", "by-company"},
        {"report", "by-company", "--pdf", "x.pdf", "--from", "1/1/24"}}) {
    const auto run = cli(args);
    EXPECT_EQ(run.exitStatus, 2) << args.size();
    EXPECT_NE(run.err.find("Uso: veltra-cli"), std::string::npos);
  }
}

TEST_F(ReportCommandTest, FinancingPutsEachActOnPagesOfItsOwn) {
  // 50 vehicles of 12: every fourth without an act, the others one act each,
  // the 50th de-registered; the four of company 3 share acts with 12's.
  addCompany(12, 50);
  addCompany(3, 4);
  auto run = cli({"report", "financing", "--pdf", pdf});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  auto info = pdfInfo(pdf);
  EXPECT_EQ(info["Title"], "Rubrica Mezzi (Finanziamento)");
  EXPECT_EQ(info["Page size"], "842 x 595 pts (A4)");
  auto pages = pdfPages(pdf);
  ASSERT_EQ(pages.size(), 38u) << "37 acts and the vehicles without one";
  EXPECT_EQ(info["Pages"], "38");
  for (std::size_t n = 0; n < pages.size(); ++n) {
    EXPECT_NE(pages[n].find("Pag. " + std::to_string(n + 1) + " di 38"), std::string::npos);
    EXPECT_EQ(occurrences(pages[n], "Atto regionale erogazione finanziamento: "), 1u);
  }
  EXPECT_NE(pages[0].find("finanziamento: ASSENTE"), std::string::npos) << pages[0];
  EXPECT_EQ(occurrences(pages[0], "ZCF"), 14u) << "13 of company 12 and one of company 3";
  const auto radiated = std::find_if(pages.begin(), pages.end(), [](const std::string& page) {
    return page.find("finanziamento: DGR 149/2009") != std::string::npos;
  });
  ASSERT_NE(radiated, pages.end());
  EXPECT_NE(radiated->find("31/12/2023"), std::string::npos) << "its radiation date";

  run = cli({"report", "financing", "--pdf", pdf, "--company", "3", "--portrait"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  info = pdfInfo(pdf);
  EXPECT_EQ(info["Pages"], "4");
  EXPECT_EQ(info["Page size"], "595 x 842 pts (A4)");

  run = cli({"report", "financing", "--pdf", pdf, "--company", "5"});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err, std::string(comms::InvalidCompanyMessage) + "\n");
}

TEST_F(ReportCommandTest, VerificationStoresTheMarksItIsGivenAndListsThem) {
  addCompany(12, 5);
  addCompany(12, 2, "20/01/2024");
  addCompany(3, 4, "05/03/2024");
  const std::vector<std::string> january = {"report", "verification", "--pdf", pdf,
                                            "--from", "01/01/24",     "--to",  "31.01.2024"};
  // A new register watches no company.
  auto run = cli(january);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.out, "Non ci sono dati da stampare !!!\n");
  EXPECT_FALSE(fs::exists(pdf));

  auto marked = january;
  marked.insert(marked.end(), {"--mark", "12,3,0001"});
  run = cli(marked);
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(markedCompanies(), (std::vector<std::int32_t>{1, 3, 12}));
  auto pages = pdfPages(pdf);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pdfInfo(pdf)["Title"], "Verifica Comunicazioni Aziendali");
  EXPECT_NE(pages[0].find("Periodo dal 01/01/2024 al 31/01/2024"), std::string::npos) << pages[0];
  EXPECT_NE(pages[0].find("Numero Elementi Comunicati"), std::string::npos);
  EXPECT_EQ(occurrences(pages[0], "0012 "), 2u) << "two communications in January";
  EXPECT_NE(pages[0].find("15/01/2024"), std::string::npos);
  EXPECT_NE(pages[0].find("20/01/2024"), std::string::npos);
  EXPECT_EQ(occurrences(pages[0], std::string(reports::NotReceivedText)), 2u)
      << "company 3 sent in March, company 1 never";

  // Marking again sets, it does not flip; unmarking clears; both are kept.
  marked.insert(marked.end(), {"--unmark", "1"});
  run = cli(marked);
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(markedCompanies(), (std::vector<std::int32_t>{3, 12}));
  run = cli(january);
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(occurrences(pdfPages(pdf)[0], std::string(reports::NotReceivedText)), 1u);
}

TEST_F(ReportCommandTest, VerificationRefusesBeforeChangingAnyMark) {
  addCompany(12, 5);
  const std::vector<std::string> january = {"report", "verification", "--pdf", pdf,
                                            "--from", "01/01/2024",   "--to",  "31/01/2024"};
  for (const char* codes : {"12,9999", "12,x", "12,", "12,-3"}) {
    auto args = january;
    args.insert(args.end(), {"--mark", codes});
    const auto run = cli(args);
    EXPECT_EQ(run.exitStatus, 1) << codes;
    EXPECT_NE(run.err.find("non è presente nell'archivio delle Aziende."), std::string::npos)
        << run.err;
  }
  auto args = january;
  args.insert(args.end(), {"--mark", "12"});
  args[5] = "31/02/2024";
  auto run = cli(args);
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err, std::string(reports::InvalidPeriodStartMessage) + "\n");
  args[5] = "01/02/2024";
  run = cli(args);
  EXPECT_EQ(run.err, std::string(reports::PeriodEndsBeforeStartMessage) + "\n");
  EXPECT_EQ(markedCompanies(), std::vector<std::int32_t>{});
  EXPECT_FALSE(fs::exists(pdf));

  // The start left out is the first of this month.
  run = cli({"report", "verification", "--pdf", pdf, "--to", "31/12/2023"});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_EQ(run.err, std::string(reports::PeriodEndsBeforeStartMessage) + "\n");
}

TEST_F(ReportCommandTest, VerificationMarksLongCodesAndDefaultsToThisMonth) {
  registerCompany(10001, "Consorzio Grande");
  addCompany(10001, 2, comms::TodayDateText());
  const auto run = cli({"report", "verification", "--pdf", pdf, "--mark", "10001"});
  ASSERT_EQ(run.exitStatus, 0) << run.err;
  EXPECT_EQ(markedCompanies(), std::vector<std::int32_t>{10001});
  const auto pages = pdfPages(pdf);
  ASSERT_EQ(pages.size(), 1u);
  const auto period = reports::DefaultCheckPeriod(comms::TodayDateText());
  EXPECT_NE(pages[0].find("Periodo dal " + period.start + " al " + period.end), std::string::npos)
      << pages[0];
  EXPECT_NE(pages[0].find("10001"), std::string::npos);
  EXPECT_NE(pages[0].find("2 Elementi"), std::string::npos) << pages[0];
}

}  // namespace
}  // namespace veltra::testing
