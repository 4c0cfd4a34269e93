#include "comms/CommunicationReader.h"

#include <algorithm>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

#include "comms/ByteBlocks.h"
#include "comms/LineChecksum.h"
#include "comms/NumberText.h"
#include "comms/RecordLine.h"
#include "comms/Windows1252.h"
#include "db/CalendarDate.h"
#include "db/PlainText.h"

namespace veltra::comms {

namespace {

constexpr std::string_view HeaderTag = "<VariazioniBusQz>";
constexpr std::string_view TrailerTag = "</VariazioniBusQz>";
constexpr std::string_view CompanyTag = "<Azienda=";
constexpr std::string_view DateTag = "<Data=";
constexpr std::size_t ShortestCompanyLine = 11;
constexpr std::size_t DateLineLength = 17;
constexpr std::size_t DateLength = 10;
// Company codes are 16-bit whole numbers in the register; 0 stands for no company.
constexpr std::int32_t HighestCompanyCode = 32767;

// Digits alone, blanks around them: "7", "  12 "; not "XY", "-3" or "12a".
std::optional<std::int32_t> companyCode(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  text.remove_suffix(text.size() - std::min(text.find_last_not_of(' ') + 1, text.size()));
  if (text.empty() || !std::all_of(text.begin(), text.end(), db::IsDigit)) return std::nullopt;
  const auto code = ReadWholeNumber(text);
  if (!code || *code < 1 || *code > HighestCompanyCode) return std::nullopt;
  return code;
}

// "GG/MM/AAAA" naming a day of the calendar, from year 1 on.
bool isCalendarDate(std::string_view date) {
  if (date.size() != DateLength || date[2] != '/' || date[5] != '/') return false;
  const auto day = db::parseDayMonthYear(date);
  return day && day->year >= 1;
}

// What a line's bytes hold that the reader refuses or must convert, and their
// checksum, found in one pass without an early exit. Control characters would
// shift or split the fields wherever the values go next; the TAB separates
// the fields of a record line.
struct LineBytes {
  bool nul = false;
  bool control = false;
  bool ascii = true;
  std::int32_t sum = 0;  // LineChecksum of the bytes
};

LineBytes scanned(std::string_view line) {
  // Byte-wide flags combined without branches, over blocks of a known number
  // of bytes, so that the compiler tests a block in a few instructions.
  unsigned char nul = 0;
  unsigned char control = 0;
  unsigned char any = 0;
  std::uint32_t sum = 0;
  const auto take = [&](char c) {
    const auto byte = static_cast<unsigned char>(c);
    nul |= static_cast<unsigned char>(byte == 0);
    control |= static_cast<unsigned char>(((byte < 0x20) & (byte != '\t')) | (byte == 0x7F));
    any |= byte;
    sum += ChecksumTerm(c);
  };
  ForEachByteInBlocks(line, take);
  return LineBytes{nul != 0, control != 0, any < 0x80, static_cast<std::int32_t>(sum)};
}

// The file is read in blocks of this many bytes and split into lines here.
constexpr std::size_t BlockSize = 65536;

class Checker {
 public:
  explicit Checker(std::istream& in) : in_(in.rdbuf()) {}

  CommunicationCheck run() {
    CommunicationCheck check;
    std::optional<Communication> communication = readAll();
    if (communication) {
      check.communication = std::move(communication);
    } else {
      check.fault = fault_;
      check.faultLine = lineNumber_;
      check.faultField = faultField_;
      check.pastEnd = pastEnd_;
      check.recordCount = recordCount_;
      check.record = record_;
    }
    return check;
  }

 private:
  std::optional<Communication> readAll() {
    std::int32_t azienda = 0;
    std::string date;
    if (!readHeader(recordCount_) || !readCompany(azienda) || !readDate(date)) return std::nullopt;
    Communication communication(azienda, std::move(date));
    if (!readRecords(communication, recordCount_) || !readTrailer()) return std::nullopt;
    return communication;
  }

  bool readHeader(std::int32_t& count) {
    if (!nextLine()) return false;
    if (!line_.starts_with(HeaderTag) || !readNumberAfter(HeaderTag, count))
      return refuse(FileFault::Header);
    return true;
  }

  bool readCompany(std::int32_t& azienda) {
    if (!nextLine()) return false;
    if (line_.size() < ShortestCompanyLine || !line_.starts_with(CompanyTag) ||
        !line_.ends_with('>'))
      return refuse(FileFault::CompanyLine);
    const auto code =
        companyCode(line_.substr(CompanyTag.size(), line_.size() - CompanyTag.size() - 1));
    if (!code) return refuse(FileFault::CompanyLine);
    azienda = *code;
    checksum_.addSum(lineSum_);
    return true;
  }

  bool readDate(std::string& date) {
    if (!nextLine()) return false;
    if (line_.size() != DateLineLength || !line_.starts_with(DateTag) || line_.back() != '>' ||
        !isCalendarDate(line_.substr(DateTag.size(), DateLength)))
      return refuse(FileFault::DateLine);
    checksum_.addSum(lineSum_);
    // Digits and slashes only, the same in both code pages.
    date.assign(line_.substr(DateTag.size(), DateLength));
    return true;
  }

  bool readRecords(Communication& communication, std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
      if (!nextLine()) {
        faultField_ = faultyField();
        return false;
      }
      if (line_.starts_with(TrailerTag)) return refuse(FileFault::FewRecords);
      record_ = ParseVariationLine(communication, text_);
      if (!record_) {
        faultField_ = record_.column;
        return refuse(FileFault::Record);
      }
      checksum_.addSum(lineSum_);
    }
    return true;
  }

  bool readTrailer() {
    if (!nextLine()) return false;
    std::int32_t number = 0;
    if (!line_.starts_with(TrailerTag) || !readNumberAfter(TrailerTag, number))
      return refuse(FileFault::Trailer);
    return number == checksum_.total() || refuse(FileFault::Checksum);
  }

  bool readNumberAfter(std::string_view tag, std::int32_t& number) const {
    const auto value = ReadWholeNumber(line_.substr(tag.size()));
    if (value) number = *value;
    return value.has_value();
  }

  // Reads the next line into line_ and, converted, into text_. A line past
  // the end of the file reads as empty.
  bool nextLine() {
    ++lineNumber_;
    if (!readLine()) return refuse(FileFault::LineTooLong);
    if (line_.ends_with('\r')) line_.remove_suffix(1);
    const LineBytes scan = scanned(line_);
    lineSum_ = scan.sum;
    const FileFault fault = readText(line_, scan);
    return fault == FileFault::None || refuse(fault);
  }

  FileFault readText(std::string_view bytes) { return readText(bytes, scanned(bytes)); }

  // Points text_ at the bytes in UTF-8, converted into utf8_ where they need
  // it; the fault that refuses them, if any. scan is what the bytes hold.
  FileFault readText(std::string_view bytes, const LineBytes& scan) {
    // A NUL has no place in a text file and would cut the text short later on.
    if (scan.nul) return FileFault::Encoding;
    if (scan.control) return FileFault::Control;
    if (scan.ascii) {
      text_ = bytes;
      return FileFault::None;
    }
    utf8_.clear();
    if (!codec_.appendUtf8(bytes, utf8_)) return FileFault::Encoding;
    text_ = utf8_;
    return FileFault::None;
  }

  // The 1-based field of the record line in line_ whose bytes are refused;
  // 0 when the line is refused as a whole.
  std::size_t faultyField() {
    if (fault_ != FileFault::Encoding && fault_ != FileFault::Control) return 0;
    std::string_view rest = line_;
    for (std::size_t field = 1;; ++field) {
      const std::size_t tab = rest.find('\t');
      if (readText(rest.substr(0, tab)) != FileFault::None) return field;
      if (tab == std::string_view::npos) return 0;
      rest.remove_prefix(tab + 1);
    }
  }

  // Points line_ at the bytes up to the next LF, which is dropped, or up to
  // the end of the file; false once they are more than MaxLineLength. A
  // line that lies whole in the block is not copied.
  bool readLine() {
    const std::string_view rest = std::string_view(block_).substr(blockAt_);
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) return readSpilledLine();
    blockAt_ += end + 1;
    line_ = rest.substr(0, end);
    return line_.size() <= MaxLineLength;
  }

  // The same for a line that goes on past the block, gathered in spill_.
  bool readSpilledLine() {
    spill_.assign(block_, blockAt_);
    bool more = true;
    while (spill_.size() <= MaxLineLength && (more = readBlock())) {
      const std::size_t end = block_.find('\n');
      spill_.append(block_, 0, end);
      if (end != std::string::npos) {
        blockAt_ = end + 1;
        break;
      }
    }
    line_ = spill_;
    pastEnd_ = spill_.empty() && !more;
    return line_.size() <= MaxLineLength;
  }

  bool readBlock() {
    blockAt_ = 0;
    block_.resize(BlockSize);
    const std::streamsize read =
        in_ != nullptr ? in_->sgetn(block_.data(), static_cast<std::streamsize>(BlockSize)) : 0;
    block_.resize(static_cast<std::size_t>(read));
    return read > 0;
  }

  bool refuse(FileFault fault) {
    fault_ = fault;
    return false;
  }

  std::streambuf* in_;
  std::string block_;  // the last block read; lines are taken from blockAt_ on
  std::size_t blockAt_ = 0;
  Windows1252Codec codec_;
  RunningChecksum checksum_;
  std::int32_t lineSum_ = 0;  // LineChecksum of line_
  std::string_view line_;     // the bytes of the current line, in block_ or spill_
  std::string spill_;
  std::string_view text_;  // the current line in UTF-8: line_ itself, or utf8_
  std::string utf8_;
  std::size_t lineNumber_ = 0;
  FileFault fault_ = FileFault::None;
  std::size_t faultField_ = 0;
  bool pastEnd_ = false;
  std::int32_t recordCount_ = 0;
  VariationLineRead record_;
};

}  // namespace

CommunicationCheck CheckCommunication(std::istream& in) {
  return Checker(in).run();
}

}  // namespace veltra::comms
