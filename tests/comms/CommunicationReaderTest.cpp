#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "comms/CommunicationReader.h"
#include "comms/LineChecksum.h"
#include "comms/RecordLine.h"
#include "comms/TaggedFileWriter.h"
#include "synthetic/SyntheticCommunication.h"

namespace veltra::comms {
namespace {

using testing::SyntheticCommunication;

CommunicationCheck check(const std::string& bytes) {
  std::istringstream in(bytes);
  return CheckCommunication(in);
}

std::string joinLines(const std::vector<std::string>& lines, const std::string& eol = "\r\n") {
  std::string text;
  for (const auto& line : lines) text += line + eol;
  return text;
}

// A file of the given header, company, date and record lines (Windows-1252
// bytes), closed by the trailer with their running checksum plus offset.
std::string fileOf(const std::string& header, const std::vector<std::string>& summed,
                   int offset = 0) {
  RunningChecksum total;
  for (const auto& line : summed) total.add(line);
  std::vector<std::string> lines{header};
  lines.insert(lines.end(), summed.begin(), summed.end());
  lines.push_back("</VariazioniBusQz>" + std::to_string(total.total() + offset));
  return joinLines(lines);
}

std::string recordLine(const std::string& telaio, const std::string& company = "7") {
  return "VAR\t" + telaio + "\t" + company +
         "\t3\tProp\t12\tLIB1\tOM1\t01/02/2003\tIveco\t04/05/2006\tLinea\tUrbano\tGasolio\t40\t60"
         "\t2\t12,5\t0,3\tS\tN\t1000\t400\tDGR\t0\t07/08/2009\t\t";
}

std::string twoRecordFile() {
  return fileOf("<VariazioniBusQz>2",
                {"<Azienda=7>", "<Data=15/03/2024>", recordLine("A1"), recordLine("B2")});
}

void expectRefused(const std::string& bytes, FileFault fault, std::size_t line) {
  const CommunicationCheck result = check(bytes);
  EXPECT_FALSE(result.communication);
  EXPECT_EQ(result.fault, fault);
  EXPECT_EQ(result.faultLine, line);
}

TEST(CheckCommunication, AcceptsAWellFormedFile) {
  const CommunicationCheck result = check(twoRecordFile());
  ASSERT_TRUE(result.communication);
  EXPECT_EQ(result.fault, FileFault::None);
  EXPECT_EQ(result.communication->azienda(), 7);
  EXPECT_EQ(result.communication->date(), "15/03/2024");
  ASSERT_EQ(result.communication->entryCount(), 2u);
  EXPECT_EQ(result.communication->entries()[0].telaio, "A1");
  EXPECT_EQ(result.communication->entries()[1].telaio, "B2");
}

TEST(CheckCommunication, ReadsBackWhatTheWriterWrites) {
  const Communication written = SyntheticCommunication(12, "01/06/2024", 120);
  const auto bytes = CommunicationFileText(written);
  ASSERT_TRUE(bytes);
  const CommunicationCheck result = check(*bytes);
  ASSERT_TRUE(result.communication) << static_cast<int>(result.fault) << " " << result.faultLine;
  EXPECT_EQ(result.communication->entryCount(), 120u);
  EXPECT_EQ(CommunicationFileText(*result.communication), bytes);
}

TEST(CheckCommunication, ReadsBackAFileFarLongerThanOneReadOfTheDisk) {
  const Communication written = SyntheticCommunication(12, "01/06/2024", 2000);
  const auto bytes = CommunicationFileText(written);
  ASSERT_TRUE(bytes);
  const CommunicationCheck result = check(*bytes);
  ASSERT_TRUE(result.communication) << static_cast<int>(result.fault) << " " << result.faultLine;
  EXPECT_EQ(CommunicationFileText(*result.communication), bytes);
}

TEST(CheckCommunication, LineFeedAloneReadsLikeCarriageReturnLineFeed) {
  const std::string crlf = twoRecordFile();
  std::string lf;
  for (char c : crlf)
    if (c != '\r') lf += c;
  const auto a = check(crlf);
  const auto b = check(lf);
  ASSERT_TRUE(a.communication);
  ASSERT_TRUE(b.communication);
  EXPECT_EQ(a.communication->entries(), b.communication->entries());
}

TEST(CheckCommunication, AcceptsALastLineWithoutTerminatorAndIgnoresWhatFollowsTheTrailer) {
  std::string file = twoRecordFile();
  file.resize(file.size() - 2);
  EXPECT_TRUE(check(file).communication);
  EXPECT_TRUE(check(twoRecordFile() + "garbage\x81\0\r\n").communication);
}

TEST(CheckCommunication, AcceptsACommunicationWithNoVehicles) {
  const auto result = check(fileOf("<VariazioniBusQz>0", {"<Azienda=7>", "<Data=15/03/2024>"}));
  ASSERT_TRUE(result.communication);
  EXPECT_EQ(result.communication->entryCount(), 0u);
  // A negative count also means no record lines.
  EXPECT_TRUE(
      check(fileOf("<VariazioniBusQz>-3", {"<Azienda=7>", "<Data=15/03/2024>"})).communication);
}

TEST(CheckCommunication, TheCompanyLineGivesTheCodeOfEveryRecord) {
  const auto result = check(fileOf(
      "<VariazioniBusQz>1", {"<Azienda=  9 >", "<Data=15/03/2024>", recordLine("A1", "123")}));
  ASSERT_TRUE(result.communication);
  EXPECT_EQ(result.communication->azienda(), 9);
}

TEST(CheckCommunication, TakesTheTenDateCharactersAsTheyStand) {
  const auto result = check(fileOf("<VariazioniBusQz>0", {"<Azienda=7>", "<Data=29/02/2024>"}));
  ASSERT_TRUE(result.communication);
  EXPECT_EQ(result.communication->date(), "29/02/2024");
}

TEST(CheckCommunication, ConvertsAccentedLettersAndSumsTheirBytes) {
  std::string record = recordLine("A1");
  record.replace(record.find("Prop"), 4, "Citt\xE0");
  const auto result =
      check(fileOf("<VariazioniBusQz>1", {"<Azienda=7>", "<Data=15/03/2024>", record}));
  ASSERT_TRUE(result.communication);
  EXPECT_EQ(result.communication->entries()[0].vehicle.prop, "Città");
}

TEST(CheckCommunication, RefusesABadHeader) {
  const std::vector<std::string> summed{"<Azienda=7>", "<Data=15/03/2024>"};
  expectRefused(fileOf("<VariazioniBusQ>0", summed), FileFault::Header, 1);
  expectRefused(fileOf("<ComunicazioneBusQz>0", summed), FileFault::Header, 1);
  expectRefused(fileOf(" <VariazioniBusQz>0", summed), FileFault::Header, 1);
  expectRefused("\xEF\xBB\xBF" + fileOf("<VariazioniBusQz>0", summed), FileFault::Header, 1);
  expectRefused(fileOf("<VariazioniBusQz>9999999999", summed), FileFault::Header, 1);
  expectRefused("", FileFault::Header, 1);
}

TEST(CheckCommunication, RefusesABadCompanyLine) {
  const auto withCompany = [](const std::string& company) {
    return fileOf("<VariazioniBusQz>0", {company, "<Data=15/03/2024>"});
  };
  expectRefused(withCompany("<Azienda=>"), FileFault::CompanyLine, 2);  // 10 characters
  EXPECT_TRUE(check(withCompany("<Azienda=7>")).communication);         // 11 characters
  expectRefused(withCompany("<Azienda=12"), FileFault::CompanyLine, 2);
  expectRefused(withCompany("<azienda=12>"), FileFault::CompanyLine, 2);
  expectRefused(withCompany("<Azienda=99999999999>"), FileFault::CompanyLine, 2);
  // No company's code: the placeholder 0 and what a 16-bit code cannot hold.
  for (const char* code : {"XY", "12a", "-3", "0", "70000"})
    expectRefused(withCompany("<Azienda=" + std::string(code) + ">"), FileFault::CompanyLine, 2);
  EXPECT_EQ(check(withCompany("<Azienda= 012>")).communication->azienda(), 12);
  EXPECT_EQ(check(withCompany("<Azienda=32767>")).communication->azienda(), 32767);
  expectRefused(withCompany("<Azienda=32768>"), FileFault::CompanyLine, 2);
  expectRefused(joinLines({"<VariazioniBusQz>0"}), FileFault::CompanyLine, 2);
}

TEST(CheckCommunication, RefusesABadDateLine) {
  const auto withDate = [](const std::string& date) {
    return fileOf("<VariazioniBusQz>0", {"<Azienda=7>", date});
  };
  expectRefused(withDate("<Data=15/03/2024> "), FileFault::DateLine, 3);
  expectRefused(withDate("<Data=5/03/2024>"), FileFault::DateLine, 3);
  expectRefused(withDate("<Date=15/03/2024>"), FileFault::DateLine, 3);
  expectRefused(withDate("<Data=15/03/20245"), FileFault::DateLine, 3);
  expectRefused(withDate("<Data=15/03/2024x>"), FileFault::DateLine, 3);
  for (const char* date :
       {"not a date", "31/02/2020", "99/99/9999", "00/00/0000", "15-03-2024", "1a/03/2024"})
    expectRefused(withDate("<Data=" + std::string(date) + ">"), FileFault::DateLine, 3);
}

TEST(CheckCommunication, RefusesRecordsThatDoNotMatchTheCount) {
  const std::vector<std::string> oneRecord{"<Azienda=7>", "<Data=15/03/2024>", recordLine("A1")};
  // One record more: the trailer test meets the second record.
  expectRefused(fileOf("<VariazioniBusQz>0", oneRecord), FileFault::Trailer, 4);
  // One record less, or far fewer: the trailer stands where a record should.
  expectRefused(fileOf("<VariazioniBusQz>2", oneRecord), FileFault::FewRecords, 5);
  expectRefused(fileOf("<VariazioniBusQz>2000000000", oneRecord), FileFault::FewRecords, 5);
  // Without a trailer, the missing lines read as empty.
  const std::string cut =
      joinLines({"<VariazioniBusQz>2", oneRecord[0], oneRecord[1], oneRecord[2]});
  expectRefused(cut, FileFault::Record, 5);
  EXPECT_TRUE(check(cut).pastEnd);
  EXPECT_FALSE(check(fileOf("<VariazioniBusQz>2", oneRecord)).pastEnd);
}

TEST(CheckCommunication, RefusesABadRecordLine) {
  std::string badKind = recordLine("A1");
  badKind.replace(0, 3, "var");
  expectRefused(fileOf("<VariazioniBusQz>1", {"<Azienda=7>", "<Data=15/03/2024>", badKind}),
                FileFault::Record, 4);
  expectRefused(
      fileOf("<VariazioniBusQz>1", {"<Azienda=7>", "<Data=15/03/2024>", recordLine("A1") + "\t"}),
      FileFault::Record, 4);
}

TEST(CheckCommunication, RefusesAWrongChecksumOrTrailer) {
  const std::vector<std::string> summed{"<Azienda=7>", "<Data=15/03/2024>", recordLine("A1")};
  expectRefused(fileOf("<VariazioniBusQz>1", summed, 1), FileFault::Checksum, 5);
  expectRefused(fileOf("<VariazioniBusQz>1", summed, -1), FileFault::Checksum, 5);
  std::string file = fileOf("<VariazioniBusQz>1", summed);
  file.replace(file.find("</VariazioniBusQz>"), 18, "</VariazioniBusQZ>");
  expectRefused(file, FileFault::Trailer, 5);
  expectRefused(joinLines({"<VariazioniBusQz>1", summed[0], summed[1], summed[2]}),
                FileFault::Trailer, 5);
}

TEST(CheckCommunication, RefusesBytesThatAreNoText) {
  std::string undefinedByte = recordLine("A1");
  undefinedByte.replace(undefinedByte.find("Prop"), 4, "Pr\x81p");
  expectRefused(fileOf("<VariazioniBusQz>1", {"<Azienda=7>", "<Data=15/03/2024>", undefinedByte}),
                FileFault::Encoding, 4);
  std::string nul = recordLine("A1");
  nul[nul.find("Prop")] = '\0';
  expectRefused(fileOf("<VariazioniBusQz>1", {"<Azienda=7>", "<Data=15/03/2024>", nul}),
                FileFault::Encoding, 4);
}

TEST(CheckCommunication, RefusesControlCharactersInAField) {
  for (const char control : {'\x01', '\x1B', '\x7F', '\r'}) {
    std::string record = recordLine("A1");
    record.insert(record.find("Prop") + 2, 1, control);
    expectRefused(fileOf("<VariazioniBusQz>1", {"<Azienda=7>", "<Data=15/03/2024>", record}),
                  FileFault::Control, 4);
  }
}

TEST(CheckCommunication, RefusesALineLongerThanTheReaderHolds) {
  const std::string company = "<Azienda=7" + std::string(MaxLineLength, ' ') + ">";
  expectRefused(fileOf("<VariazioniBusQz>0", {company, "<Data=15/03/2024>"}),
                FileFault::LineTooLong, 2);
  // The longest line it holds, its CR counted: one byte less fits.
  const std::string longest = "<Azienda=7" + std::string(MaxLineLength - 12, ' ') + ">";
  const std::string file = fileOf("<VariazioniBusQz>0", {longest, "<Data=15/03/2024>"});
  EXPECT_TRUE(check(file).communication);
  EXPECT_EQ(check(std::string(file).insert(file.find('>', 20), " ")).fault, FileFault::LineTooLong);
}

}  // namespace
}  // namespace veltra::comms
