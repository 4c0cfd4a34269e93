#pragma once
// The structural check of a company communication file: the header with the
// record count, the company and date lines, exactly that many record lines
// and the trailer with the checksum. The file is accepted whole or refused at
// its first fault; nothing is read past the trailer.

#include <cstddef>
#include <iosfwd>
#include <optional>

#include "comms/Communication.h"
#include "comms/RecordLine.h"

namespace veltra::comms {

// Which test refused the file. The import shows one message whatever it is;
// the check of a file for a company says which and where.
enum class FileFault {
  None,
  Header,       // no "<VariazioniBusQz>" or an unreadable count
  CompanyLine,  // length, "<Azienda=", the final ">", or a code that is no company's
  DateLine,     // length, "<Data=", the ">" in position 17, or no calendar date
  Record,       // a record line that does not parse, or a missing one
  FewRecords,   // the trailer where a record line should be
  Trailer,      // no "</VariazioniBusQz>" or an unreadable number
  Checksum,     // the trailer's number differs from the running total
  Encoding,     // a byte that is no Windows-1252 character, or a NUL
  Control,      // a control character other than the TAB between fields
  LineTooLong,  // longer than any valid line can be
};

// The longest line the reader takes, in bytes; a valid record line, every
// field at its capacity, stays well below it.
inline constexpr std::size_t MaxLineLength = 16384;

struct CommunicationCheck {
  std::optional<Communication> communication;  // present when the file is accepted
  FileFault fault = FileFault::None;
  std::size_t faultLine = 0;  // 1-based; 0 when accepted
  // The 1-based field of the record line at fault; 0 when the fault is the
  // line's as a whole or the line is no record line.
  std::size_t faultField = 0;
  bool pastEnd = false;          // the file ended before the line at fault
  std::int32_t recordCount = 0;  // as the header declares it
  VariationLineRead record;      // for a Record fault: what the record line holds
};

// Reads the file's bytes from in (opened in binary mode). Lines end with
// LF or CR LF alike; the CR is no part of the line.
CommunicationCheck CheckCommunication(std::istream& in);

}  // namespace veltra::comms
