#pragma once
// The text files the exports write for other programs to read: bytes as
// given (Windows-1252, CR LF already in place). Each file is written whole
// into a temporary file beside its target and renamed over it only once
// complete, so a failed write leaves the user's files as they were and no
// part of a file behind. Of several files renamed together, those renamed
// before a rename that fails stay replaced. The temporary files an earlier
// export of the same file left when it was killed are removed by the next.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Prompter.h"

namespace veltra::comms {

// The message for a file the system refuses: what could not be done
// ("Impossibile aprire", "Impossibile creare", "Impossibile scrivere"), a
// blank line, the file's name and, when the system tells one the user can
// act on, the reason after another blank line.
std::string FileRefusedText(std::string_view failure, const std::string& path);
// "Impossibile creare\n\n" and the file's name.
std::string CannotCreateText(const std::string& path);
// The same, with the reason: a text Windows-1252 cannot hold.
std::string CannotEncodeText(const std::string& path);

// One export's files, put in place together.
// Past a file-size limit a write then fails and the export says so, instead
// of the signal ending the program without a word; each front end calls this
// as it starts.
void LetWritesFailPastFileSizeLimit();

class ExportFiles {
 public:
  // caption: the title of the boxes shown for these files.
  explicit ExportFiles(ui::Prompter& prompter, std::string_view caption = {});
  // Removes the temporary files of an export that was not published.
  ~ExportFiles();
  ExportFiles(const ExportFiles&) = delete;
  ExportFiles& operator=(const ExportFiles&) = delete;

  // Writes the bytes into a temporary file beside path and flushes them to
  // disk; none stands for a text Windows-1252 cannot hold, refused before
  // any file is touched. False after the message.
  bool stage(const std::string& path, const std::optional<std::string>& bytes);
  // Shows a refusal of the file at path (its name first) and writes nothing.
  void refuse(const std::string& path, const std::string& reason);
  // Renames every staged file over its target. False after the message.
  bool publish();

 private:
  struct Staged {
    std::string target;
    std::string temporary;
  };
  void report(const std::string& text);
  void discard();

  ui::Prompter& prompter_;
  std::string caption_;
  std::vector<Staged> staged_;
};

}  // namespace veltra::comms
