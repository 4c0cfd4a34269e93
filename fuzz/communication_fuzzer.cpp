// Feeds arbitrary bytes to the communication file check and to the record
// line parser. Beyond not crashing, an accepted file must survive a round
// trip: written back out it is accepted again, and writing that gives the
// same bytes; a refused one must be described by its line.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>

#include "comms/CommunicationReader.h"
#include "comms/CompanyFileCheck.h"
#include "comms/RecordLine.h"
#include "comms/TaggedFileWriter.h"

using namespace veltra::comms;

namespace {

std::optional<Communication> checked(const std::string& bytes) {
  std::istringstream in(bytes);
  CommunicationCheck check = CheckCommunication(in);
  if (!check.communication && !CommunicationFaultText(check).starts_with("Riga ")) std::abort();
  return std::move(check.communication);
}

void checkRoundTrip(const Communication& accepted) {
  const auto written = CommunicationFileText(accepted);
  if (!written) std::abort();  // whatever was read as Windows-1252 can be written back
  const auto reread = checked(*written);
  if (!reread || CommunicationFileText(*reread) != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (const auto communication = checked(bytes)) checkRoundTrip(*communication);

  Communication lines(1, "01/01/2000");
  if (ParseVariationLine(lines, bytes) && lines.entryCount() != 1) std::abort();
  return 0;
}
