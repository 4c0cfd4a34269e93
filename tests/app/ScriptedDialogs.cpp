#include "ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "app/FileDialog.h"

namespace veltra::testing {

QMessageBox::StandardButton ScriptedDialogs::runBox(QMessageBox& box) {
  QAbstractButton* cancel = box.button(QMessageBox::Cancel);
  boxes.push_back({box.text().toStdString(), box.icon(), box.standardButtons(),
                   box.windowTitle().toStdString(), cancel ? cancel->text() : QString(),
                   box.parentWidget() ? box.parentWidget()->window()->windowTitle() : QString()});
  if (box.standardButtons() == QMessageBox::Ok) return QMessageBox::Ok;
  if (answers.empty()) {
    ADD_FAILURE() << "a question nobody scripted an answer for: " << box.text().toStdString();
    return QMessageBox::Cancel;
  }
  const QMessageBox::StandardButton answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<QString> ScriptedDialogs::runFileDialog(QFileDialog& dialog) {
  // The name field holds what selectFile offered; the widget dialog is
  // used here, as the offscreen platform has no native one.
  const auto* nameField = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  fileDialogs.push_back(
      {dialog.windowTitle().toStdString(), dialog.nameFilters(), dialog.defaultSuffix(),
       dialog.acceptMode(), dialog.fileMode(),
       !dialog.testOption(QFileDialog::DontConfirmOverwrite),
       nameField ? nameField->text() : QString(), dialog.directory().absolutePath(),
       dialog.findChild<QPushButton*>(QString::fromLatin1(app::FileDialog::ServerButtonName)) !=
           nullptr});
  if (files.empty()) return std::nullopt;
  if (files.front() == ServerButton) {
    files.pop_front();
    dialog.findChild<QPushButton*>(QString::fromLatin1(app::FileDialog::ServerButtonName))->click();
    return std::nullopt;
  }
  const bool cancelled = !files.front().has_value();
  const QString path = files.front().value_or(QString());
  files.pop_front();
  if (cancelled) return std::nullopt;
  return path;
}

int ScriptedDialogs::runDialog(QDialog& dialog) {
  if (dialogScripts.empty()) return QDialog::Rejected;
  const auto script = std::move(dialogScripts.front());
  dialogScripts.pop_front();
  dialog.setResult(QDialog::Rejected);
  script(dialog);
  return dialog.result();
}

std::vector<std::string> ScriptedDialogs::texts() const {
  std::vector<std::string> result;
  for (const auto& box : boxes) result.push_back(box.text);
  return result;
}

}  // namespace veltra::testing
