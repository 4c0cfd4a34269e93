#include "comms/Windows1252Lines.h"

namespace veltra::comms {

std::optional<std::string_view> Windows1252Lines::add(std::string_view line) {
  const std::size_t start = text_.size();
  if (!codec_.appendFromUtf8(line, text_)) return std::nullopt;
  const std::size_t length = text_.size() - start;
  text_ += "\r\n";
  return std::string_view(text_).substr(start, length);
}

}  // namespace veltra::comms
