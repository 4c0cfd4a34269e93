#include "comms/Windows1252Lines.h"

namespace veltra::comms {

std::optional<std::string_view> Windows1252Lines::add(std::string_view line) {
  const auto bytes = codec_.fromUtf8(line);
  if (!bytes) return std::nullopt;
  const std::size_t start = text_.size();
  text_ += *bytes;
  text_ += "\r\n";
  return std::string_view(text_).substr(start, bytes->size());
}

}  // namespace veltra::comms
