#pragma once
// The Prompter of veltra-cli: each box becomes its text and one line feed, on
// standard error for stop and exclamation boxes, on standard output otherwise.
// A question is answered OK only when the user said --yes.

#include <deque>
#include <iosfwd>

#include "ui/Prompter.h"

namespace veltra::cli {

class ConsolePrompter : public ui::Prompter {
 public:
  ConsolePrompter(std::ostream& out, std::ostream& err, bool answerYes);

  ui::Answer showMessage(std::string_view text, ui::Icon icon, ui::Buttons buttons,
                         std::string_view caption) override;
  // There is no dialog on the command line: files come as arguments.
  std::optional<std::string> openFile(const ui::FileChoice& choice) override;
  std::optional<std::string> saveFile(const ui::FileChoice& choice) override;
  void beginBusy(bool withIndicator) override;

  // The path the next file dialog answers with (the command's argument); none
  // answers with a cancel. Replaces any path still waiting.
  void setNextFile(std::optional<std::string> path);
  // A path for the dialog after those already waiting (duplicate asks for two).
  void queueNextFile(std::string path) { nextFiles_.push_back(std::move(path)); }
  // A stop or exclamation box was shown: what the command wrote may lack
  // what that failure kept from it.
  bool errorShown() const { return errorShown_; }

 private:
  std::optional<std::string> nextFile();

  std::ostream& out_;
  std::ostream& err_;
  bool answerYes_;
  bool errorShown_ = false;
  std::deque<std::string> nextFiles_;
};

}  // namespace veltra::cli
