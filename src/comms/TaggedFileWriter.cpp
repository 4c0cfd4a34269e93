#include "comms/TaggedFileWriter.h"

#include "comms/LineChecksum.h"
#include "comms/RecordLine.h"
#include "comms/Windows1252.h"

namespace veltra::comms {

namespace {

class FileText {
 public:
  // Appends the line converted to Windows-1252 and its terminator; summed
  // lines add their converted bytes to the checksum.
  bool add(std::string_view line, bool summed) {
    auto bytes = codec_.fromUtf8(line);
    if (!bytes) return false;
    if (summed) checksum_.add(*bytes);
    text_ += *bytes;
    text_ += "\r\n";
    return true;
  }

  std::int32_t checksum() const { return checksum_.total(); }
  std::string take() { return std::move(text_); }

 private:
  Windows1252Codec codec_;
  RunningChecksum checksum_;
  std::string text_;
};

}  // namespace

std::optional<std::string> TaggedFileText(std::string_view tag, const Communication& communication,
                                          RecordLineFormat format) {
  const std::string tagText(tag);
  FileText file;
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
