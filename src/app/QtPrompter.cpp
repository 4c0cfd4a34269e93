#include "app/QtPrompter.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include "app/BusyIndicator.h"
#include "app/FileDialog.h"
#include "app/RecentFolders.h"
#include "app/ServerDialog.h"

namespace veltra::app {

QMessageBox::StandardButton ModalDialogRunner::runBox(QMessageBox& box) {
  box.exec();
  return box.standardButton(box.clickedButton());
}

std::optional<QString> ModalDialogRunner::runFileDialog(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

int ModalDialogRunner::runDialog(QDialog& dialog) {
  return dialog.exec();
}

QtPrompter::QtPrompter(QWidget& owner, BusyIndicator& indicator, DialogRunner* runner,
                       RecentFolders* folders)
    : owner_(owner), indicator_(indicator), runner_(runner ? *runner : modal_), folders_(folders) {}

namespace {

QMessageBox::Icon qtIcon(ui::Icon icon) {
  switch (icon) {
    case ui::Icon::Stop:
      return QMessageBox::Critical;
    case ui::Icon::Exclamation:
      return QMessageBox::Warning;
    case ui::Icon::Question:
      return QMessageBox::Question;
    case ui::Icon::Information:
      return QMessageBox::Information;
    case ui::Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QString qtText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt breaks a box's lines at about 500 pixels; the program's texts carry
// their own line breaks, so the text is given the width of its longest line.
void keepOwnLineBreaks(QMessageBox& box) {
  auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  if (label == nullptr) return;
  label->setMinimumWidth(label->fontMetrics().size(0, label->text()).width() + 1);
}

}  // namespace

ui::Answer QtPrompter::showMessage(std::string_view text, ui::Icon icon, ui::Buttons buttons,
                                   std::string_view caption) {
  const bool question = buttons == ui::Buttons::OkCancel;
  QMessageBox box(
      qtIcon(icon), caption.empty() ? QString::fromLatin1(DefaultCaption) : qtText(caption),
      qtText(text), question ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, &owner_);
  // The texts are the program's own, laid out with line feeds and spaces.
  box.setTextFormat(Qt::PlainText);
  if (question) {
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Annulla"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
  }
  keepOwnLineBreaks(box);
  const QMessageBox::StandardButton pressed = runner_.runBox(box);
  return !question || pressed == QMessageBox::Ok ? ui::Answer::Ok : ui::Answer::Cancel;
}

std::optional<std::string> QtPrompter::openFile(const ui::FileChoice& choice) {
  return chooseFile(choice, false);
}

std::optional<std::string> QtPrompter::saveFile(const ui::FileChoice& choice) {
  return chooseFile(choice, true);
}

std::optional<std::string> QtPrompter::chooseFile(const ui::FileChoice& choice, bool save) {
  FileDialog dialog(&owner_, choice, save, folders_);
  const std::optional<QString> chosen = runner_.runFileDialog(dialog);
  if (dialog.serverChosen()) return chooseServer();
  if (!chosen || chosen->isEmpty()) return std::nullopt;
  dialog.rememberFolderOf(*chosen);
  return QFileInfo(*chosen).absoluteFilePath().toStdString();
}

namespace {

// The server dialog's fields, kept with the recent folders under its title.
QString serverKey(const char* field) {
  return QStringLiteral("Database su server|") + QLatin1String(field);
}

ServerDialog::Fields lastServer(const RecentFolders& folders) {
  return {folders.folder(serverKey("server")), folders.folder(serverKey("porta")).toInt(),
          folders.folder(serverKey("database")), folders.folder(serverKey("utente"))};
}

void rememberServer(RecentFolders& folders, const ServerDialog::Fields& fields) {
  folders.remember(serverKey("server"), fields.host);
  folders.remember(serverKey("porta"), QString::number(fields.port));
  folders.remember(serverKey("database"), fields.database);
  folders.remember(serverKey("utente"), fields.user);
}

}  // namespace

// The server, port, database and user chosen last are offered again.
std::optional<std::string> QtPrompter::chooseServer() {
  ServerDialog dialog(&owner_);
  if (folders_ != nullptr) dialog.setFields(lastServer(*folders_));
  if (runner_.runDialog(dialog) != QDialog::Accepted) return std::nullopt;
  if (folders_ != nullptr) rememberServer(*folders_, dialog.fields());
  return dialog.uri();
}

void QtPrompter::beginBusy(bool withIndicator) {
  indicator_.begin(withIndicator);
}

void QtPrompter::keepResponsive() {
  indicator_.keepResponsive();
}

}  // namespace veltra::app
