#include "comms/ExportFile.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "db/platform/Files.h"

namespace veltra::comms {

namespace {

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

enum class WriteResult { Done, NotCreated, NotWritten };

// The name of the temporary files of target: mkstemp's six characters follow.
std::string temporaryPrefix(const std::filesystem::path& target) {
  return "." + platform::Utf8Name(target.filename()) + ".";
}

// Temporary files an earlier export of the same file left when it was killed
// before its rename.
void removeStaleTemporaries(const std::filesystem::path& target) {
  const std::string prefix = temporaryPrefix(target);
  std::error_code error;
  const std::filesystem::path folder =
      target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string name = platform::Utf8Name(it->path().filename());
    if (name.size() == prefix.size() + 6 && name.rfind(prefix, 0) == 0 &&
        it->is_regular_file(error))
      std::filesystem::remove(it->path(), error);
  }
}

// A new temporary file in the target's folder, holding the bytes on disk.
WriteResult writeTemporary(const std::string& target, std::string_view bytes,
                           std::string& temporary) {
  const std::filesystem::path path = platform::FilePath(target);
  std::error_code error;
  // A folder is no file to replace, and the rename would refuse it late.
  if (std::filesystem::is_directory(path, error)) return WriteResult::NotCreated;
  removeStaleTemporaries(path);
  std::string pattern =
      platform::Utf8Name(path.parent_path() / platform::FilePath(temporaryPrefix(path) + "XXXXXX"));
  const int fd = platform::CreateTemporaryFile(pattern);
  if (fd < 0) return WriteResult::NotCreated;
  temporary = pattern;
  const bool written =
      platform::GiveOrdinaryFileMode(fd) && writeAll(fd, bytes) && platform::SyncToDisk(fd);
  return ::close(fd) == 0 && written ? WriteResult::Done : WriteResult::NotWritten;
}

}  // namespace

std::string FileRefusedText(std::string_view failure, const std::string& path) {
  std::string text = std::string(failure) + "\n\n" + path;
  const std::string reason = platform::WhyFileRefused(path);
  return reason.empty() ? text : text + "\n\n" + reason;
}

std::string CannotCreateText(const std::string& path) {
  return FileRefusedText("Impossibile creare", path);
}

std::string CannotEncodeText(const std::string& path) {
  return CannotCreateText(path) +
         "\n\nI dati contengono caratteri che la codifica Windows-1252 non può rappresentare.";
}

ExportFiles::ExportFiles(ui::Prompter& prompter, std::string_view caption)
    : prompter_(prompter), caption_(caption) {}

ExportFiles::~ExportFiles() {
  discard();
}

void LetWritesFailPastFileSizeLimit() {
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
}

void ExportFiles::report(const std::string& text) {
  prompter_.message(text, ui::Icon::Exclamation, ui::Buttons::Ok, caption_);
}

void ExportFiles::discard() {
  std::error_code ignored;
  for (const Staged& file : staged_)
    std::filesystem::remove(platform::FilePath(file.temporary), ignored);
  staged_.clear();
}

void ExportFiles::refuse(const std::string& path, const std::string& reason) {
  report(CannotCreateText(path) + "\n\n" + reason);
  discard();
}

bool ExportFiles::stage(const std::string& path, const std::optional<std::string>& bytes) {
  if (!bytes) {
    report(CannotEncodeText(path));
    discard();
    return false;
  }
  std::string temporary;
  const WriteResult result = writeTemporary(path, *bytes, temporary);
  if (!temporary.empty()) staged_.push_back({path, temporary});
  if (result == WriteResult::Done) return true;
  report(result == WriteResult::NotCreated ? CannotCreateText(path)
                                           : FileRefusedText("Impossibile scrivere", path));
  discard();
  return false;
}

bool ExportFiles::publish() {
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    if (!platform::ReplaceFile(staged_[i].temporary, staged_[i].target)) {
      report(FileRefusedText("Impossibile scrivere", staged_[i].target));
      staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(i));
      discard();
      return false;
    }
  }
  staged_.clear();
  return true;
}

}  // namespace veltra::comms
