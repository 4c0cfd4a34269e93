#include "app/SituationDateDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/DialogButtons.h"
#include "comms/DateInput.h"

namespace veltra::app {

SituationDateDialog::SituationDateDialog(ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter), edit_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Esportazione Situazione Mezzi Aziendali"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QStringLiteral("Data generazione situazione"), this);
  label->setBuddy(edit_);
  layout->addWidget(label);
  edit_->setObjectName(QString::fromLatin1(DateEditName));
  edit_->setMaxLength(10);
  edit_->setText(QString::fromStdString(comms::TodayDateText()));
  layout->addWidget(edit_);
  const DialogButtons buttons = addDialogButtons(*this, *layout, true);
  connect(buttons.ok, &QPushButton::clicked, this, &SituationDateDialog::acceptDate);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  edit_->selectAll();
}

void SituationDateDialog::acceptDate() {
  const auto date = comms::AcceptInputDate(edit_->text().toStdString(), prompter_);
  if (!date) return;
  date_ = *date;
  accept();
}

}  // namespace veltra::app
