#pragma once
// The one port through which the program talks to its user: message boxes,
// file choices and the busy indicator. The database layer reports its own
// failures through it, so it lives below every other layer.

#include <optional>
#include <string>
#include <string_view>

namespace veltra::ui {

enum class Icon { None, Stop, Exclamation, Question, Information };
enum class Buttons { Ok, OkCancel };
enum class Answer { Ok, Cancel };

struct FileChoice {
  std::string title;
  std::string filter;  // "Label|pattern|Label|pattern||", as the dialogs describe it
  std::string defaultExtension;
  std::string proposedName;
  bool mustExist = false;
  bool confirmOverwrite = false;
  // A register may also be chosen on a database server instead of a file.
  bool offersServer = false;
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  // A message box; without buttons and caption, a plain OK box.
  Answer message(std::string_view text, Icon icon, Buttons buttons = Buttons::Ok,
                 std::string_view caption = {}) {
    return showMessage(text, icon, buttons, caption);
  }
  virtual std::optional<std::string> openFile(const FileChoice& choice) = 0;
  virtual std::optional<std::string> saveFile(const FileChoice& choice) = 0;
  // BeginBusy: the wait cursor, with the elapsed-time indicator when asked.
  virtual void beginBusy(bool withIndicator) = 0;
  // Called by long operations between rows: the desktop repaints its busy
  // indicator there, as the work holds the thread that paints. Cheap when
  // there is nothing to paint; nothing to do elsewhere.
  virtual void keepResponsive() {}

 private:
  // What each front end shows; the defaults of message stay in one place.
  virtual Answer showMessage(std::string_view text, Icon icon, Buttons buttons,
                             std::string_view caption) = 0;
};

}  // namespace veltra::ui
