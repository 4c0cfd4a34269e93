#include "comms/ExportFile.h"

#include <filesystem>
#include <system_error>

namespace veltra::comms {

std::string CannotCreateText(const std::string& path) {
  return "Impossibile creare\n\n" + path;
}

std::string CannotEncodeText(const std::string& path) {
  return CannotCreateText(path) +
         "\n\nI dati contengono caratteri che la codifica Windows-1252 non può rappresentare.";
}

ExportFile::ExportFile(std::string path, ui::Prompter& prompter, std::string_view caption)
    : path_(std::move(path)), prompter_(prompter), caption_(caption) {}

void ExportFile::report(const std::string& text) {
  prompter_.message(text, ui::Icon::Exclamation, ui::Buttons::Ok, caption_);
}

bool ExportFile::create() {
  std::error_code error;
  // A folder opens as a stream on some systems and takes no bytes.
  if (!std::filesystem::is_directory(path_, error))
    out_.open(path_, std::ios::binary | std::ios::trunc);
  if (!out_.is_open()) {
    report(CannotCreateText(path_));
    return false;
  }
  return true;
}

bool ExportFile::close() {
  out_.close();
  if (out_.fail()) {
    report("Impossibile scrivere\n\n" + path_);
    return false;
  }
  return true;
}

bool WriteExportFile(const std::string& path, const std::optional<std::string>& bytes,
                     ui::Prompter& prompter, std::string_view caption) {
  if (!bytes) {
    prompter.message(CannotEncodeText(path), ui::Icon::Exclamation, ui::Buttons::Ok, caption);
    return false;
  }
  ExportFile file(path, prompter, caption);
  if (!file.create()) return false;
  file.write(*bytes);
  return file.close();
}

}  // namespace veltra::comms
