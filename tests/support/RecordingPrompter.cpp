#include "support/RecordingPrompter.h"

namespace veltra::testing {

ui::Answer RecordingPrompter::showMessage(std::string_view text, ui::Icon icon, ui::Buttons buttons,
                                          std::string_view caption) {
  messages.push_back({std::string(text), icon, buttons, std::string(caption)});
  if (buttons == ui::Buttons::Ok || answers.empty()) return ui::Answer::Ok;
  ui::Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

static std::optional<std::string> nextFile(std::deque<std::optional<std::string>>& files) {
  if (files.empty()) return std::nullopt;
  auto path = files.front();
  files.pop_front();
  return path;
}

std::optional<std::string> RecordingPrompter::openFile(const ui::FileChoice& choice) {
  fileChoices.push_back(choice);
  return nextFile(files);
}

std::optional<std::string> RecordingPrompter::saveFile(const ui::FileChoice& choice) {
  fileChoices.push_back(choice);
  return nextFile(files);
}

void RecordingPrompter::beginBusy(bool withIndicator) {
  busyCalls.push_back(withIndicator);
}

std::vector<std::string> RecordingPrompter::texts() const {
  std::vector<std::string> result;
  for (const auto& m : messages) result.push_back(m.text);
  return result;
}

void RecordingPrompter::clear() {
  messages.clear();
  fileChoices.clear();
  busyCalls.clear();
}

}  // namespace veltra::testing
