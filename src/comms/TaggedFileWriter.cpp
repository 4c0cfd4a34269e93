#include "comms/TaggedFileWriter.h"

#include "comms/LineChecksum.h"
#include "comms/RecordLine.h"
#include "comms/Windows1252Lines.h"

namespace veltra::comms {

namespace {

// Record lines and the company and date lines count towards the checksum;
// the opening and closing tags do not.
class TaggedText {
 public:
  bool add(std::string_view line, bool summed) {
    const auto bytes = lines_.add(line);
    if (bytes && summed) checksum_.add(*bytes);
    return bytes.has_value();
  }

  std::int32_t checksum() const { return checksum_.total(); }
  std::string take() { return lines_.take(); }

 private:
  Windows1252Lines lines_;
  RunningChecksum checksum_;
};

}  // namespace

std::optional<std::string> TaggedFileText(std::string_view tag, const Communication& communication,
                                          RecordLineFormat format) {
  const std::string tagText(tag);
  TaggedText file;
  if (!file.add("<" + tagText + ">" + std::to_string(communication.entryCount()), false) ||
      !file.add("<Azienda=" + std::to_string(communication.azienda()) + ">", true) ||
      !file.add("<Data=" + communication.date() + ">", true))
    return std::nullopt;
  for (const VehicleEntry& entry : communication.entries())
    if (!file.add(format(communication.azienda(), entry), true)) return std::nullopt;
  if (!file.add("</" + tagText + ">" + std::to_string(file.checksum()), false)) return std::nullopt;
  return file.take();
}

std::optional<std::string> CommunicationFileText(const Communication& communication) {
  return TaggedFileText("VariazioniBusQz", communication, VariationRecordLine);
}

}  // namespace veltra::comms
