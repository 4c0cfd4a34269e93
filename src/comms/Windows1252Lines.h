#pragma once
// The text of a file for other programs: UTF-8 lines converted to
// Windows-1252, each ended by CR LF. Every export builds its whole text
// first, so a character the code page lacks stops it before any file is
// touched.

#include <optional>
#include <string>
#include <string_view>

#include "comms/Windows1252.h"

namespace veltra::comms {

class Windows1252Lines {
 public:
  // Appends the line and its terminator; returns the line's bytes as added
  // (for a checksum), or none, adding nothing, when a character has no
  // Windows-1252 form.
  std::optional<std::string_view> add(std::string_view line);
  // A line already in Windows-1252, with its terminator.
  void addBytes(std::string_view bytes) { text_.append(bytes).append("\r\n"); }
  // Room for that many more bytes, terminators included.
  void reserve(std::size_t more) { text_.reserve(text_.size() + more); }

  std::string take() { return std::move(text_); }

 private:
  Windows1252Codec codec_;
  std::string text_;
};

}  // namespace veltra::comms
