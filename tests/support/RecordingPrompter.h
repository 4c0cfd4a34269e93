#pragma once
// The Prompter the tests use: keeps every message as the user would have
// seen it and answers questions and file dialogs from a script.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/Prompter.h"

namespace veltra::testing {

struct RecordedMessage {
  std::string text;
  ui::Icon icon;
  ui::Buttons buttons;
  std::string caption;
};

class RecordingPrompter : public ui::Prompter {
 public:
  ui::Answer showMessage(std::string_view text, ui::Icon icon, ui::Buttons buttons,
                         std::string_view caption) override;
  std::optional<std::string> openFile(const ui::FileChoice& choice) override;
  std::optional<std::string> saveFile(const ui::FileChoice& choice) override;
  void beginBusy(bool withIndicator) override;

  std::vector<RecordedMessage> messages;
  std::vector<ui::FileChoice> fileChoices;
  std::vector<bool> busyCalls;
  // Answers to questions, in order; OK once the script runs out.
  std::deque<ui::Answer> answers;
  // Paths returned by file dialogs, in order; a cancel once the script runs out.
  std::deque<std::optional<std::string>> files;

  std::vector<std::string> texts() const;
  void clear();
};

}  // namespace veltra::testing
