#pragma once
// Runs the Qt Prompter's boxes and file dialogs without showing them: keeps
// what each one would have shown and answers from a script, so no test ever
// waits on a modal window.

#include <QFileDialog>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/DialogRunner.h"

namespace veltra::testing {

struct ShownBox {
  std::string text;
  QMessageBox::Icon icon;
  QMessageBox::StandardButtons buttons;
  std::string caption;
  QString cancelText;  // the Cancel button's text, when it has one
  QString ownerTitle;  // the caption of the window it stands over
};

struct ShownFileDialog {
  std::string title;
  QStringList nameFilters;
  QString defaultSuffix;
  QFileDialog::AcceptMode acceptMode;
  QFileDialog::FileMode fileMode;
  bool confirmOverwrite;
  QString proposedName;  // the name offered in the name field
  QString directory;     // the folder it opens in
  bool offersServer;     // it has the "Database su server..." button
};

class ScriptedDialogs : public app::DialogRunner {
 public:
  static inline const QString ServerButton = QStringLiteral("<server>");
  QMessageBox::StandardButton runBox(QMessageBox& box) override;
  std::optional<QString> runFileDialog(QFileDialog& dialog) override;
  int runDialog(QDialog& dialog) override;

  // Answers to boxes with a choice, in order; an unscripted question fails the test.
  std::deque<QMessageBox::StandardButton> answers;
  // Files chosen in the dialogs, in order; none is a cancel, as is an empty
  // script; ServerButton clicks the dialog's server button instead.
  std::deque<std::optional<QString>> files;
  // What the user does in the program's own dialogs, in order: the script
  // fills in the controls and clicks. An empty script cancels.
  std::deque<std::function<void(QDialog&)>> dialogScripts;

  std::vector<ShownBox> boxes;
  std::vector<ShownFileDialog> fileDialogs;

  std::vector<std::string> texts() const;
};

}  // namespace veltra::testing
