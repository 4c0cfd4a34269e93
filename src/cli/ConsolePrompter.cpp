#include "cli/ConsolePrompter.h"

#include <ostream>
#include <utility>

namespace veltra::cli {

ConsolePrompter::ConsolePrompter(std::ostream& out, std::ostream& err, bool answerYes)
    : out_(out), err_(err), answerYes_(answerYes) {}

ui::Answer ConsolePrompter::message(std::string_view text, ui::Icon icon, ui::Buttons buttons,
                                    std::string_view /*caption*/) {
  const bool isError = icon == ui::Icon::Stop || icon == ui::Icon::Exclamation;
  std::ostream& stream = isError ? err_ : out_;
  stream << text << '\n';
  stream.flush();
  if (buttons == ui::Buttons::Ok) return ui::Answer::Ok;
  if (answerYes_) return ui::Answer::Ok;
  questionDeclined_ = true;
  return ui::Answer::Cancel;
}

std::optional<std::string> ConsolePrompter::openFile(const ui::FileChoice& /*choice*/) {
  return std::exchange(nextFile_, std::nullopt);
}

std::optional<std::string> ConsolePrompter::saveFile(const ui::FileChoice& /*choice*/) {
  return std::exchange(nextFile_, std::nullopt);
}

void ConsolePrompter::beginBusy(bool /*withIndicator*/) {}

}  // namespace veltra::cli
