#pragma once
// How the Qt Prompter runs the boxes and file dialogs it has built: modally,
// for the user. The widget tests put a script in its place, which reads the
// built dialog and answers without waiting on anybody.

#include <QMessageBox>
#include <QString>
#include <optional>

class QDialog;
class QFileDialog;

namespace veltra::app {

class DialogRunner {
 public:
  virtual ~DialogRunner() = default;
  // The button that closed the box.
  virtual QMessageBox::StandardButton runBox(QMessageBox& box) = 0;
  // The chosen file, or none when the dialog was cancelled.
  virtual std::optional<QString> runFileDialog(QFileDialog& dialog) = 0;
  // The program's own dialogs: QDialog::Accepted or Rejected.
  virtual int runDialog(QDialog& dialog) = 0;
};

class ModalDialogRunner : public DialogRunner {
 public:
  QMessageBox::StandardButton runBox(QMessageBox& box) override;
  std::optional<QString> runFileDialog(QFileDialog& dialog) override;
  int runDialog(QDialog& dialog) override;
};

}  // namespace veltra::app
