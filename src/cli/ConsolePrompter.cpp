#include "cli/ConsolePrompter.h"

#include <ostream>
#include <utility>

namespace veltra::cli {

ConsolePrompter::ConsolePrompter(std::ostream& out, std::ostream& err, bool answerYes)
    : out_(out), err_(err), answerYes_(answerYes) {}

ui::Answer ConsolePrompter::showMessage(std::string_view text, ui::Icon icon, ui::Buttons buttons,
                                        std::string_view /*caption*/) {
  const bool isError = icon == ui::Icon::Stop || icon == ui::Icon::Exclamation;
  errorShown_ = errorShown_ || isError;
  std::ostream& stream = isError ? err_ : out_;
  stream << text << '\n';
  stream.flush();
  if (buttons == ui::Buttons::Ok) return ui::Answer::Ok;
  return answerYes_ ? ui::Answer::Ok : ui::Answer::Cancel;
}

void ConsolePrompter::setNextFile(std::optional<std::string> path) {
  nextFiles_.clear();
  if (path) nextFiles_.push_back(std::move(*path));
}

std::optional<std::string> ConsolePrompter::nextFile() {
  if (nextFiles_.empty()) return std::nullopt;
  std::string path = std::move(nextFiles_.front());
  nextFiles_.pop_front();
  return path;
}

std::optional<std::string> ConsolePrompter::openFile(const ui::FileChoice& /*choice*/) {
  return nextFile();
}

std::optional<std::string> ConsolePrompter::saveFile(const ui::FileChoice& /*choice*/) {
  return nextFile();
}

void ConsolePrompter::beginBusy(bool /*withIndicator*/) {}

}  // namespace veltra::cli
