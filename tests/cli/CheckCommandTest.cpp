#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "comms/ImportCommunication.h"
#include "support/TempDir.h"

namespace veltra::cli {
namespace {

const std::string Sample = std::string(VELTRA_SOURCE_DIR) + "/examples/VariazioniBusQz_12_";

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class CheckCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The check opens no settings: this file must stay unwritten.
    setenv("VELTRA_SETTINGS", settings.c_str(), 1);
  }

  int check(const std::string& path) {
    out.str("");
    err.str("");
    return runCommandLine({"check", path}, out, err);
  }

  // The first sample with one field of one record line (1-based, as the
  // messages count them) replaced by the bytes given.
  int checkWithField(int line, int field, const std::string& bytes) {
    std::string text = readBytes(Sample + "20240315.txt");
    std::size_t start = 0;
    for (int i = 1; i < line; ++i) start = text.find('\n', start) + 1;
    for (int i = 1; i < field; ++i) start = text.find('\t', start) + 1;
    const std::size_t end = text.find_first_of("\t\r", start);
    return checkBytes(text.replace(start, end - start, bytes));
  }

  int checkBytes(const std::string& bytes) {
    const std::string path = dir.file("VariazioniBusQz.txt");
    std::ofstream(path, std::ios::binary) << bytes;
    return check(path);
  }

  // The import's refusal followed by where and why.
  void expectRefusedAt(int status, const std::string& where) {
    EXPECT_EQ(status, ExitFailed);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), std::string(comms::CorruptFileMessage) + "\n\n" + where + "\n");
  }

  testing::TempDir dir;
  std::string settings = dir.file("veltra.ini");
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(CheckCommandTest, AcceptsTheSampleCommunicationsWithoutDatabaseOrSettings) {
  EXPECT_EQ(check(Sample + "20240315.txt"), ExitOk);
  EXPECT_EQ(out.str(), std::string(comms::ValidFileMessage) +
                           "\n\nAzienda 12, data 15/03/2024, 3 schede Bus.\n");
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(check(Sample + "20240930.txt"), ExitOk);
  EXPECT_NE(out.str().find("data 30/09/2024"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(settings));
}

// One field of the first sample replaced, and what the check says of it.
struct FieldFault {
  int line;
  int field;
  std::string bytes;
  std::string where;
};

TEST_F(CheckCommandTest, NamesTheLineAndFieldOfEachFault) {
  const FieldFault faults[] = {
      {5, 1, "new",
       "Riga 5, campo 1 (NEW/VAR): il tipo del record deve essere NEW o VAR, in maiuscolo."},
      {4, 15, "99999999999", "Riga 4, campo 15 (sedere): il numero è fuori misura."},
      {6, 8, std::string(16, 'X'),
       "Riga 6, campo 8 (targa): il testo è più lungo di 15 caratteri."},
      {4, 5, "Societ\x81",
       "Riga 4, campo 5 (prop): un carattere non appartiene alla codifica Windows-1252."},
      {4, 10, "IVECO\x0B",
       "Riga 4, campo 10 (tipo): un carattere di controllo non può stare in una riga del file."},
      {5, 28, "01/01/2030\tX", "Riga 5: il record ha 29 campi invece dei 28 separati da TAB."},
      {5, 28, "\tX\t\x7F",
       "Riga 5, campo 30: un carattere di controllo non può stare in una riga del file."},
      {2, 1, "<Azienda=0>",
       "Riga 2: la riga dell'azienda deve essere \"<Azienda=\", il codice dell'azienda (da 1 a "
       "32767) e \">\"."},
      {3, 1, "<Data=31/02/2024>",
       "Riga 3: la riga della data deve essere \"<Data=\", una data GG/MM/AAAA e \">\", senza "
       "altri caratteri."},
      {7, 1, "</VariazioniBusQz>40099",
       "Riga 7: la somma di controllo non corrisponde al contenuto del file."},
      {1, 1, "<VariazioniBusQz>2",
       "Riga 6: l'intestazione annuncia 2 record: dopo di essi deve venire la riga di chiusura "
       "\"</VariazioniBusQz>\" con la somma di controllo."},
      {1, 1, "<VariazioniBusQz>5",
       "Riga 7: la riga di chiusura arriva dopo 3 record, ma l'intestazione ne annuncia 5."},
  };
  for (const FieldFault& fault : faults) {
    SCOPED_TRACE(fault.where);
    expectRefusedAt(checkWithField(fault.line, fault.field, fault.bytes), fault.where);
  }
}

TEST_F(CheckCommandTest, NamesTheLineWhereAFileEndsEarly) {
  const std::string sample = readBytes(Sample + "20240315.txt");
  expectRefusedAt(checkBytes(sample.substr(0, sample.find("</"))),
                  "Riga 7: il file finisce prima della riga di chiusura \"</VariazioniBusQz>\".");
  expectRefusedAt(checkBytes("<VariazioniBusQz>1\r\n<Azienda=12>\r\n<Data=15/03/2024>\r\n"),
                  "Riga 4: il file finisce prima del record 1: l'intestazione ne annuncia 1.");
}

TEST_F(CheckCommandTest, RefusesWhatIsNoCommunicationAsTheImportDoes) {
  const std::string missing = dir.file("manca.txt");
  EXPECT_EQ(check(missing), ExitFailed);
  EXPECT_EQ(err.str(), "Impossibile aprire\n\n" + missing + "\n");
  EXPECT_EQ(check(dir.path().string()), ExitFailed);
  EXPECT_EQ(err.str(), "Impossibile aprire\n\n" + dir.path().string() + "\n");
#ifndef _WIN32  // Windows has no named pipes among its files
  const std::string fifo = dir.file("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(check(fifo), ExitFailed);
  EXPECT_EQ(err.str(), "Impossibile aprire\n\n" + fifo + "\n");
#endif

  expectRefusedAt(checkBytes(""), "Riga 1: il file è vuoto.");
  expectRefusedAt(checkBytes("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n"),
                  "Riga 1: la prima riga deve essere \"<VariazioniBusQz>\" seguito dal numero "
                  "dei record.");
}

TEST_F(CheckCommandTest, WantsExactlyOneFile) {
  out.str("");
  EXPECT_EQ(runCommandLine({"check"}, out, err), ExitUsage);
  EXPECT_EQ(runCommandLine({"check", "a.txt", "b.txt"}, out, err), ExitUsage);
}

}  // namespace
}  // namespace veltra::cli
