#pragma once
// A text file the exports write for other programs to read: bytes as given
// (Windows-1252, CR LF already in place), and a clear report when the file
// cannot be created or does not receive every byte.

#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "ui/Prompter.h"

namespace veltra::comms {

// "Impossibile creare\n\n" and the file's name.
std::string CannotCreateText(const std::string& path);
// The same, with the reason: a text Windows-1252 cannot hold.
std::string CannotEncodeText(const std::string& path);

class ExportFile {
 public:
  // caption: the title of the boxes shown for this file.
  ExportFile(std::string path, ui::Prompter& prompter, std::string_view caption = {});

  // Creates the file, or empties an existing one; false after the message.
  bool create();
  void write(std::string_view bytes) {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  // Closes it; false, after a message, when some byte did not reach the file.
  bool close();

  const std::string& path() const { return path_; }

 private:
  void report(const std::string& text);

  std::string path_;
  ui::Prompter& prompter_;
  std::string caption_;
  std::ofstream out_;
};

// Writes an export's whole text into path; none stands for a text that
// Windows-1252 cannot hold, refused before the file is touched. False after
// the message.
bool WriteExportFile(const std::string& path, const std::optional<std::string>& bytes,
                     ui::Prompter& prompter, std::string_view caption = {});

}  // namespace veltra::comms
