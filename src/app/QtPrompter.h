#pragma once
// The Prompter of the desktop program: message boxes and file dialogs on the
// main window, and BeginBusy on its busy indicator.

#include <QWidget>
#include <memory>

#include "app/DialogRunner.h"
#include "ui/Prompter.h"

namespace veltra::app {

class BusyIndicator;
class RecentFolders;

class QtPrompter : public ui::Prompter {
 public:
  // owner: the window the dialogs belong to. runner: how they run; none
  // means modally, for the user. folders: where the file dialogs start; none
  // starts them in the working folder.
  QtPrompter(QWidget& owner, BusyIndicator& indicator, DialogRunner* runner = nullptr,
             RecentFolders* folders = nullptr);

  ui::Answer showMessage(std::string_view text, ui::Icon icon, ui::Buttons buttons,
                         std::string_view caption) override;
  std::optional<std::string> openFile(const ui::FileChoice& choice) override;
  std::optional<std::string> saveFile(const ui::FileChoice& choice) override;
  void beginBusy(bool withIndicator) override;
  void keepResponsive() override;
  // The program's own dialogs, run as the boxes are.
  int runDialog(QDialog& dialog) { return runner_.runDialog(dialog); }

  // The caption of boxes that name none.
  static constexpr const char* DefaultCaption = "Veltra";

 private:
  std::optional<std::string> chooseFile(const ui::FileChoice& choice, bool save);
  // The URI of a register on a server, from the server dialog.
  std::optional<std::string> chooseServer();

  QWidget& owner_;
  BusyIndicator& indicator_;
  ModalDialogRunner modal_;
  DialogRunner& runner_;
  RecentFolders* folders_;
};

}  // namespace veltra::app
